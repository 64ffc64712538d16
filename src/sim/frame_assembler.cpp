#include "sim/frame_assembler.h"

#include <algorithm>

#include "link/frames.h"

namespace velmark {

std::optional<Frame> FrameAssembler::Push(std::uint8_t byte) {
  if (fill_ == 0 && byte != kFrameStart) {
    ++skipped_;
    return std::nullopt;
  }
  buffer_[fill_++] = byte;
  if (fill_ < kFrameSize) return std::nullopt;
  if (buffer_[kFrameSize - 1] == kFrameEnd) {
    fill_ = 0;
    return buffer_;
  }
  Resync();
  return std::nullopt;
}

// Keeps the bytes from the next start byte after position 0; drops the rest.
void FrameAssembler::Resync() {
  const auto next = std::find(buffer_.begin() + 1, buffer_.end(), kFrameStart);
  const auto dropped = static_cast<std::size_t>(next - buffer_.begin());
  skipped_ += dropped;
  std::copy(next, buffer_.end(), buffer_.begin());
  fill_ = static_cast<int>(buffer_.size() - dropped);
}

}  // namespace velmark
