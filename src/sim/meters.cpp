#include "sim/meters.h"

#include <algorithm>
#include <cmath>

namespace velmark {
namespace {

struct LevelPattern {
  double from_dbu;
  std::uint8_t bits;
};

// Highest first: the first threshold the level reaches gives its pattern.
constexpr std::array<LevelPattern, 5> kLevelPatterns = {
    {{15.0, 124}, {9.0, 120}, {3.0, 112}, {0.0, 96}, {-15.0, 64}}};

constexpr std::uint8_t kClipBit = 2, kActiveBit = 1;
constexpr int kNoiseSource = 2;
constexpr int kNoiseTopStep = 40;

double PowerSum(double a_dbu, double b_dbu) {
  if (a_dbu <= kSilentDbu) return b_dbu;
  if (b_dbu <= kSilentDbu) return a_dbu;
  return 10.0 * std::log10(std::pow(10.0, a_dbu / 10.0) + std::pow(10.0, b_dbu / 10.0));
}

double GainDb(const UnitMemory& m, int channel) {
  return m.ParamWord(LevelAddr[channel]) / 10.0 - LevelOffsetDb(channel);
}

bool Bit(const UnitMemory& m, int mask_addr, int channel) {
  return MaskBit(m.Param(mask_addr), channel) != 0;
}

// Threshold codes of the compressor and the limiter: code / 5 - 10 dBu.
double DynThresholdDbu(std::uint8_t code) {
  return code / 5.0 - 10.0;
}

void Compress(const UnitMemory& m, int ch, ChannelMeter& meter) {
  if (Bit(m, CompBypassMaskAddr, ch) || meter.level_dbu <= kSilentDbu) return;
  const int base = CompAddr[ch];
  const double threshold = DynThresholdDbu(m.Param(base));
  const double ratio = m.Param(base + 1) + 2.0;
  if (meter.level_dbu > threshold) {
    meter.active = true;
    meter.level_dbu = threshold + (meter.level_dbu - threshold) / ratio;
  }
  meter.level_dbu += m.Param(base + 5) / 10.0 - 12.0;  // make-up gain
}

void Limit(const UnitMemory& m, int ch, ChannelMeter& meter) {
  if (Bit(m, LimBypassMaskAddr, ch) || meter.level_dbu <= kSilentDbu) return;
  const double threshold = DynThresholdDbu(m.Param(LimAddr[ch]));
  if (meter.level_dbu > threshold) {
    meter.active = true;
    meter.level_dbu = threshold;
  }
}

// The gate opens at 5 × code - 80 dBu.
void Gate(const UnitMemory& m, int ch, ChannelMeter& meter) {
  const int base = GateAddr[ch];
  if (m.Param(base) != 0) return;  // bypassed
  if (meter.level_dbu < 5.0 * m.Param(base + 1) - 80.0) meter.level_dbu = kSilentDbu;
}

double SourceDbu(const UnitMemory& m, int input, const SourceLevels& inputs_dbu) {
  const int pair = input / 2;
  if (m.System(kSysInputSource + pair) != kNoiseSource) return inputs_dbu[input];
  const int step = std::min<int>(m.System(kSysNoiseLevel + 2 * pair), kNoiseTopStep);
  return step - kNoiseTopStep;
}

ChannelMeter InputChannel(const UnitMemory& m, int ch, const SourceLevels& inputs_dbu) {
  ChannelMeter meter{SourceDbu(m, ch, inputs_dbu) + GainDb(m, ch), false};
  Gate(m, ch, meter);
  Compress(m, ch, meter);
  if (Bit(m, MuteMaskAddr, ch)) meter.level_dbu = kSilentDbu;
  return meter;
}

// Sum of the four sources a routing row selects, each at its cell level (byte - 30 dB).
double RouteRow(const UnitMemory& m, int row_addr, const std::array<double, 4>& sources) {
  double sum = kSilentDbu;
  const std::uint8_t mask = m.Param(row_addr);
  for (int i = 0; i < 4; ++i) {
    if ((mask & (1 << i)) == 0 || sources[i] <= kSilentDbu) continue;
    sum = PowerSum(sum, sources[i] + (m.Param(row_addr + 1 + i) - 30.0));
  }
  return sum;
}

ChannelMeter OutputChannel(const UnitMemory& m, int ch, const std::array<double, 4>& inputs) {
  ChannelMeter meter{RouteRow(m, InRouteAddr[ch - kInputCount], inputs), false};
  if (meter.level_dbu > kSilentDbu) meter.level_dbu += GainDb(m, ch);
  Compress(m, ch, meter);
  Limit(m, ch, meter);
  if (Bit(m, MuteMaskAddr, ch)) meter.level_dbu = kSilentDbu;
  return meter;
}

}  // namespace

MeterReading ComputeMeters(const UnitMemory& m, const SourceLevels& inputs_dbu) {
  MeterReading reading{};
  std::array<double, 4> input_levels{};
  for (int c = 0; c < kInputCount; ++c) {
    reading[c] = InputChannel(m, c, inputs_dbu);
    input_levels[c] = reading[c].level_dbu;
  }
  std::array<double, 4> output_levels{};
  for (int o = 0; o < 4; ++o) {
    reading[kInputCount + o] = OutputChannel(m, kInputCount + o, input_levels);
    output_levels[o] = reading[kInputCount + o].level_dbu;
  }
  // Meters 4..7 show the physical outputs; the activity stays with the output channel.
  for (int p = 0; p < 4; ++p) {
    reading[kInputCount + p].level_dbu = RouteRow(m, OutRouteAddr[p], output_levels);
  }
  return reading;
}

std::uint8_t StatusByte(const ChannelMeter& meter) {
  std::uint8_t status = 0;
  for (const LevelPattern& pattern : kLevelPatterns) {
    if (meter.level_dbu >= pattern.from_dbu) {
      status = pattern.bits;
      break;
    }
  }
  if (meter.level_dbu > kClipDbu) status |= kClipBit;
  if (meter.active) status |= kActiveBit;
  return status;
}

MeterModel::MeterModel(std::uint64_t seed) : random_(seed) {}

void MeterModel::SetInputLevel(int input, double dbu) {
  if (input >= 0 && input < kInputCount) levels_[input] = dbu;
}

FrameData MeterModel::Poll(const UnitMemory& memory) {
  SourceLevels now = levels_;
  if (movement_) {
    for (double& level : now) level += random_.Between(-kMovementDb, kMovementDb);
  }
  const MeterReading reading = ComputeMeters(memory, now);
  FrameData status{};
  for (int c = 0; c < kChannelCount; ++c) status[c] = StatusByte(reading[c]);
  return status;
}

}  // namespace velmark
