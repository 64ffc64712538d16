#pragma once
// Level meters of the simulated unit: a simple signal model that turns the current parameters
// into the eight status bytes of a status poll.
//
// Each input carries a level in dBu: the level set for it, or its pair's noise generator when
// the pair's source is "Noise Generator" (2); generator step s plays at s - 40 dBu. An input
// channel applies its gain, its noise gate (closed below the threshold), its compressor and its
// mute. An output channel sums the inputs its routing row selects (each at its cell level,
// powers added), then applies gain, compressor, limiter and mute; the physical outputs sum the
// output channels through the output routing matrix. Status byte c (reply byte 4 + c) shows
// input channel c for c = 0..3 and physical output c - 3 for c = 4..7, together with the
// dynamics of output channel c. Equaliser, delay, polarity and the two master levels do not
// change a level here.
//
// Status byte: level bits 0, 64, 96, 112, 120, 124 from -15, 0, +3, +9 and +15 dBu upwards
// (the meter's scale labels), bit 2 "clip" above +15 dBu, bit 1 "active" while a compressor or
// limiter that is not bypassed is above its threshold.

#include <array>
#include <cstdint>

#include "link/frames.h"
#include "sim/sim_random.h"
#include "sim/unit_memory.h"

namespace velmark {

inline constexpr double kSilentDbu = -200.0;
inline constexpr double kClipDbu = 15.0;

struct ChannelMeter {
  double level_dbu = kSilentDbu;
  bool active = false;  // a dynamics section is working on the signal
};

using SourceLevels = std::array<double, kInputCount>;
using MeterReading = std::array<ChannelMeter, kChannelCount>;

// What the eight meters show for the given analog input levels; pure.
MeterReading ComputeMeters(const UnitMemory& memory, const SourceLevels& inputs_dbu);

// The status byte of one meter.
std::uint8_t StatusByte(const ChannelMeter& meter);

// Input levels plus a little deterministic movement from poll to poll.
class MeterModel {
 public:
  explicit MeterModel(std::uint64_t seed = 1);

  // +4, -2, -10 and -20 dBu on inputs A..D unless set otherwise.
  static constexpr SourceLevels kDefaultLevels = {4.0, -2.0, -10.0, -20.0};
  // Largest movement of a level from poll to poll, in dB either way.
  static constexpr double kMovementDb = 2.0;

  void SetInputLevel(int input, double dbu);
  const SourceLevels& InputLevels() const { return levels_; }
  // Turns the movement off (levels stay exactly as set), for tests of the signal path.
  void SetMovement(bool on) { movement_ = on; }

  // Status bytes r4..r11 of one poll; each poll moves the levels a little.
  FrameData Poll(const UnitMemory& memory);

 private:
  SourceLevels levels_ = kDefaultLevels;
  SimRandom random_;
  bool movement_ = true;
};

}  // namespace velmark
