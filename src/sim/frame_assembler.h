#pragma once
// Cuts 13-byte requests out of the byte stream of a serial line. Bytes before a start byte
// (0xF0) are skipped; from a start byte on, exactly 13 bytes make a request. A pause in the
// stream never ends a frame: only the 13th byte does. When the 13 bytes do not end with the end
// byte (0xF7), the start was false or bytes were lost: the stream is searched again from the
// next start byte inside them, so the frame after a broken one is not lost as well.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/serial_port.h"

namespace velmark {

class FrameAssembler {
 public:
  // A complete request ending in 0xF7, or nothing yet.
  std::optional<Frame> Push(std::uint8_t byte);
  // Forgets a partial frame (the far end went away).
  void Reset() { fill_ = 0; }

  int Pending() const { return fill_; }
  // Bytes thrown away so far while looking for a start byte.
  std::size_t Skipped() const { return skipped_; }

 private:
  void Resync();

  Frame buffer_{};
  int fill_ = 0;
  std::size_t skipped_ = 0;
};

}  // namespace velmark
