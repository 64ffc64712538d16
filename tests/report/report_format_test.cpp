// The JSON and text forms, and the comparison: numbers survive JSON exactly, one changed byte
// is one line in words, and what the window never shows (the password) never shows here.

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <set>

#include "report/report_json.h"
#include "report/report_text.h"
#include "report_images.h"

namespace velmark::testing {
namespace {

using Json = nlohmann::json;

TEST(ReportJson, ParsesAndGivesBackEveryValue) {
  for (const ParamImage& image : {DefaultReportImage(), EveryTypeImage(), DamagedImage()}) {
    const ParameterList params = ImageParameters(image);
    const Json j = Json::parse(DumpJson(params, "show.C44"));
    EXPECT_EQ(j["format"], kReportFormat);
    EXPECT_EQ(j["source"], "show.C44");
    ASSERT_EQ(j["parameters"].size(), params.size());
    std::set<std::string> keys;
    for (std::size_t i = 0; i < params.size(); ++i) {
      const Parameter& p = params[i];
      const Json& e = j["parameters"][i];
      EXPECT_TRUE(keys.insert(e["key"]).second) << "key twice: " << p.key;
      EXPECT_EQ(e["key"], p.key);
      EXPECT_EQ(e["text"], ParameterText(p)) << p.key;
      if (const auto* x = std::get_if<double>(&p.value)) {
        ASSERT_TRUE(e["value"].is_number()) << p.key;
        EXPECT_EQ(e["value"].get<double>(), *x) << p.key;  // exactly, not nearly
      } else if (const auto* on = std::get_if<bool>(&p.value)) {
        EXPECT_EQ(e["value"], *on) << p.key;
      } else {
        EXPECT_EQ(e["value"], std::get<std::string>(p.value)) << p.key;
      }
    }
  }
}

// The number of parameters a configuration has, by kind: a change here is a schema change.
TEST(ReportJson, EveryImageHasTheSameKeysInTheSameOrder) {
  const ParameterList a = ImageParameters(DefaultReportImage());
  const ParameterList b = ImageParameters(DamagedImage());
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].key, b[i].key);
  // 12 unit-wide; per input 5 + 4 + 7 + 1 + 13 × 5, per output 5 + 7 + 4 + 4 + 1 + 11 × 5;
  // 2 × 16 routing cells of 2.
  EXPECT_EQ(a.size(), 12u + 4 * 82 + 4 * 76 + 64);
}

struct Change {
  const char* what;
  std::function<void(ParamImage&)> apply;
  std::string lines;  // the diff's text, default image → changed image
};

void SetWord(ParamImage& img, int addr, int word) {
  WriteWord(img, addr, word);
}

TEST(ReportDiff, OneChangedByteIsOneLineInWords) {
  const Change changes[] = {
      {"nothing", [](ParamImage&) {}, ""},
      {"band gain code 35", [](ParamImage& i) { i[EqBandAddr[BandOf(5, 2)] + 4] = 35; },
       "Out 2 EQ band 3 gain: 0 dB \u2192 +2.5 dB\n"},
      {"gain word 280", [](ParamImage& i) { SetWord(i, LevelAddr[0], 280); },
       "In A gain: 0 dB \u2192 -2 dB\n"},
      {"mute bit of input B", [](ParamImage& i) { i[MuteMaskAddr] |= 2; },
       "In B mute: off \u2192 on\n"},
      {"band type", [](ParamImage& i) { i[EqBandAddr[BandOf(7, 0)]] = 14; },
       // The same shape code means another Q under another type.
       "Out 4 EQ band 1 type: Bell \u2192 Notch\nOut 4 EQ band 1 Q: 2.4 \u2192 35\n"},
      {"slope", [](ParamImage& i) { i[XoverAddr[XoverIndex(4, 1)] + 2] = 6; },
       "Out 1 low-pass type: No cut-off \u2192 -24dB/oct Bw\n"},
      {"routing cell", [](ParamImage& i) { i[InRouteAddr[1]] |= 1; },
       "Route In A to Out 2: off \u2192 on\n"},
      {"name byte", [](ParamImage& i) { i[NameAddr[2] + 5] = 'X'; },
       "In C name: In C \u2192 In C X\n"},
      {"delay unit", [](ParamImage& i) { i[kDelayUnitAddr] = 1; }, "Delay unit: ms \u2192 m\n"},
      {"delay unit and a delay",
       [](ParamImage& i) {
         i[kDelayUnitAddr] = 1;
         SetWord(i, DelayAddr[4], 10);
       },
       "Delay unit: ms \u2192 m\nOut 1 delay: 0 ms \u2192 3.4 m\n"},
      // The password and the graph's cursor flag are no parameters of the dump.
      {"password code", [](ParamImage& i) { i[kPasswordCodeAddr + 2] = 17; }, ""},
      {"cursor flag", [](ParamImage& i) { i[kShowCursorAddr + 3] = 1; }, ""},
      // A code beyond its control reads as the control's end, as the window shows it.
      {"gain code 60 to 61", [](ParamImage& i) { i[EqBandAddr[0] + 4] = 61; },
       "In A EQ band 1 gain: 0 dB \u2192 +15 dB\n"},
  };
  const ParamImage base = DefaultReportImage();
  const ParameterList before = ImageParameters(base);
  for (const Change& c : changes) {
    ParamImage changed = base;
    c.apply(changed);
    EXPECT_EQ(DiffText(DiffParameters(before, ImageParameters(changed))), c.lines) << c.what;
  }
}

TEST(ReportDiff, JsonNamesBothSidesWithNumbers) {
  ParamImage changed = DefaultReportImage();
  changed[EqBandAddr[BandOf(5, 2)] + 4] = 28;
  const auto diff = DiffParameters(ImageParameters(DefaultReportImage()), ImageParameters(changed));
  const Json j = Json::parse(DiffJson(diff, "a.C44", "b.C44"));
  EXPECT_EQ(j["format"], kReportFormat);
  EXPECT_EQ(j["equal"], false);
  ASSERT_EQ(j["differences"].size(), 1u);
  const Json& d = j["differences"][0];
  EXPECT_EQ(d["key"], "out2.eq.band3.gain");
  EXPECT_EQ(d["a"]["value"], 0);
  EXPECT_EQ(d["b"]["value"].get<double>(), -1.0);
  EXPECT_EQ(d["b"]["text"], "-1 dB");
}

TEST(ReportSecrets, LockFlagsShowAndThePasswordNever) {
  ParamImage img = DefaultReportImage();
  img[kLockOnAddr] = 1;
  img[kPasswordOnAddr] = 1;
  const std::string password = "Zq7Wx3";
  for (int k = 0; k < kPasswordLength; ++k) {
    img[kPasswordCodeAddr + k] = static_cast<std::uint8_t>(PasswordCharIndex(password[k]));
  }
  const ParameterList params = ImageParameters(img);
  const std::string text = DumpText(params), json = DumpJson(params, "x");
  EXPECT_NE(text.find("Panel lock                     on\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Password                       on\n"), std::string::npos);
  EXPECT_EQ(text.find(password), std::string::npos);
  EXPECT_EQ(json.find(password), std::string::npos);
}

TEST(ReportText, LinesAreAlignedAndGrouped) {
  const std::string text = DumpText(ImageParameters(EveryTypeImage()));
  EXPECT_NE(text.find("\nIn D name                      Caf\u00e9?\n"), std::string::npos)
      << "the name's byte 0xE9 as UTF-8, a control character as ?";
  EXPECT_NE(text.find("\n\nIn B name "), std::string::npos) << "a blank line before a channel";
  EXPECT_NE(text.find("Program name                   Show 12 Dec\n"), std::string::npos);
  std::size_t column = std::string::npos;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.empty()) continue;
    const std::size_t value = line.find_first_not_of(' ', line.find("  "));
    if (column == std::string::npos) column = value;
    EXPECT_EQ(value, column) << line;
  }
}

}  // namespace
}  // namespace velmark::testing
