#include "commands/level_delay.h"

#include <algorithm>
#include <cstdint>

#include "model/number_text.h"

namespace velmark {
namespace {

bool IsChannel(int channel) {
  return channel >= 0 && channel < kChannelCount;
}

std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(value);
}

// Stores a 16-bit value as the unit reads it: SplitAddress, then its last two bytes.
void StoreWord(ParamImage& img, int addr, int value) {
  const auto bytes = SplitAddress(value);
  img[addr] = bytes[2];
  img[addr + 1] = bytes[3];
}

// Fine delay steps of 0.0104 ms in units of 0.1 µs.
constexpr int kFineStepTenthsUs = 104;
constexpr int kTenthsUsPerMs = 10000;
constexpr double kMetresPerMs = 0.34;

}  // namespace

int KnobTop(int value, int max) {
  if (max <= 0) return kKnobTrackTop;
  const double top = static_cast<double>(value) / max * kKnobTrackSpan + kKnobTrackTop;
  return static_cast<int>(RoundHalfEven(top));
}

// In whole tenths first: word / 10.0 - 30 leaves binary noise near 0 dB ("-0.100000000000001").
double LevelDb(int slot, int word) {
  return (word - 10 * LevelOffsetDb(slot)) / 10.0;
}

double DelayMs(int coarse, int fine) {
  const long long tenths_us = static_cast<long long>(coarse) * kTenthsUsPerMs +
                              static_cast<long long>(fine) * kFineStepTenthsUs;
  // Whole µs, truncated towards minus infinity as Int does.
  long long us = tenths_us / 10;
  if (tenths_us < 0 && tenths_us % 10 != 0) --us;
  return static_cast<double>(us) / 1000.0;
}

double DelayShown(int coarse, int fine, int delay_unit) {
  const double ms = DelayMs(coarse, fine);
  return delay_unit == 1 ? ms * kMetresPerMs : ms;
}

std::string DelayText(int coarse, int fine, int delay_unit, bool decimal_comma) {
  return NumberText(DelayShown(coarse, fine, delay_unit), decimal_comma);
}

std::string DelayFrameCaption(int delay_unit) {
  return std::string("Delay [") + std::string(DelayUnitSuffix[delay_unit == 1 ? 1 : 0]) + " ]";
}

void SendLevel(Core& core, int slot) {
  if (slot < 0 || slot >= kLevelSlots) return;
  EditControls& w = core.Win();
  const bool comma = core.st.DecimalIsComma;
  const int s = std::clamp(w.Slider1(slot).Value(), 0, kLevelWordMax);
  const int word = kLevelWordMax - s;

  const double shown = LevelDb(slot, word);
  ui::TextBox& text = w.GainText(slot);
  text.SetText(NumberText(shown, comma));
  // The record holds the decimal number shown (−21.3), not the nearby binary quotient.
  core.Rec().LevelGain[slot] = ParseNumber(text.Text(), comma).value_or(shown);
  w.GainSl(slot).SetTop(KnobTop(s, kLevelWordMax));

  ParamImage& img = core.Img();
  const int a = LevelAddr[slot];
  StoreWord(img, a, word);
  if (slot < kChannelCount) {
    core.Send(CmdGain, {Byte(slot), 0, 0, 0, 0, 0, img[a], img[a + 1]});
  } else {
    // "Master G" is d0 = 0, "Master V" d0 = 4.
    core.Send(CmdAuxGain, {Byte(4 * slot - 32), 0, 0, 0, 0, 0, img[a], img[a + 1]});
  }
}

void SendDelay(Core& core, int channel) {
  if (!IsChannel(channel)) return;
  EditControls& w = core.Win();
  const int coarse = w.UpDown2(channel).Value();
  const int fine = w.UpDown1(channel).Value();
  // The coarse word and the fine byte must fit; otherwise nothing changes and nothing is sent.
  if (coarse < 0 || coarse > 0xFFFF || fine < 0 || fine > 0xFF) return;

  DeviceSettings& rec = core.Rec();
  w.Text2(channel).SetText(DelayText(coarse, fine, rec.DelayUnit, core.st.DecimalIsComma));
  rec.DelayCoarse[channel] = coarse;
  rec.DelayFine[channel] = fine;

  ParamImage& img = core.Img();
  const int a = DelayAddr[channel];
  StoreWord(img, a, coarse);
  img[a + 2] = Byte(fine);
  core.Send(CmdDelay, {Byte(channel), 0, 0, 0, 0, img[a], img[a + 1], img[a + 2]});
}

void SendDelayUnit(Core& core, int index) {
  if (index != 0 && index != 1) return;
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  core.Rec().DelayUnit = static_cast<std::int16_t>(index);
  img[kDelayUnitAddr] = Byte(index);

  w.Option1(index).SetForeColor(kOrange);
  w.Option1(1 - index).SetForeColor(kLightGrey);
  // Only the display follows the unit; record, image and unit keep their delays.
  for (int n = 0; n < kChannelCount; ++n) {
    w.Text2(n).SetText(
        DelayText(w.UpDown2(n).Value(), w.UpDown1(n).Value(), index, core.st.DecimalIsComma));
    w.FrameDly(n).SetCaption(DelayFrameCaption(index));
  }
  core.Send(CmdSystemSetting, {1, 0, 0, 0, 0, 0, 0, img[kDelayUnitAddr]});
}

void SendPolarity(Core& core, int channel) {
  if (!IsChannel(channel)) return;
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  ui::CheckBox& box = w.Check2(channel);
  const bool inverted = box.Value() == 1;
  rec.Polarity[channel] = inverted ? 1 : 0;
  box.SetForeColor(inverted ? kOrange : kLightGrey);

  ParamImage& img = core.Img();
  img[PolarityMaskAddr] = PackMask(rec.Polarity);
  core.Send(CmdPolarity, {Byte(channel), 0, 0, 0, 0, 0, 0, Byte(rec.Polarity[channel])});
}

void SendMute(Core& core, int channel) {
  if (!IsChannel(channel)) return;
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  const bool muted = rec.Mute[channel] == 1;
  w.ImgMute(channel).SetPicture(muted ? w.ImgMuteON.Picture() : w.ImgMuteOFF.Picture());

  ParamImage& img = core.Img();
  img[MuteMaskAddr] = PackMask(rec.Mute);
  core.Send(CmdMute, {Byte(channel), 0, 0, 0, 0, 0, 0, Byte(rec.Mute[channel])});
}

}  // namespace velmark
