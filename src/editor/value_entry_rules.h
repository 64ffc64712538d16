#pragma once
// The rules of value entry as data and pure functions: which keys each text box
// family takes, how it refuses a key or a text it cannot use, and what a typed number becomes
// on Enter (clamp text, snapped text, companion control value). The window's handlers
// (value_entry*.cpp) only apply these results to the controls and run the commands.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/value_snap.h"

namespace velmark {

inline constexpr const char* kWarningTitle = "Warning";
inline constexpr const char* kIncorrectValue = "  Incorrect value";
inline constexpr const char* kIncorrectFValue = "  Incorrect f value";
inline constexpr const char* kIncorrectQValue = "  Incorrect Q value";
inline constexpr const char* kIncorrectFrequencyValue = "  Incorrect frequency value";

// A replacement that leaves the key as it was typed.
inline constexpr int kKeepKey = -0x7FFFFFFF;

// What a box does with a key it does not take, or with a text it cannot convert on Enter.
struct Refusal {
  const char* message;   // shown in a "Warning" box with OK; nullptr: no box
  int replacement;       // the key code put in place of the key, or kKeepKey
  bool clears_updating;  // UpdatingControls := false (the routing boxes)
};

// One text box family: digits always, the extra keys listed, "." and "," when decimal.
struct EntryFamily {
  std::span<const int> extra;
  bool decimal;
  bool guarded;  // does nothing while UpdatingControls is set
  Refusal bad_key;
  Refusal bad_text;
};

namespace entry_keys {
inline constexpr int kGain[] = {3, 8, 22, 24, 26, '+', '-'};  // Ctrl+C/V/X/Z, Backspace, signs
inline constexpr int kBackspace[] = {8};
inline constexpr int kDelay[] = {8, ' '};
}  // namespace entry_keys

// GainText, NGText, CmpText, LimText, TextNoiseLev, TxtEqGain.
inline constexpr EntryFamily kGainFamily{
    entry_keys::kGain, true, true, {kIncorrectValue, '?', false}, {kIncorrectValue, '?', false}};
// TextHpLpF: the one box that does not look at UpdatingControls.
inline constexpr EntryFamily kXoverFreqFamily{entry_keys::kBackspace,
                                              true,
                                              false,
                                              {kIncorrectFValue, '?', false},
                                              {kIncorrectFValue, '?', false}};
// Text2: a refused key silently becomes a blank; an unusable text warns and changes no key.
inline constexpr EntryFamily kDelayFamily{
    entry_keys::kDelay, true, true, {nullptr, ' ', false}, {kIncorrectValue, kKeepKey, false}};
// TextSRout, TextFRout: digits and Backspace only, so the minus sign cannot be typed.
inline constexpr EntryFamily kRoutingFamily{entry_keys::kBackspace,
                                            false,
                                            true,
                                            {kIncorrectQValue, ' ', true},
                                            {kIncorrectQValue, ' ', true}};
// TxtEqFreq: the refused key is still typed.
inline constexpr EntryFamily kEqFreqFamily{entry_keys::kBackspace,
                                           false,
                                           true,
                                           {kIncorrectValue, kKeepKey, false},
                                           {kIncorrectValue, kKeepKey, false}};
// TxtEqQ.
inline constexpr EntryFamily kEqQFamily{entry_keys::kBackspace,
                                        true,
                                        true,
                                        {kIncorrectQValue, ' ', false},
                                        {kIncorrectQValue, ' ', false}};

enum class KeyAction { Keep, Apply, Reject };

// Enter applies; digits and the family's keys are kept, "." and "," turned into the locale's
// separator ("," when decimal_comma); anything else is rejected (key unchanged).
KeyAction FilterKey(const EntryFamily& family, int& key, bool decimal_comma);

// ---------------------------------------------------------------------------------------------
// Numbers with a linear companion: clamp to lo..hi (the text becomes lo_text or hi_text), write
// back the snap on `grid` (none: the text stays as typed or clamped), then
// control := nearest(offset + slope × value).
struct TypedLevel {
  double lo, hi;
  const char* lo_text;
  const char* hi_text;
  const StepGrid* grid;
  double offset, slope;
};

inline constexpr TypedLevel kChannelGainEntry{-30, 0, "-30", "0", &kChannelGainGrid, 0, -10};
inline constexpr TypedLevel kAuxLevelEntry{-18, 12, "-18", "12", &kAuxLevelGrid, 120, -10};
inline constexpr TypedLevel kGateThresholdEntry{-80, -50, "-80", "-50", &kGateThresholdGrid,
                                                -10, -0.2};
inline constexpr TypedLevel kDynThresholdEntry{-10, 20, "-10", "20", &kDynThresholdGrid, 100, -5};
inline constexpr TypedLevel kCompKneeEntry{0, 100, "0", "100", nullptr, 100, -1};
inline constexpr TypedLevel kMakeUpGainEntry{-12, 12, "-12", "12", &kMakeUpGainGrid, 120, -10};
inline constexpr TypedLevel kNoiseLevelEntry{-40, 0, "-40", "0", &kNoiseLevelGrid, 0, -1};
inline constexpr TypedLevel kEqGainEntry{-15, 15, "-15", "15", &kEqGainGrid, 30, -2};
inline constexpr TypedLevel kRoutingLevelEntry{-30, 0, "-30", "0", &kRoutingLevelGrid, 30, 1};

struct LevelResult {
  const char* clamp_text;         // the text set first, or nullptr when x was in range
  std::optional<double> snapped;  // the value written back, when the rule snaps
  int control;
};
LevelResult ApplyTypedLevel(const TypedLevel& rule, double x);

// Clamp only (the frequency boxes): the text to set, or nullptr.
const char* FrequencyClampText(double x);  // 20 .. 20000 Hz

// Numbers picked from a step table: control := max − SnapIndex(table, x).
struct TypedStep {
  std::span<const double> table;
  int max;
};
inline constexpr TypedStep kGateReleaseEntry{GateReleaseSteps, 12};
inline constexpr TypedStep kGateAttackEntry{GateAttackSteps, 28};
inline constexpr TypedStep kCompReleaseEntry{CompReleaseTimes, 29};
inline constexpr TypedStep kCompAttackEntry{CompAttackTimes, 29};
inline constexpr TypedStep kLimReleaseEntry{LimReleaseSteps, 49};
inline constexpr TypedStep kLimAttackEntry{LimAttackSteps, 40};
int ApplyTypedStep(const TypedStep& rule, double x);

// Compressor ratio: "4:1" or "4" → slider 30 − k (k = ratio snap index). No value for an empty
// text or one that is not a number before its first ":".
std::optional<int> RatioEntry(std::string_view text, bool decimal_comma);

// Delay entry: the number before the first blank of the trimmed text, metres turned into ms,
// limited, split into whole ms (coarse) and 0.0104 ms steps (fine). No value for an empty text
// or one that is not a number.
struct DelaySteps {
  int coarse, fine;
  bool operator==(const DelaySteps&) const = default;
};
std::optional<DelaySteps> DelayEntry(std::string_view text, bool input, int delay_unit,
                                     bool decimal_comma);

// Q entry: the first four characters of the trimmed text, as a Q code 0..100 for the band's
// type (Bell: the table; shelving/pass types: 0.1 + 0.05 × code; BP, Notch, AP: code + 4).
std::optional<int> QEntry(std::string_view text, int eq_type, bool decimal_comma);

// Text without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

}  // namespace velmark
