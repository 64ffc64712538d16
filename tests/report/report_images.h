#pragma once
// Images the report tests dump: the factory configuration, one that sets every band type and
// a value of its own on every parameter, and one whose every code lies beyond its control.

#include <cstdint>
#include <string>

#include "model/defaults.h"
#include "model/image.h"

namespace velmark::testing {

inline ParamImage DefaultReportImage() {
  ParamImage img{};
  CopyDefaultImage(img);
  return img;
}

inline std::uint8_t B(int v) {
  return static_cast<std::uint8_t>(v);
}

// Band b of the 96 gets type b mod 17, so each type turns up on inputs and outputs alike.
inline ParamImage EveryTypeImage() {
  ParamImage img = DefaultReportImage();
  for (int b = 0; b < kBandCount; ++b) {
    const int a = EqBandAddr[b];
    img[a] = B(b % kEqTypeCount);
    WriteWord(img, a + 1, 20 + 197 * b);
    img[a + 3] = B((7 * b) % 101);
    img[a + 4] = B((13 * b) % 61);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    WriteWord(img, EqMaskAddr[c], 0x0105 << (c % 3));  // a few bands switched off
    WriteWord(img, LevelAddr[c], 300 - 37 * c);
    WriteWord(img, DelayAddr[c], 13 * c);
    img[DelayAddr[c] + 2] = B(11 * c + 3);
    for (int k = 0; k < kCompBytes; ++k) img[CompAddr[c] + k] = B(3 + 5 * k + c);
  }
  for (int i = 0; i < kInputCount; ++i) {
    for (int k = 0; k < kGateBytes; ++k) img[GateAddr[i] + k] = B(k == 0 ? i % 2 : 1 + k + i);
  }
  for (int k = 0; k < kXoverCount; ++k) {
    WriteWord(img, XoverAddr[k], 40 + 1500 * k);
    img[XoverAddr[k] + 2] = B((5 * k + 1) % 13);
  }
  for (int o = 0; o < 4; ++o) {
    for (int k = 0; k < kLimBytes; ++k) img[LimAddr[kInputCount + o] + k] = B(7 + 9 * k + o);
    img[InRouteAddr[o]] = B(0x0F >> o);
    img[OutRouteAddr[o]] = B(0x09 << (o % 2));
    for (int j = 0; j < 4; ++j) {
      img[InRouteLevelAddr[4 * o + j]] = B(30 - 4 * j - o);
      img[OutRouteLevelAddr[4 * o + j]] = B(3 * j + 2 * o);
    }
  }
  WriteWord(img, LevelAddr[8], 205);
  WriteWord(img, LevelAddr[9], 63);
  img[PolarityMaskAddr] = 0x33;
  img[MuteMaskAddr] = 0x0F;
  img[EqBypassMaskAddr] = 0x5A;
  img[CompBypassMaskAddr] = 0x0F;
  img[LimBypassMaskAddr] = 0xA0;
  // Six bytes each; 0xE9 is "é" in the names' ISO 8859-1, 0x01 a byte no font shows.
  const char* const names[] = {" Kick ", "Snare ", " Vox  ", "Caf\xE9\x01 ",
                               "Sub L ", "Sub R ", "Top L ", "Top R "};
  for (int c = 0; c < kChannelCount; ++c) {
    for (int k = 0; k < kChannelNameLength; ++k) img[NameAddr[c] + k] = B(names[c][k]);
  }
  const std::string program = "Show 12 Dec     ";
  for (int k = 0; k < kProgramNameLength; ++k) img[kProgramNameAddr + k] = B(program[k]);
  img[InputSourceAddr(0)] = 1;
  img[InputSourceAddr(1)] = 2;
  img[kDelayUnitAddr] = 1;
  img[NoiseTypeAddr(0)] = 1;
  img[NoiseLevelAddr(0)] = 17;
  img[NoiseLevelAddr(1)] = 33;
  return img;
}

// Every code one past (or far past) what its control can hold.
inline ParamImage DamagedImage() {
  ParamImage img = EveryTypeImage();
  for (int b = 0; b < kBandCount; ++b) {
    const int a = EqBandAddr[b];
    img[a] = B(17 + b);
    WriteWord(img, a + 1, b % 2 == 0 ? 5 : 30000);
    img[a + 3] = B(101 + b);
    img[a + 4] = B(61 + b);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    WriteWord(img, LevelAddr[c], 301 + c);
    WriteWord(img, DelayAddr[c], 400);
    img[DelayAddr[c] + 2] = 200;
    for (int k = 0; k < kCompBytes; ++k) img[CompAddr[c] + k] = 255;
  }
  for (int i = 0; i < kInputCount; ++i) {
    for (int k = 0; k < kGateBytes; ++k) img[GateAddr[i] + k] = 250;
  }
  for (int k = 0; k < kXoverCount; ++k) img[XoverAddr[k] + 2] = B(13 + k);
  for (int o = 0; o < 4; ++o) {
    for (int k = 0; k < kLimBytes; ++k) img[LimAddr[kInputCount + o] + k] = 255;
    for (int j = 0; j < 4; ++j) {
      img[InRouteLevelAddr[4 * o + j]] = 31;
      img[OutRouteLevelAddr[4 * o + j]] = 200;
    }
  }
  WriteWord(img, LevelAddr[8], 999);
  img[InputSourceAddr(0)] = 7;
  img[kDelayUnitAddr] = 9;
  img[NoiseTypeAddr(1)] = 5;
  img[NoiseLevelAddr(1)] = 60;
  return img;
}

}  // namespace velmark::testing
