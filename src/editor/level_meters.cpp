#include "editor/level_meters.h"

#include "link/frames.h"

namespace velmark {
namespace {

// Level bits of the status byte for steps 0..5.
constexpr std::array<std::uint8_t, 6> kLevelPatterns = {0, 64, 96, 112, 120, 124};
constexpr std::uint8_t kLevelBits = 0x7C;
constexpr std::uint8_t kClipBit = 0x02;
constexpr std::uint8_t kActiveBit = 0x01;

// Lamps 0..3 green from the bottom, 4 orange, 5 red (clip).
constexpr int kGreenLamps = 4;
constexpr int kOrangeLamp = 4;
constexpr int kClipLamp = 5;
constexpr int kMaxLevel = 6;

void SetLamp(EditControls& w, int channel, int lamp, ui::Colour colour) {
  ui::Shape& shape = w.Shape1(kLampsPerChannel * channel + lamp);
  if (shape.FillColor() != colour) shape.SetFillColor(colour);
}

}  // namespace

int MeterLevelOfStatus(std::uint8_t status) {
  const auto bits = static_cast<std::uint8_t>(status & kLevelBits);
  for (int step = 0; step < static_cast<int>(kLevelPatterns.size()); ++step) {
    if (kLevelPatterns[step] == bits) return step;
  }
  return -1;
}

void DecodeMeterStatus(LevelMeters& meters, EditControls& w, int channel, std::uint8_t status,
                       bool muted) {
  meters.MeterClip[channel] = (status & kClipBit) != 0;
  const int level = MeterLevelOfStatus(status);
  if (level >= 0) meters.MeterLevel[channel] = level;
  if (muted) meters.MeterLevel[channel] = 0;
  meters.MeterActive[channel] = (status & kActiveBit) != 0;
  SetLamp(w, channel, kActivityLamp, meters.MeterActive[channel] ? kLampYellow : kLampOff);
}

void UpdateMeterLadder(const LevelMeters& meters, EditControls& w, int channel) {
  const int level = meters.MeterLevel[channel];
  if (level < 0 || level > kMaxLevel) return;
  for (int k = 0; k < kGreenLamps; ++k) SetLamp(w, channel, k, level > k ? kLampGreen : kLampOff);
  SetLamp(w, channel, kOrangeLamp, level >= 5 ? kLampOrange : kLampOff);
  const bool clip = level == kMaxLevel || meters.MeterClip[channel];
  SetLamp(w, channel, kClipLamp, clip ? kLampRed : kLampOff);
  SetLamp(w, channel, kActivityLamp, meters.MeterActive[channel] ? kLampYellow : kLampOff);
}

void MeterTimerTick(Core& core, int unit, EditControls& w, LevelMeters& meters) {
  ProgramState& st = core.st;
  if (unit < 0 || unit >= kUnitCount || st.CurUnit != unit) return;
  const bool may_poll =
      st.LinkIdle && !st.NeedsConnect[unit] && st.DeviceTable[unit].WindowOpen && !st.UiBusy;
  if (may_poll) {
    if (core.link.TransmitPacket(unit, CmdStatusPoll, FrameData{})) return;
    const DeviceSettings& rec = st.DeviceRecords[unit];
    for (int c = 0; c < kChannelCount; ++c) {
      DecodeMeterStatus(meters, w, c, core.link.Reply(4 + c), rec.Mute[c] == 1);
    }
    for (int c = 0; c < kChannelCount; ++c) UpdateMeterLadder(meters, w, c);
    if (core.link.TransmitPacket(unit, CmdStatusDone, FrameData{})) return;
  }
  w.Timer1.SetInterval(kMeterPollMs);
}

}  // namespace velmark
