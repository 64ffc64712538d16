#pragma once
// Constant value tables of the unit: frequency axis, EQ type names, step tables of the dynamics
// sliders, channel/band numbering and the fixed texts and colours the windows share.
// Everything here is built at compile time and never changes during the run.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmark {

inline constexpr int kUnitCount = 33, kChannelCount = 8, kBandCount = 96, kGridPoints = 1584,
                     kXoverCount = 8, kLevelSlots = 10;
inline constexpr int kInputCount = 4;     // channels 0..3 are the inputs A..D
inline constexpr int kEqTypeCount = 17;   // "Bell" .. "AP-2"
inline constexpr int kProgramCount = 32;  // program memories of a unit
inline constexpr int kPasswordLength = 6;
inline constexpr int kChannelNameLength = 6;
inline constexpr int kProgramNameLength = 16;

// ---------------------------------------------------------------------------------------------
// Frequency axis of every response: 20 Hz .. 20 kHz in five segments. Segments 2..4 are
// a + step × i with step = span/300; computed in integers as round((300a + span·i) / 300), which
// equals the rounded double because span·i/300 never ends in exactly one half.
// The first value of segments 3, 4 and 5 repeats the last one before it (1000, 3000, 10000).

constexpr std::array<std::int16_t, kGridPoints> MakeFreqGrid() {
  std::array<std::int16_t, kGridPoints> grid{};
  int n = 0;
  for (int f = 20; f <= 499; ++f) grid[n++] = static_cast<std::int16_t>(f);
  constexpr int kStarts[] = {500, 1000, 3000};
  constexpr int kSpans[] = {500, 2000, 7000};
  for (int s = 0; s < 3; ++s) {
    for (int i = 0; i <= 300; ++i) {
      const int num = 300 * kStarts[s] + kSpans[s] * i;
      grid[n++] = static_cast<std::int16_t>((num + 150) / 300);
    }
  }
  for (int i = 0; i <= 200; ++i) grid[n++] = static_cast<std::int16_t>(10000 + 50 * i);
  return grid;
}

inline constexpr auto FreqGrid = MakeFreqGrid();

// ---------------------------------------------------------------------------------------------
// EQ band types (band byte 0). The short name labels the band; the caption is the entry of the
// "Filter Type" menu. A type without gain or Q keeps those codes; only the control is greyed.

inline constexpr std::array<std::string_view, kEqTypeCount> EqTypeNames = {
    "Bell", "HiSh1", "HiSh2", "HiShQ", "LoSh1", "LoSh2", "LoShQ", "LP-1", "LP-2",
    "LP-Q", "HP-1",  "HP-2",  "HP-Q",  "BP",    "Notch", "AP-1",  "AP-2"};

inline constexpr std::array<std::string_view, kEqTypeCount> EqTypeMenuCaptions = {
    "Bell",          "Hi-Shelving 1st",  "Hi-Shelving 2nd",
    "Hi-Shelving Q", "Lo-Shelving 1st",  "Lo-Shelving 2nd",
    "Lo-Shelving Q", "Low Pass 1st",     "Low Pass 2nd",
    "Low Pass Q",    "High Pass 1st",    "High Pass 2nd",
    "High Pass Q",   "Band Pass Filter", "Notch Filter",
    "All Pass 1st",  "All Pass 2nd"};

inline constexpr std::array<bool, kEqTypeCount> EqTypeHasGain = {
    true,  true,  true,  true,  true, true,  true,  false, false,
    false, false, false, false, true, false, false, false};

inline constexpr std::array<bool, kEqTypeCount> EqTypeHasQ = {
    true, false, false, true, false, false, true,  false, false,
    true, false, false, true, true,  true,  false, true};

// Q of a Bell band by shape code 0..100.
inline constexpr std::array<double, 101> EqQTable = {
    0.4,  0.42, 0.45, 0.47, 0.5,  0.53, 0.56, 0.59, 0.63, 0.67, 0.71, 0.75, 0.79, 0.84, 0.89,
    0.94, 1.0,  1.06, 1.12, 1.19, 1.26, 1.3,  1.4,  1.5,  1.6,  1.7,  1.8,  1.9,  2.0,  2.1,
    2.2,  2.4,  2.5,  2.7,  2.8,  3.0,  3.2,  3.4,  3.6,  3.8,  4.0,  4.2,  4.5,  4.8,  5.0,
    5.3,  5.7,  6.0,  6.3,  6.7,  7.1,  7.6,  8.0,  8.5,  9.0,  9.5,  10.1, 10.7, 11.3, 12.0,
    12.7, 13.5, 14.0, 15.0, 16.0, 17.0, 18.0, 19.0, 20.0, 21.0, 23.0, 24.0, 25.0, 27.0, 29.0,
    30.0, 32.0, 34.0, 36.0, 38.0, 40.0, 43.0, 45.0, 48.0, 51.0, 54.0, 57.0, 60.0, 64.0, 68.0,
    72.0, 76.0, 81.0, 85.0, 91.0, 96.0, 102,  108,  114,  121,  128};

// Corner-frequency factors of the shelving curves by gain code 0..60 (30 = 0 dB). Only codes
// 0..17 differ from 1; the curve is the same for a cut and the matching boost.
constexpr std::array<double, 61> MakeShelfCorner(const std::array<double, 18>& low) {
  std::array<double, 61> t{};
  for (int g = 0; g <= 60; ++g) {
    const int k = g <= 30 ? g : 60 - g;
    t[g] = k < 18 ? low[k] : 1.0;
  }
  return t;
}

inline constexpr auto ShelfCorner1 =
    MakeShelfCorner({2.2, 2.12, 2.08, 2.02, 1.98, 1.9, 1.85, 1.75, 1.7, 1.65, 1.6, 1.53, 1.45, 1.38,
                     1.3, 1.23, 1.15, 1.07});
inline constexpr auto ShelfCorner2 =
    MakeShelfCorner({1.37, 1.35, 1.335, 1.315, 1.3, 1.277, 1.26, 1.247, 1.23, 1.21, 1.19, 1.17,
                     1.15, 1.13, 1.11, 1.085, 1.06, 1.03});

// ---------------------------------------------------------------------------------------------
// Dynamics step tables, indexed by slider maximum − slider value (the sliders run reversed).

inline constexpr std::array<std::string_view, 13> GateReleaseTimes = {
    "10", "25", "50", "100", "200", "300", "400", "500", "600", "700", "800", "900", "1000"};

inline constexpr std::array<std::string_view, 29> GateAttackTimes = {
    "1",   "2",   "3",   "4",   "5",   "6",   "7",   "8",   "9",   "10",
    "15",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100",
    "200", "300", "400", "500", "600", "700", "800", "900", "1000"};

// k/10.0 is the correctly rounded quotient, i.e. the same double as the literal 0.k.
constexpr std::array<double, 30> MakeCompReleaseTimes() {
  std::array<double, 30> t{};
  for (int k = 1; k <= 30; ++k) t[k - 1] = k / 10.0;
  return t;
}
inline constexpr auto CompReleaseTimes = MakeCompReleaseTimes();

inline constexpr std::array<double, 30> CompAttackTimes = {
    5,  6,  7,  8,  9,  10, 11, 12, 13, 14,  15,  16,  17,  18,  19,
    20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 120, 140, 160, 180, 200};

inline constexpr std::array<std::string_view, 50> LimReleaseTimes = {
    "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2", "1.3",
    "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0", "2.1", "2.2", "2.3", "2.4", "2.5", "2.6",
    "2.7", "2.8", "2.9", "3.0", "3.1", "3.2", "3.3", "3.4", "3.5", "3.6", "3.7", "3.8", "3.9",
    "4.0", "4.1", "4.2", "4.3", "4.4", "4.5", "4.6", "4.7", "4.8", "4.9", "5.0"};

inline constexpr std::array<std::string_view, 41> LimAttackTimes = {
    "1",   "2",   "3",   "4",   "5",   "6",   "7",   "8",   "9",   "10",  "11",  "12",  "13", "14",
    "15",  "16",  "17",  "18",  "19",  "20",  "25",  "30",  "40",  "50",  "60",  "70",  "80", "90",
    "100", "120", "140", "160", "180", "200", "300", "400", "500", "600", "700", "800", "900"};

// ---------------------------------------------------------------------------------------------
// Channels and bands. Inputs have 13 EQ bands, outputs 11; bands are numbered through 0..95.

inline constexpr std::array<int, kChannelCount> BandStart = {0, 13, 26, 39, 52, 63, 74, 85};
inline constexpr std::array<int, kChannelCount> BandLast = {12, 12, 12, 12, 10, 10, 10, 10};
inline constexpr std::array<std::uint8_t, kChannelCount> ChannelBit = {1, 2, 4, 8, 16, 32, 64, 128};
inline constexpr std::array<std::uint8_t, kChannelCount> ChannelClearMask = {254, 253, 251, 247,
                                                                             239, 223, 191, 127};

constexpr bool IsInputChannel(int channel) {
  return channel < kInputCount;
}

// Global band index of band number `band_number` (0..BandLast[channel]) of a channel.
constexpr int BandOf(int channel, int band_number) {
  return BandStart[channel] + band_number;
}

// Channel that owns global band `band` (0..95).
constexpr int ChannelOfBand(int band) {
  int ch = kChannelCount - 1;
  while (ch > 0 && BandStart[ch] > band) --ch;
  return ch;
}

// Crossover filter index of an output channel (4..7); filter 0 = high-pass, 1 = low-pass.
constexpr int XoverIndex(int channel, int filter) {
  return 2 * (channel - kInputCount) + filter;
}

// Level slots 0..7 show word/10 − 30 dB, the master slots 8 and 9 word/10 − 18 dB.
constexpr int LevelOffsetDb(int slot) {
  return slot < kChannelCount ? 30 : 18;
}

// ---------------------------------------------------------------------------------------------
// Texts.

inline constexpr std::array<std::string_view, 2> DelayUnitSuffix = {" ms", " m"};

inline constexpr std::string_view kEmptyProgramNameText = "Program Empty   ";
static_assert(kEmptyProgramNameText.size() == kProgramNameLength);

// One-character views into a constant text, for the tables the program joins character-wise.
template <std::size_t N>
constexpr std::array<std::string_view, N> SplitChars(std::string_view text) {
  std::array<std::string_view, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = text.substr(i, 1);
  return out;
}

inline constexpr auto EmptyProgramName = SplitChars<kProgramNameLength>(kEmptyProgramNameText);

// Characters allowed in a password, in the order of the unit's character codes 0..62.
inline constexpr std::string_view kPasswordChars =
    " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
static_assert(kPasswordChars.size() == 63);
inline constexpr auto PasswordCharSet = SplitChars<63>(kPasswordChars);

// Position of `c` in PasswordCharSet (the unit's character code), or -1 when not allowed.
constexpr int PasswordCharIndex(char c) {
  const auto pos = kPasswordChars.find(c);
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

// Values of the edit window's level meters (0..127) for meter steps 0..7.
inline constexpr std::array<int, 8> MeterSegments = {0, 64, 96, 112, 120, 124, 126, 127};

// Crossover slope/type list; the list index is what the filter's type byte stores.
inline constexpr std::array<std::string_view, 13> XoverSlopeNames = {
    "  No cut-off", "- 6 dB/oct Bw", "-12dB/oct Bw", "-12dB/oct Lz", "-12dB/oct Bs",
    "-18dB/oct Bw", "-24dB/oct Bw",  "-24dB/oct Lz", "-24dB/oct Bs", "-36dB/oct Bw",
    "-36dB/oct Lz", "-48dB/oct Bw",  "-48dB/oct Lz"};

inline constexpr std::array<std::string_view, 2> NoiseTypeNames = {"White Noise", "Pink Noise"};
inline constexpr std::array<std::string_view, 3> InputSourceNames = {
    "Analog Input", "Digital SP/DIF", "Noise Generator"};

inline constexpr std::string_view kDefaultUnitName = " VELMARK ";  // also the device type name
inline constexpr std::string_view kDeviceTypeName = kDefaultUnitName;
inline constexpr std::string_view kDefaultVersion = "2.0.8";  // firmware text before a reply
inline constexpr std::string_view kProgramVersion = "3.1.2";

// ---------------------------------------------------------------------------------------------
// Colours as the 32-bit value R + 256·G + 65536·B that the windows and stored settings use.

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) + 256u * static_cast<std::uint32_t>(g) +
         65536u * static_cast<std::uint32_t>(b);
}

inline constexpr std::uint32_t kOrange = Rgb(255, 128, 0);       // bypassed / selected
inline constexpr std::uint32_t kLightGrey = Rgb(192, 192, 192);  // active / unselected

// Curve colour of each channel: red, blue, magenta, yellow, teal, green, dark blue, orange.
inline constexpr std::array<std::uint32_t, kChannelCount> ChannelColour = {
    Rgb(255, 0, 0),   Rgb(0, 0, 255), Rgb(255, 0, 255), Rgb(255, 255, 0),
    Rgb(0, 192, 192), Rgb(0, 255, 0), Rgb(0, 0, 192),   Rgb(255, 128, 0)};

}  // namespace velmark
