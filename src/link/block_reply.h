#pragma once
// Taking apart what a unit sends after a block-read request.
//
// Units answer a block read in one of two ways: their 13-byte reply frame followed by the
// requested bytes, or the requested bytes alone. The bytes are judged as they arrive: when they
// start like a frame (F0 05, and F7 at byte 12) they must be exactly that frame and then `count`
// bytes; otherwise exactly `count` bytes. Anything else (a stray byte in front, a byte missing,
// a byte too many) is a failed read, never a block shifted by some bytes. A bare block whose
// first 13 bytes happen to look like a frame cannot be told from a framed reply that came 13
// bytes short; both fail, which costs a read but never takes frame bytes for parameters.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velmark {

enum class BlockVerdict {
  NeedMore,  // nothing wrong yet; more bytes are expected
  Complete,  // exactly one of the two shapes; more bytes after this make it Failed
  Failed,    // more bytes than either shape allows, or a shape that cannot be completed
};

class BlockReply {
 public:
  explicit BlockReply(std::size_t count) : count_(count) { bytes_.reserve(count + 13); }

  void Take(std::span<const std::uint8_t> bytes);
  BlockVerdict Verdict() const;

  // Whether the bytes so far begin with a reply frame (or could still turn out to).
  bool Framed() const;
  // The block; only meaningful while Verdict() is Complete.
  std::span<const std::uint8_t> Block() const;
  std::size_t Received() const { return bytes_.size(); }
  // Bytes still to come for the shape seen so far (0 once complete or failed).
  std::size_t Remaining() const;

 private:
  std::size_t Expected() const { return Framed() ? count_ + kFrame : count_; }

  static constexpr std::size_t kFrame = 13;
  std::size_t count_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace velmark
