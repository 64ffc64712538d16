#include "sim/channel_copy.h"

#include <array>

namespace velmark {
namespace {

// A run of parameter bytes that belongs to one channel.
struct CopyRange {
  int (*start)(int channel);
  int size;
};

constexpr int GateOf(int c) {
  return GateAddr[c];
}
constexpr int CompOf(int c) {
  return CompAddr[c];
}
constexpr int LimOf(int c) {
  return LimAddr[c];
}
constexpr int BandsOf(int c) {
  return EqBandAddr[BandStart[c]];
}
constexpr int BandMaskOf(int c) {
  return EqMaskAddr[c];
}
constexpr int DelayOf(int c) {
  return DelayAddr[c];
}
constexpr int LevelOf(int c) {
  return LevelAddr[c];
}
// The high-pass and the low-pass filter of an output lie next to each other.
constexpr int XoversOf(int c) {
  return XoverAddr[XoverIndex(c, 0)];
}
static_assert(XoverAddr[1] == XoverAddr[0] + kXoverBytes);

constexpr int kInputBandBytes = kEqBandBytes * (BandLast[0] + 1);
constexpr int kOutputBandBytes = kEqBandBytes * (BandLast[kInputCount] + 1);

constexpr std::array<CopyRange, 6> kInputRanges = {{
    {GateOf, kGateBytes},
    {CompOf, kCompBytes},
    {BandMaskOf, 2},
    {BandsOf, kInputBandBytes},
    {DelayOf, 3},
    {LevelOf, 2},
}};

constexpr std::array<CopyRange, 7> kOutputRanges = {{
    {LimOf, kLimBytes},
    {CompOf, kCompBytes},
    {BandMaskOf, 2},
    {BandsOf, kOutputBandBytes},
    {XoversOf, 2 * kXoverBytes},
    {DelayOf, 3},
    {LevelOf, 2},
}};

// On/off bits the copy carries, one bit per channel.
constexpr std::array<int, 4> kInputMasks = {CompBypassMaskAddr, EqBypassMaskAddr, PolarityMaskAddr,
                                            MuteMaskAddr};
constexpr std::array<int, 5> kOutputMasks = {LimBypassMaskAddr, CompBypassMaskAddr,
                                             EqBypassMaskAddr, PolarityMaskAddr, MuteMaskAddr};

template <std::size_t R, std::size_t M>
void CopyWith(UnitMemory& memory, int s, int t, const std::array<CopyRange, R>& ranges,
              const std::array<int, M>& masks) {
  for (const CopyRange& range : ranges) {
    const int from = range.start(s), to = range.start(t);
    for (int i = 0; i < range.size; ++i) memory.Param(to + i) = memory.Param(from + i);
  }
  for (int mask_addr : masks) {
    std::uint8_t& mask = memory.Param(mask_addr);
    mask = WithMaskBit(mask, t, MaskBit(mask, s) != 0);
  }
}

bool ValidChannel(int c) {
  return c >= 0 && c < kChannelCount;
}

}  // namespace

bool CopyChannel(UnitMemory& memory, int source, int target) {
  if (!ValidChannel(source) || !ValidChannel(target) || source == target ||
      IsInputChannel(source) != IsInputChannel(target)) {
    return false;
  }
  if (IsInputChannel(source)) {
    CopyWith(memory, source, target, kInputRanges, kInputMasks);
  } else {
    CopyWith(memory, source, target, kOutputRanges, kOutputMasks);
  }
  return true;
}

}  // namespace velmark
