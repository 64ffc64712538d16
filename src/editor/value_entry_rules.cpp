#include "editor/value_entry_rules.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace velmark {
namespace {

constexpr int kKeyEnter = 13;

// Delay entry: 0.34 m per ms; the longest delay a unit holds in metres and in ms.
constexpr double kMetresPerMs = 0.34;
constexpr double kMaxDelayMetres = 115.93932;
constexpr double kInputDelayLimitMs = 340.9981, kOutputDelayLimitMs = 270.9981;
constexpr int kInputCoarseMax = 340, kOutputCoarseMax = 270;
constexpr double kFineStepMs = 0.0104;
constexpr int kFineMax = 96;

constexpr int kQCodeMax = 100;
constexpr std::size_t kQTextChars = 4;
constexpr int kRatioSliderMax = 30;

// Q mode by band type: 0 Bell (the table), 2 BP/Notch/AP-1/AP-2 (code + 4), 1 the others.
int QMode(int eq_type) {
  if (eq_type == 0) return 0;
  if (eq_type >= 13 && eq_type <= 16) return 2;
  return 1;
}

std::string WithLocaleSeparator(std::string_view text, bool decimal_comma) {
  std::string out(text);
  if (decimal_comma) std::replace(out.begin(), out.end(), '.', ',');
  return out;
}

}  // namespace

KeyAction FilterKey(const EntryFamily& family, int& key, bool decimal_comma) {
  if (key == kKeyEnter) return KeyAction::Apply;
  if (key >= '0' && key <= '9') return KeyAction::Keep;
  if (key == '.' || key == ',') {
    if (!family.decimal) return KeyAction::Reject;
    key = decimal_comma ? ',' : '.';
    return KeyAction::Keep;
  }
  if (std::find(family.extra.begin(), family.extra.end(), key) != family.extra.end()) {
    return KeyAction::Keep;
  }
  return KeyAction::Reject;
}

LevelResult ApplyTypedLevel(const TypedLevel& rule, double x) {
  LevelResult r{nullptr, std::nullopt, 0};
  if (x > rule.hi) {
    r.clamp_text = rule.hi_text;
    x = rule.hi;
  }
  if (!(x >= rule.lo)) {
    r.clamp_text = rule.lo_text;
    x = rule.lo;
  }
  if (rule.grid) {
    x = SnapStep(*rule.grid, x);
    r.snapped = x;
  }
  r.control = Nearest(rule.offset + rule.slope * x);
  return r;
}

const char* FrequencyClampText(double x) {
  if (x > 20000) return "20000";
  if (x < 20) return "20";
  return nullptr;
}

int ApplyTypedStep(const TypedStep& rule, double x) {
  return rule.max - SnapIndex(rule.table, x);
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::optional<int> RatioEntry(std::string_view text, bool decimal_comma) {
  const std::string_view t = TrimBlanks(text);
  if (t.empty()) return std::nullopt;
  const auto number = ParseNumber(t.substr(0, t.find(':')), decimal_comma);
  if (!number) return std::nullopt;
  return kRatioSliderMax - SnapCompRatioIndex(*number);
}

std::optional<DelaySteps> DelayEntry(std::string_view text, bool input, int delay_unit,
                                     bool decimal_comma) {
  const std::string_view t = TrimBlanks(text);
  if (t.empty()) return std::nullopt;
  const auto number =
      ParseNumber(WithLocaleSeparator(t.substr(0, t.find(' ')), decimal_comma), decimal_comma);
  if (!number) return std::nullopt;
  double x = *number;
  if (delay_unit == 1) x = std::min(x, kMaxDelayMetres) / kMetresPerMs;
  x = std::min(x, input ? kInputDelayLimitMs : kOutputDelayLimitMs);
  const double whole = std::floor(x);
  const int coarse_max = input ? kInputCoarseMax : kOutputCoarseMax;
  DelaySteps steps{};
  steps.coarse = static_cast<int>(std::clamp(whole, 0.0, static_cast<double>(coarse_max)));
  steps.fine = std::clamp(Nearest((x - whole) / kFineStepMs), 0, kFineMax);
  return steps;
}

std::optional<int> QEntry(std::string_view text, int eq_type, bool decimal_comma) {
  const std::string_view t = TrimBlanks(text);
  const auto number =
      ParseNumber(WithLocaleSeparator(t.substr(0, kQTextChars), decimal_comma), decimal_comma);
  if (!number) return std::nullopt;
  const double x = *number;
  switch (QMode(eq_type)) {
    case 0:
      return SnapBellQ(x);
    case 1:
      return std::clamp(Nearest((x - 0.1) / 0.05), 0, kQCodeMax);
    default:
      return std::clamp(Nearest(x - 4), 0, kQCodeMax);
  }
}

}  // namespace velmark
