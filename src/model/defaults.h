#pragma once
// The unit's factory configuration as an 800-byte parameter image (image addresses 0..799), and
// the fixed passwords. Built from the address tables so that it follows the image layout.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/image.h"

namespace velmark {

using DefaultParamImage = std::array<std::uint8_t, kParamBytes>;

namespace detail {

constexpr void PutWord(DefaultParamImage& img, int addr, int value) {
  img[addr] = static_cast<std::uint8_t>(value >> 8);
  img[addr + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

constexpr void PutText(DefaultParamImage& img, int addr, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) img[addr + i] = static_cast<std::uint8_t>(text[i]);
}

constexpr void PutBand(DefaultParamImage& img, int band, int type, int freq, int shape) {
  const int a = EqBandAddr[band];
  img[a] = static_cast<std::uint8_t>(type);
  PutWord(img, a + 1, freq);
  img[a + 3] = static_cast<std::uint8_t>(shape);
  img[a + 4] = 30;  // 0 dB
}

// Bell bands 1..11 of an input and 0..10 of an output sit at these frequencies.
inline constexpr std::array<int, 11> kDefaultBellFreqs = {20,   40,   80,   125,  250,  500,
                                                          1000, 2000, 4000, 8000, 16000};
inline constexpr int kBellShape = 31;   // EqQTable[31] = 2.4
inline constexpr int kShelfShape = 46;  // 0.1 + 0.05 × 46 = 2.4

inline constexpr std::array<std::uint8_t, kCompBytes> kDefaultComp = {150, 30, 0, 10, 2, 120};
inline constexpr std::array<std::uint8_t, kGateBytes> kDefaultGate = {1, 0, 2, 2};  // bypassed
inline constexpr std::array<std::uint8_t, kLimBytes> kDefaultLim = {150, 10, 2};

inline constexpr std::array<std::string_view, kChannelCount> kDefaultChannelNames = {
    "In A  ", "In B  ", "In C  ", "In D  ", "Out 1 ", "Out 2 ", "Out 3 ", "Out 4 "};

// Row `row` of a routing matrix is fed by source `row` only, at 0 dB.
constexpr void PutDiagonalRoute(DefaultParamImage& img, int row_addr, int row) {
  img[row_addr] = static_cast<std::uint8_t>(1 << row);
  for (int c = 0; c < 4; ++c) img[row_addr + 1 + c] = 30;
}

constexpr void PutChannel(DefaultParamImage& img, int ch) {
  PutWord(img, LevelAddr[ch], 300);  // 0 dB; delay stays 0/0
  for (int i = 0; i < kCompBytes; ++i) img[CompAddr[ch] + i] = kDefaultComp[i];
  if (IsInputChannel(ch)) {
    for (int i = 0; i < kGateBytes; ++i) img[GateAddr[ch] + i] = kDefaultGate[i];
    PutBand(img, BandOf(ch, 0), 6, 100, kShelfShape);  // "LoShQ"
    for (int i = 0; i < 11; ++i)
      PutBand(img, BandOf(ch, i + 1), 0, kDefaultBellFreqs[i], kBellShape);
    PutBand(img, BandOf(ch, 12), 3, 10000, kShelfShape);  // "HiShQ"
  } else {
    const int out = ch - kInputCount;
    PutDiagonalRoute(img, InRouteAddr[out], out);
    for (int i = 0; i < kLimBytes; ++i) img[LimAddr[ch] + i] = kDefaultLim[i];
    PutWord(img, XoverAddr[XoverIndex(ch, 0)], 20);  // both filters "  No cut-off" (type 0)
    PutWord(img, XoverAddr[XoverIndex(ch, 1)], 16000);
    for (int i = 0; i < 11; ++i) PutBand(img, BandOf(ch, i), 0, kDefaultBellFreqs[i], kBellShape);
  }
  PutText(img, NameAddr[ch], kDefaultChannelNames[ch]);  // band-bypass word stays 0
}

constexpr DefaultParamImage MakeDefaultImage() {
  DefaultParamImage img{};
  for (int ch = 0; ch < kChannelCount; ++ch) PutChannel(img, ch);
  for (int row = 0; row < 4; ++row) PutDiagonalRoute(img, OutRouteAddr[row], row);
  PutText(img, kProgramNameAddr, "Default         ");
  PutWord(img, LevelAddr[8], 180);  // "Master G" 0 dB
  PutWord(img, LevelAddr[9], 180);  // "Master V" 0 dB
  img[MuteMaskAddr] = 0xF0;         // outputs muted, inputs sounding
  img[CompBypassMaskAddr] = 0xFF;   // every compressor bypassed
  img[LimBypassMaskAddr] = 0xF0;    // every output limiter bypassed
  img[ProgramNumberAddr] = kNoProgram;
  return img;
}

}  // namespace detail

inline constexpr DefaultParamImage DefaultImage = detail::MakeDefaultImage();

// Writes DefaultImage to image addresses 0..799; byte 800, the system page and the host area
// keep their contents.
void CopyDefaultImage(ParamImage& img);

// Password given to demo units. Any six allowed characters would do; six zeros are easy to type.
inline constexpr std::string_view FactoryPassword = "000000";
// Password every unit accepts in place of its own.
inline constexpr std::string_view MasterPassword = "VELMRK";

// The six character codes (positions in PasswordCharSet) of a password text, as the record's
// PasswordCode holds them; a missing or disallowed character counts as a blank (code 0).
constexpr std::array<double, kPasswordLength> PasswordCodesOf(std::string_view password) {
  std::array<double, kPasswordLength> codes{};
  for (std::size_t i = 0; i < codes.size() && i < password.size(); ++i) {
    codes[i] = std::max(0, PasswordCharIndex(password[i]));
  }
  return codes;
}

inline constexpr auto FactoryPasswordCodes = PasswordCodesOf(FactoryPassword);

// True for six characters that all belong to PasswordCharSet.
constexpr bool IsValidPassword(std::string_view password) {
  if (password.size() != kPasswordLength) return false;
  for (char c : password) {
    if (PasswordCharIndex(c) < 0) return false;
  }
  return true;
}
static_assert(IsValidPassword(FactoryPassword) && IsValidPassword(MasterPassword));

}  // namespace velmark
