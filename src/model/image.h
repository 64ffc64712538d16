#pragma once
// Raw parameter image: the program's byte-exact copy of one unit's memory, and the addresses of
// every field in it. Packets carry bytes copied from here, so this is also the payload layout.
//
//   0..800     parameter memory: image address a = unit memory address a + 64 (byte 800 unused)
//   801..1569  system page: image address 801 + i = unit system memory address i
//   1570..1650 host-side data, never sent to the unit (written back with preset files)

#include <array>
#include <cstdint>

#include "model/tables.h"

namespace velmark {

inline constexpr int kImageSize = 1651;
inline constexpr int kParamAreaStart = 0, kParamAreaSize = 801;
inline constexpr int kSystemAreaStart = 801, kSystemAreaSize = 769;
inline constexpr int kHostAreaStart = 1570, kHostAreaSize = 81;
static_assert(kParamAreaSize + kSystemAreaSize + kHostAreaSize == kImageSize);

inline constexpr int kParamBytes = 800;       // image 0..799 mirror unit memory 64..863
inline constexpr int kUnitParamBase = 64;     // unit memory address of image address 0
inline constexpr int kChannelBlockSize = 88;  // every channel owns one 88-byte block

using ParamImage = std::array<std::uint8_t, kImageSize>;

constexpr int SystemAddr(int system_index) {
  return kSystemAreaStart + system_index;
}

// Field sizes inside a channel block.
inline constexpr int kGateBytes = 4;    // bypass flag, threshold, release, attack codes
inline constexpr int kCompBytes = 6;    // threshold, ratio, knee, release, attack, make-up
inline constexpr int kLimBytes = 3;     // threshold, release, attack
inline constexpr int kXoverBytes = 3;   // frequency word, slope/type index
inline constexpr int kEqBandBytes = 5;  // type, frequency word, shape code, gain code
inline constexpr int kRouteBytes = 5;   // mask byte, then one level byte per source
inline constexpr int kOutRouteRowSize = 16;

inline constexpr std::array<int, kChannelCount> ChannelBlockAddr = {0,   88,  176, 264,
                                                                    352, 440, 528, 616};

// ---------------------------------------------------------------------------------------------
// Address tables. Input block: level 0, delay 2, gate 5, compressor 9, bands 15, band-bypass
// word 80, name 82. Output block: routing 0, delay 5, level 8, compressor 10, limiter 16,
// high-pass 19, low-pass 22, bands 25, band-bypass word 80, name 82.

inline constexpr std::array<int, kLevelSlots> LevelAddr = {0,   88,  176, 264, 360,
                                                           448, 536, 624, 784, 786};
inline constexpr std::array<int, kChannelCount> DelayAddr = {2, 90, 178, 266, 357, 445, 533, 621};
inline constexpr std::array<int, kInputCount> GateAddr = {5, 93, 181, 269};
inline constexpr std::array<int, kChannelCount> CompAddr = {9, 97, 185, 273, 362, 450, 538, 626};
// Inputs have no limiter; their entries repeat output 1's address.
inline constexpr std::array<int, kChannelCount> LimAddr = {368, 368, 368, 368, 368, 456, 544, 632};
inline constexpr std::array<int, kChannelCount> EqMaskAddr = {80,  168, 256, 344,
                                                              432, 520, 608, 696};
inline constexpr std::array<int, kChannelCount> NameAddr = {82, 170, 258, 346, 434, 522, 610, 698};
// Crossover filter k belongs to output channel 4 + k/2: even k high-pass, odd k low-pass.
inline constexpr std::array<int, kXoverCount> XoverAddr = {371, 374, 459, 462, 547, 550, 635, 638};
inline constexpr std::array<int, 4> InRouteAddr = {352, 440, 528, 616};
inline constexpr std::array<int, 4> OutRouteAddr = {704, 720, 736, 752};

constexpr std::array<int, kBandCount> MakeEqBandAddr() {
  std::array<int, kBandCount> addr{};
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const int first = ChannelBlockAddr[ch] + (IsInputChannel(ch) ? 15 : 25);
    for (int i = 0; i <= BandLast[ch]; ++i) addr[BandOf(ch, i)] = first + kEqBandBytes * i;
  }
  return addr;
}
inline constexpr auto EqBandAddr = MakeEqBandAddr();

// Routing level cells 4 × row + column: the level byte follows the row's mask byte.
constexpr std::array<int, 16> MakeRouteLevelAddr(const std::array<int, 4>& rows) {
  std::array<int, 16> addr{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) addr[4 * r + c] = rows[r] + 1 + c;
  }
  return addr;
}
// Cell 4 × output + input.
inline constexpr auto InRouteLevelAddr = MakeRouteLevelAddr(InRouteAddr);
// Cell 4 × physical output + output channel.
inline constexpr auto OutRouteLevelAddr = MakeRouteLevelAddr(OutRouteAddr);

// ---------------------------------------------------------------------------------------------
// Unit-wide parameter bytes.

inline constexpr int kProgramNameAddr = 768;  // 16 ASCII characters, space-padded
inline constexpr int kMasterLevelAddr = 784;  // level slot 8 "Master G"; slot 9 at 786
inline constexpr int PolarityMaskAddr = 792;
inline constexpr int MuteMaskAddr = 793;
inline constexpr int EqBypassMaskAddr = 794;
inline constexpr int CompBypassMaskAddr = 795;
inline constexpr int LimBypassMaskAddr = 796;
inline constexpr int ProgramNumberAddr = 799;  // 255 = none
inline constexpr std::uint8_t kNoProgram = 255;

// System page bytes the program interprets (the rest belongs to the unit and is only carried).
inline constexpr int kInputSourceAddr = 817;  // inputs A/B; C/D at kInputSourceAddr + 1
inline constexpr int kDelayUnitAddr = 819;    // 0 ms, 1 m
inline constexpr int kPasswordOnAddr = 823;
inline constexpr int kLockOnAddr = 824;
inline constexpr int kPasswordCodeAddr = 825;  // six character codes, 825..830
inline constexpr int kNoiseTypeAddr = 833;     // generator A/B; C/D at kNoiseTypeAddr + 2
inline constexpr int kNoiseLevelAddr = 834;    // generator A/B; C/D at kNoiseLevelAddr + 2
static_assert(kInputSourceAddr == SystemAddr(16) && kNoiseLevelAddr == SystemAddr(33));

constexpr int InputSourceAddr(int pair) {
  return kInputSourceAddr + pair;
}
constexpr int NoiseTypeAddr(int pair) {
  return kNoiseTypeAddr + 2 * pair;
}
constexpr int NoiseLevelAddr(int pair) {
  return kNoiseLevelAddr + 2 * pair;
}

// Host area: byte 30 + channel holds the channel's ShowCursor flag.
inline constexpr int kShowCursorAddr = 1600;
static_assert(kShowCursorAddr == kHostAreaStart + 30);

// ---------------------------------------------------------------------------------------------
// Words are big-endian. Stored words never have the top bit set (the largest is 20000), so the
// plain sum equals the unit's signed reading.

constexpr int ReadWord(const ParamImage& img, int addr) {
  return img[addr] * 256 + img[addr + 1];
}

// `value` must be 0..65535; only its low 16 bits are stored.
constexpr void WriteWord(ParamImage& img, int addr, int value) {
  img[addr] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
  img[addr + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// On/off masks: bit n = channel n. Flags in the record are 0 and 1.
constexpr std::int16_t MaskBit(std::uint8_t mask, int channel) {
  return static_cast<std::int16_t>((mask & ChannelBit[channel]) != 0 ? 1 : 0);
}

constexpr std::uint8_t WithMaskBit(std::uint8_t mask, int channel, bool on) {
  const auto cleared = static_cast<std::uint8_t>(mask & ChannelClearMask[channel]);
  return on ? static_cast<std::uint8_t>(cleared | ChannelBit[channel]) : cleared;
}

// Rebuilds a whole mask byte from eight record flags (any non-zero flag counts as set).
template <typename Flag>
constexpr std::uint8_t PackMask(const std::array<Flag, kChannelCount>& flags) {
  std::uint8_t mask = 0;
  for (int n = 0; n < kChannelCount; ++n) {
    if (flags[n] != 0) mask = static_cast<std::uint8_t>(mask | ChannelBit[n]);
  }
  return mask;
}

}  // namespace velmark
