#include "link/block_reply.h"

#include "link/frames.h"

namespace velmark {

void BlockReply::Take(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

// Only the bytes every frame has are looked at: the address and command bytes of a reply are
// the unit's own business.
bool BlockReply::Framed() const {
  const std::size_t n = bytes_.size();
  if (n >= 1 && bytes_[0] != kFrameStart) return false;
  if (n >= 2 && bytes_[1] != kFrameFixed) return false;
  if (n >= kFrame && bytes_[kFrame - 1] != kFrameEnd) return false;
  return true;
}

BlockVerdict BlockReply::Verdict() const {
  const std::size_t n = bytes_.size();
  const std::size_t expected = Expected();
  if (n < expected) return BlockVerdict::NeedMore;
  return n == expected ? BlockVerdict::Complete : BlockVerdict::Failed;
}

std::span<const std::uint8_t> BlockReply::Block() const {
  if (Verdict() != BlockVerdict::Complete) return {};
  const std::size_t skip = Framed() ? kFrame : 0;
  return std::span<const std::uint8_t>(bytes_).subspan(skip, count_);
}

std::size_t BlockReply::Remaining() const {
  const std::size_t expected = Expected();
  return bytes_.size() < expected ? expected - bytes_.size() : 0;
}

}  // namespace velmark
