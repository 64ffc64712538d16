#pragma once
// A text log of everything the simulator hears and says, one line per event with a wall-clock
// time stamp to the millisecond, bytes in hex:
//   14:03:27.118 -> F0 05 00 50 00 00 00 00 00 00 00 00 F7
//   14:03:27.147 <- F0 05 00 50 00 00 00 00 00 00 00 05 F7
//   14:03:27.160 <- block 16 bytes: 20 56 45 ...
//   14:03:28.002 -- dropped request (fault)

#include <cstdint>
#include <fstream>
#include <span>
#include <string>

namespace velmark {

class TrafficLog {
 public:
  TrafficLog() = default;  // a log that writes nothing
  // Appends to `path`; IsOpen tells whether that worked.
  explicit TrafficLog(const std::string& path);

  bool IsOpen() const { return file_.is_open(); }
  void Request(std::span<const std::uint8_t> frame);
  void Reply(std::span<const std::uint8_t> frame);
  void Block(std::span<const std::uint8_t> bytes);
  void Note(const std::string& text);

 private:
  void Line(const char* arrow, const std::string& text);

  std::ofstream file_;
};

std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace velmark
