#include "report/parameters.h"

#include <algorithm>

#include "channels/names.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "editor/value_entry_rules.h"
#include "model/number_text.h"
#include "report/decoded_unit.h"
#include "report/param_builder.h"

namespace velmark {
namespace report {
namespace {

// The number a window text starts with: "2:1" reads as 2.
double LeadingNumber(const std::string& shown) {
  return ParseNumber(shown.substr(0, shown.find(':')), false).value_or(0.0);
}

// Level slot 8 or 9 and its caption on the gains/delays page.
constexpr const char* kMasterKeys[] = {"master_g", "master_v"};
constexpr const char* kMasterLabels[] = {"Master G", "Master V"};
constexpr const char* kPairKeys[] = {"ab", "cd"};
constexpr const char* kPairLabels[] = {"A/B", "C/D"};
constexpr const char* kDelayUnitKeys[] = {"ms", "m"};
constexpr const char* kDelayUnitCaptions[] = {"Time [ms]", "Meter [m]"};

}  // namespace

void ParamBuilder::Add(const std::string& key, const std::string& label, ParamValue value,
                       std::string shown, std::string unit) {
  out_.push_back({key_.empty() ? key : key_ + "." + key,
                  label_.empty() ? label : label_ + " " + label, std::move(value), std::move(shown),
                  std::move(unit)});
}

void ParamBuilder::Number(const std::string& key, const std::string& label,
                          const std::string& shown, const std::string& unit) {
  Add(key, label, LeadingNumber(shown), shown, unit);
}

void ParamBuilder::Switch(const std::string& key, const std::string& label, bool on) {
  Add(key, label, on, on ? "on" : "off", "");
}

void ParamBuilder::Word(const std::string& key, const std::string& label, std::string_view shown) {
  Add(key, label, std::string(TrimBlanks(shown)), std::string(shown), "");
}

std::string ChannelKey(int channel) {
  return IsInputChannel(channel) ? std::string("in") + static_cast<char>('a' + channel)
                                 : "out" + std::to_string(channel - kInputCount + 1);
}

std::string ChannelLabel(int channel) {
  return IsInputChannel(channel) ? std::string("In ") + static_cast<char>('A' + channel)
                                 : "Out " + std::to_string(channel - kInputCount + 1);
}

// The configuration's name and the unit-wide settings of the gains/delays and routing pages.
void AddUnitParameters(ParamBuilder& b, const Decoded& d) {
  const ParamImage& img = d.img;
  const DeviceSettings& rec = d.rec;
  b.Prefix("unit", "");
  const auto* name = reinterpret_cast<const char*>(img.data() + kProgramNameAddr);
  const std::string program = NameCaption(std::string_view(name, kProgramNameLength));
  b.Word("program_name", "Program name", program);
  // The lock and password flags only: the password itself is never shown.
  b.Switch("panel_lock", "Panel lock", img[kLockOnAddr] == 1);
  b.Switch("password", "Password", img[kPasswordOnAddr] == 1);
  const int unit = rec.DelayUnit == 1 ? 1 : 0;
  b.Add("delay_unit", "Delay unit", std::string(kDelayUnitKeys[unit]), kDelayUnitCaptions[unit],
        "");
  for (int s = kChannelCount; s < kLevelSlots; ++s) {
    b.Number(kMasterKeys[s - kChannelCount], kMasterLabels[s - kChannelCount],
             NumberText(rec.LevelGain[s], false), "dB");
  }
  for (int pair = 0; pair < 2; ++pair) {
    const std::string key = kPairKeys[pair], label = kPairLabels[pair];
    const int source = pair == 0 ? rec.InputSourceAB : rec.InputSourceCD;
    b.Word("source_" + key, "Input source " + label, InputSourceNames.at(source));
    b.Word("noise_" + key + ".type", "Noise generator " + label + " type",
           NoiseTypeNames.at(rec.NoiseType[pair] == 0 ? 0 : 1));
    b.Number("noise_" + key + ".level", "Noise generator " + label + " level",
             NumberText(rec.NoiseLevel[pair] - kNoiseLevelMax, false), "dB");
  }
}

// Both matrices: each cell's switch and level, as the routing page shows them.
void AddRoutingParameters(ParamBuilder& b, const Decoded& d) {
  const ParamImage& img = d.img;
  b.Prefix("route", "Route");
  const auto cell = [&](const std::string& key, const std::string& label, int row_addr, int column,
                        int level_addr) {
    b.Switch(key, label, (img[row_addr] >> column) & 1);
    const int level = std::min<int>(img[level_addr], kRouteLevelMax);
    b.Number(key + ".level", label + " level", NumberText(level - kRouteLevelMax, false), "dB");
  };
  for (int i = 0; i < kInputCount; ++i) {
    for (int o = 0; o < 4; ++o) {
      cell(ChannelKey(i) + "." + ChannelKey(kInputCount + o),
           ChannelLabel(i) + " to " + ChannelLabel(kInputCount + o), InRouteAddr[o], i,
           InRouteLevelAddr[4 * o + i]);
    }
  }
  for (int o = 0; o < 4; ++o) {
    for (int p = 0; p < 4; ++p) {
      cell(ChannelKey(kInputCount + o) + ".output" + std::to_string(p + 1),
           ChannelLabel(kInputCount + o) + " to Output " + std::to_string(p + 1), OutRouteAddr[p],
           o, OutRouteLevelAddr[4 * p + o]);
    }
  }
}

}  // namespace report

ParameterList ImageParameters(const ParamImage& image) {
  DecodedUnit unit;
  unit.Decode(image);
  const report::Decoded decoded(unit.State());
  ParameterList out;
  report::ParamBuilder b(out);
  report::AddUnitParameters(b, decoded);
  for (int c = 0; c < kChannelCount; ++c) report::AddChannelParameters(b, decoded, c);
  report::AddRoutingParameters(b, decoded);
  return out;
}

std::string ParameterText(const Parameter& p) {
  if (const auto* word = std::get_if<std::string>(&p.value)) {
    // A name may hold any byte; a control character would upset the terminal.
    std::string text = *word;
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, '?');
    return text;
  }
  if (std::holds_alternative<bool>(p.value)) return p.shown;
  const bool level = p.unit.rfind("dB", 0) == 0;
  const std::string sign = level && std::get<double>(p.value) > 0 ? "+" : "";
  return sign + p.shown + (p.unit.empty() ? "" : " " + p.unit);
}

}  // namespace velmark
