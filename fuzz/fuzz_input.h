#pragma once
// What every fuzz target shares: a check that stops the run where libFuzzer (or the replay
// driver) reports it as a crash, and a reader that takes the input apart into decisions and
// payload bytes without ever reading past its end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace velmark::fuzz {

[[noreturn]] inline void Violated(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant violated: %s\n", file, line, what);
  std::fflush(stderr);
  __builtin_trap();
}

#define FUZZ_CHECK(cond) \
  ((cond) ? static_cast<void>(0) : ::velmark::fuzz::Violated(#cond, __FILE__, __LINE__))

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::size_t Remaining() const { return bytes_.size() - pos_; }
  bool Empty() const { return Remaining() == 0; }
  // The next byte, 0 once the input is used up (so short inputs still make whole decisions).
  std::uint8_t Byte() { return Empty() ? 0 : bytes_[pos_++]; }
  // Up to n bytes; fewer at the end of the input.
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    const std::size_t take = std::min(n, Remaining());
    auto out = bytes_.subspan(pos_, take);
    pos_ += take;
    return out;
  }
  std::span<const std::uint8_t> Rest() { return Bytes(Remaining()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

inline std::string AsText(std::span<const std::uint8_t> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace velmark::fuzz
