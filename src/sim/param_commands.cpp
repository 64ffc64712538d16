// Channel parameter commands: each writes the packet's bytes at the parameter's own image
// address, so the unit's memory and the program's image stay byte for byte the same.

#include <array>

#include "sim/command_handlers.h"

namespace velmark::sim_handlers {
namespace {

bool IsChannel(int c) {
  return c >= 0 && c < kChannelCount;
}
bool IsInput(int c) {
  return c >= 0 && c < kInputCount;
}
bool IsOutput(int c) {
  return c >= kInputCount && c < kChannelCount;
}

// Parameters image_addr .. image_addr + count - 1 := d[first] .. d[first + count - 1].
void Put(UnitMemory& m, int image_addr, const FrameData& d, int first, int count) {
  for (int i = 0; i < count; ++i) m.Param(image_addr + i) = d[first + i];
}

void PutBit(UnitMemory& m, int mask_addr, int channel, std::uint8_t flag) {
  m.Param(mask_addr) = WithMaskBit(m.Param(mask_addr), channel, flag != 0);
}

// A routing row: the mask in d3, the four cell levels in d4..d7. d0 names the row as 4 + row,
// d1 the column that changed (0..3).
Answer Route(SimUnit& unit, const FrameData& d, const std::array<int, 4>& rows) {
  if (IsOutput(d[0]) && d[1] < 4) Put(unit.Memory(), rows[d[0] - kInputCount], d, 3, kRouteBytes);
  return Echo(d);
}

// Compressor parameter selectors 1..3: where their bytes go and which data bytes carry them.
struct CompSelector {
  int offset;  // into the compressor block
  int first;   // first data byte
  int count;
};
constexpr std::array<CompSelector, 3> kCompSelectors = {{
    {0, 5, 3},  // threshold, ratio, knee
    {3, 6, 2},  // release, attack
    {5, 7, 1},  // make-up gain
}};

constexpr std::uint8_t kSwitchSelector = 0;
constexpr std::uint8_t kLimiterParams = 0xFF;

}  // namespace

Answer Gain(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) Put(unit.Memory(), LevelAddr[d[0]], d, 6, 2);
  return Echo(d);
}

// d0 = 0 is "Master G" (level slot 8), d0 = 4 "Master V" (slot 9).
Answer AuxGain(SimUnit& unit, const FrameData& d) {
  if (d[0] == 0 || d[0] == 4) Put(unit.Memory(), LevelAddr[kChannelCount + d[0] / 4], d, 6, 2);
  return Echo(d);
}

Answer Delay(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) Put(unit.Memory(), DelayAddr[d[0]], d, 5, 3);
  return Echo(d);
}

Answer Polarity(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) PutBit(unit.Memory(), PolarityMaskAddr, d[0], d[7]);
  return Echo(d);
}

Answer Mute(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) PutBit(unit.Memory(), MuteMaskAddr, d[0], d[7]);
  return Echo(d);
}

// d0 output channel, d1 filter (0 high-pass, 1 low-pass), d5..d7 frequency word and type.
Answer Crossover(SimUnit& unit, const FrameData& d) {
  if (IsOutput(d[0]) && d[1] < 2) {
    Put(unit.Memory(), XoverAddr[XoverIndex(d[0], d[1])], d, 5, kXoverBytes);
  }
  return Echo(d);
}

// d0 channel, d1 band number, d2 band switched off, d3..d7 the band's five bytes.
Answer EqBand(SimUnit& unit, const FrameData& d) {
  const int ch = d[0], band = d[1];
  if (!IsChannel(ch) || band > BandLast[ch]) return Echo(d);
  UnitMemory& m = unit.Memory();
  Put(m, EqBandAddr[BandOf(ch, band)], d, 3, kEqBandBytes);
  const int word_addr = EqMaskAddr[ch];
  int word = m.ParamWord(word_addr);
  word = d[2] != 0 ? (word | (1 << band)) : (word & ~(1 << band));
  m.Param(word_addr) = static_cast<std::uint8_t>((word >> 8) & 0xFF);
  m.Param(word_addr + 1) = static_cast<std::uint8_t>(word & 0xFF);
  return Echo(d);
}

Answer EqBypass(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) PutBit(unit.Memory(), EqBypassMaskAddr, d[0], d[7]);
  return Echo(d);
}

Answer Compressor(SimUnit& unit, const FrameData& d) {
  if (!IsChannel(d[0])) return Echo(d);
  if (d[1] == kSwitchSelector) {
    PutBit(unit.Memory(), CompBypassMaskAddr, d[0], d[7]);
  } else if (d[1] <= static_cast<int>(kCompSelectors.size())) {
    const CompSelector& sel = kCompSelectors[d[1] - 1];
    Put(unit.Memory(), CompAddr[d[0]] + sel.offset, d, sel.first, sel.count);
  }
  return Echo(d);
}

// Outputs only: LimAddr's entries for the inputs stand in for output 1's block.
Answer Limiter(SimUnit& unit, const FrameData& d) {
  if (!IsOutput(d[0])) return Echo(d);
  if (d[1] == kSwitchSelector) {
    PutBit(unit.Memory(), LimBypassMaskAddr, d[0], d[7]);
  } else if (d[1] == kLimiterParams) {
    Put(unit.Memory(), LimAddr[d[0]], d, 5, kLimBytes);
  }
  return Echo(d);
}

Answer NoiseGate(SimUnit& unit, const FrameData& d) {
  if (IsInput(d[0])) Put(unit.Memory(), GateAddr[d[0]], d, 4, kGateBytes);
  return Echo(d);
}

Answer InputRouting(SimUnit& unit, const FrameData& d) {
  return Route(unit, d, InRouteAddr);
}

Answer OutputRouting(SimUnit& unit, const FrameData& d) {
  return Route(unit, d, OutRouteAddr);
}

Answer ChannelName(SimUnit& unit, const FrameData& d) {
  if (IsChannel(d[0])) Put(unit.Memory(), NameAddr[d[0]], d, 2, kChannelNameLength);
  return Echo(d);
}

}  // namespace velmark::sim_handlers
