// The pure helpers of value entry: grid snaps, step-table snaps, nearest(), the key filter and
// the typed-number rules of every family, without a window.

#include "editor/value_snap.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/value_entry_rules.h"
#include "model/number_text.h"

namespace velmark {
namespace {

struct GridCase {
  const char* grid_name;
  double (*snap)(double);
  double x;
  const char* text;  // the snapped value as the box shows it
};

TEST(SnapStepTest, NearestGridValueTiesDownAndEndsHold) {
  const GridCase cases[] = {
      // Channel gain −30..0 in 0.1 dB.
      {"gain", SnapChannelGain, -12.34, "-12.3"},
      {"gain", SnapChannelGain, -12.36, "-12.4"},
      {"gain", SnapChannelGain, -12.35, "-12.4"},  // half way: the lower value
      {"gain", SnapChannelGain, -0.05, "-0.1"},
      {"gain", SnapChannelGain, -0.04, "0"},
      {"gain", SnapChannelGain, 5, "0"},
      {"gain", SnapChannelGain, -45, "-30"},
      {"gain", SnapChannelGain, -29.96, "-30"},
      {"gain", SnapChannelGain, -21.3, "-21.3"},
      // Auxiliary level −18..+12 in 0.1 dB.
      {"aux", SnapAuxLevel, 15, "12"},
      {"aux", SnapAuxLevel, -20, "-18"},
      {"aux", SnapAuxLevel, 11.95, "11.9"},
      {"aux", SnapAuxLevel, 0.26, "0.3"},
      // EQ gain −15..+15 in 0.5 dB.
      {"eq", SnapEqGain, 7.25, "7"},
      {"eq", SnapEqGain, 7.26, "7.5"},
      {"eq", SnapEqGain, -7.25, "-7.5"},  // the lower value is the more negative one
      {"eq", SnapEqGain, 16, "15"},
      {"eq", SnapEqGain, -15.2, "-15"},
      // Noise gate threshold −80..−50 in 5 dB.
      {"gate", SnapGateThreshold, -62, "-60"},
      {"gate", SnapGateThreshold, -62.5, "-65"},
      {"gate", SnapGateThreshold, -57.5, "-60"},
      {"gate", SnapGateThreshold, -57.4, "-55"},
      {"gate", SnapGateThreshold, -90, "-80"},
      {"gate", SnapGateThreshold, -40, "-50"},
      // Compressor and limiter threshold −10..+20 in 0.2 dB.
      {"threshold", SnapDynThreshold, 0.1, "0"},
      {"threshold", SnapDynThreshold, 0.11, "0.2"},
      {"threshold", SnapDynThreshold, 19.9, "19.8"},
      {"threshold", SnapDynThreshold, 5.1, "5"},
      {"threshold", SnapDynThreshold, -9.7, "-9.8"},
      {"threshold", SnapDynThreshold, 25, "20"},
      {"threshold", SnapDynThreshold, -10.1, "-10"},
      // Make-up gain −12..+12 in 0.1 dB.
      {"make-up", SnapMakeUpGain, 3.45, "3.4"},
      {"make-up", SnapMakeUpGain, 3.46, "3.5"},
      {"make-up", SnapMakeUpGain, -12.5, "-12"},
      // Noise generator level −40..0 and routing level −30..0 in 1 dB.
      {"noise", SnapNoiseLevel, -12.5, "-13"},
      {"noise", SnapNoiseLevel, -12.4, "-12"},
      {"noise", SnapNoiseLevel, 3, "0"},
      {"noise", SnapNoiseLevel, -41, "-40"},
      {"routing", SnapRoutingLevel, -0.5, "-1"},
      {"routing", SnapRoutingLevel, -15.5, "-16"},
      {"routing", SnapRoutingLevel, -31, "-30"},
  };
  for (const GridCase& c : cases) {
    EXPECT_EQ(NumberText(c.snap(c.x), false), c.text) << c.grid_name << " " << c.x;
  }
}

// Every point of every grid is the double of its own short decimal text, so a snapped value
// shows as "-12.3" and never as "-12.299999999999999".
TEST(SnapStepTest, EveryGridPointIsItsDecimalLiteral) {
  const StepGrid* grids[] = {&kGateThresholdGrid, &kDynThresholdGrid, &kMakeUpGainGrid,
                             &kChannelGainGrid,   &kAuxLevelGrid,     &kEqGainGrid,
                             &kNoiseLevelGrid,    &kRoutingLevelGrid, &kCompRatioGrid};
  for (const StepGrid* g : grids) {
    for (int k = 0; k < g->Count(); ++k) {
      const double v = g->Value(k);
      const std::string text = NumberText(v, false);
      const auto dot = text.find('.');
      EXPECT_TRUE(dot == std::string::npos || text.size() - dot - 1 <= 1) << text;
      EXPECT_EQ(ParseNumber(text, false), v) << text;
      EXPECT_EQ(SnapStepIndex(*g, v), k) << text;
    }
  }
}

TEST(SnapStepTest, RatioGivesTheIndexNotTheRatio) {
  const struct {
    double x;
    int k;
  } cases[] = {{4, 2}, {1, 0}, {2, 0}, {2.5, 0}, {2.51, 1}, {32, 30}, {40, 30}, {-3, 0}};
  for (const auto& c : cases) EXPECT_EQ(SnapCompRatioIndex(c.x), c.k) << c.x;
}

struct IndexCase {
  const char* table;
  int (*snap)(double);
  double x;
  int index;
};

TEST(SnapIndexTest, NearestEntryTiesToTheLowerIndex) {
  const IndexCase cases[] = {
      {"comp release", SnapCompRelease, 0.35, 2},  // half way 0.3 / 0.4: the 0.3 entry
      {"comp release", SnapCompRelease, 0.36, 3},
      {"comp release", SnapCompRelease, 0, 0},
      {"comp release", SnapCompRelease, 5, 29},
      {"comp attack", SnapCompAttack, 22.5, 15},  // 20 / 25
      {"comp attack", SnapCompAttack, 23, 16},
      {"comp attack", SnapCompAttack, 110, 24},  // 100 / 120
      {"comp attack", SnapCompAttack, 300, 29},
      {"gate release", SnapGateRelease, 37.5, 1},  // 25 / 50
      {"gate release", SnapGateRelease, 38, 2},
      {"gate release", SnapGateRelease, 150, 3},  // 100 / 200
      {"gate release", SnapGateRelease, 151, 4},
      {"gate release", SnapGateRelease, 2000, 12},
      {"gate release", SnapGateRelease, -5, 0},
      {"gate attack", SnapGateAttack, 12.5, 9},  // 10 / 15
      {"gate attack", SnapGateAttack, 13, 10},
      {"gate attack", SnapGateAttack, 150, 19},  // 100 / 200
      {"gate attack", SnapGateAttack, 1000, 28},
      {"lim release", SnapLimRelease, 0.25, 1},  // 0.2 / 0.3
      {"lim release", SnapLimRelease, 2.05, 19},
      {"lim release", SnapLimRelease, 6, 49},
      {"lim attack", SnapLimAttack, 250, 33},  // 200 / 300
      {"lim attack", SnapLimAttack, 251, 34},
      {"lim attack", SnapLimAttack, 1000, 40},
      {"bell q", SnapBellQ, 12.3, 59},   // 12.0
      {"bell q", SnapBellQ, 12.35, 59},  // 12.0 / 12.7
      {"bell q", SnapBellQ, 12.36, 60},
      {"bell q", SnapBellQ, 0.435, 1},  // 0.42 / 0.45
      {"bell q", SnapBellQ, 2.4, 31},
      {"bell q", SnapBellQ, 200, 100},
      {"bell q", SnapBellQ, 0.1, 0},
  };
  for (const IndexCase& c : cases) EXPECT_EQ(c.snap(c.x), c.index) << c.table << " " << c.x;
}

TEST(SnapIndexTest, TextTablesReadAsTheirLiterals) {
  for (std::size_t i = 0; i < GateReleaseTimes.size(); ++i) {
    EXPECT_EQ(GateReleaseSteps[i], std::stod(std::string(GateReleaseTimes[i])));
  }
  for (std::size_t i = 0; i < GateAttackTimes.size(); ++i) {
    EXPECT_EQ(GateAttackSteps[i], std::stod(std::string(GateAttackTimes[i])));
  }
  for (std::size_t i = 0; i < LimReleaseTimes.size(); ++i) {
    EXPECT_EQ(LimReleaseSteps[i], std::stod(std::string(LimReleaseTimes[i])));
  }
  for (std::size_t i = 0; i < LimAttackTimes.size(); ++i) {
    EXPECT_EQ(LimAttackSteps[i], std::stod(std::string(LimAttackTimes[i])));
  }
  // Each entry snaps to itself.
  for (std::size_t i = 0; i < EqQTable.size(); ++i) EXPECT_EQ(SnapBellQ(EqQTable[i]), int(i));
  for (std::size_t i = 0; i < LimAttackSteps.size(); ++i) {
    EXPECT_EQ(SnapLimAttack(LimAttackSteps[i]), int(i));
  }
}

TEST(NearestTest, HalvesGoToTheEvenInteger) {
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(3.5), 4);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(-10 * -12.3), 123);
  EXPECT_EQ(Nearest(122.6), 123);
}

TEST(FilterKeyTest, EachFamilyTakesItsKeys) {
  struct Case {
    const char* family_name;
    const EntryFamily* family;
    int key;
    bool comma;
    KeyAction action;
    int key_after;
  };
  const Case cases[] = {
      {"gain", &kGainFamily, '7', false, KeyAction::Keep, '7'},
      {"gain", &kGainFamily, '-', false, KeyAction::Keep, '-'},
      {"gain", &kGainFamily, '+', false, KeyAction::Keep, '+'},
      {"gain", &kGainFamily, 8, false, KeyAction::Keep, 8},
      {"gain", &kGainFamily, 22, false, KeyAction::Keep, 22},
      {"gain", &kGainFamily, '.', true, KeyAction::Keep, ','},
      {"gain", &kGainFamily, ',', false, KeyAction::Keep, '.'},
      {"gain", &kGainFamily, 13, false, KeyAction::Apply, 13},
      {"gain", &kGainFamily, 'a', false, KeyAction::Reject, 'a'},
      {"gain", &kGainFamily, ' ', false, KeyAction::Reject, ' '},
      {"gain", &kGainFamily, -0xE9, false, KeyAction::Reject, -0xE9},  // "é"
      {"xover", &kXoverFreqFamily, '.', false, KeyAction::Keep, '.'},
      {"xover", &kXoverFreqFamily, '-', false, KeyAction::Reject, '-'},
      {"xover", &kXoverFreqFamily, 3, false, KeyAction::Reject, 3},
      {"delay", &kDelayFamily, ' ', false, KeyAction::Keep, ' '},
      {"delay", &kDelayFamily, ',', true, KeyAction::Keep, ','},
      {"delay", &kDelayFamily, '-', false, KeyAction::Reject, '-'},
      {"routing", &kRoutingFamily, '-', false, KeyAction::Reject, '-'},
      {"routing", &kRoutingFamily, '.', false, KeyAction::Reject, '.'},
      {"routing", &kRoutingFamily, 8, false, KeyAction::Keep, 8},
      {"eq freq", &kEqFreqFamily, '5', false, KeyAction::Keep, '5'},
      {"eq freq", &kEqFreqFamily, '.', false, KeyAction::Reject, '.'},
      {"eq q", &kEqQFamily, ',', false, KeyAction::Keep, '.'},
      {"eq q", &kEqQFamily, '-', false, KeyAction::Reject, '-'},
  };
  for (const Case& c : cases) {
    int key = c.key;
    EXPECT_EQ(FilterKey(*c.family, key, c.comma), c.action) << c.family_name << " " << c.key;
    EXPECT_EQ(key, c.key_after) << c.family_name << " " << c.key;
  }
}

TEST(TypedLevelTest, ClampSnapAndCompanionValue) {
  struct Case {
    const char* name;
    const TypedLevel* rule;
    double x;
    const char* clamp_text;
    std::optional<double> snapped;
    int control;
  };
  const Case cases[] = {
      {"gain", &kChannelGainEntry, 5, "0", 0.0, 0},
      {"gain", &kChannelGainEntry, -45, "-30", -30.0, 300},
      {"gain", &kChannelGainEntry, -12.34, nullptr, -12.3, 123},
      {"aux", &kAuxLevelEntry, 15, "12", 12.0, 0},
      {"aux", &kAuxLevelEntry, -20, "-18", -18.0, 300},
      {"aux", &kAuxLevelEntry, 0, nullptr, 0.0, 120},
      {"eq gain", &kEqGainEntry, 7.25, nullptr, 7.0, 16},
      {"eq gain", &kEqGainEntry, -20, "-15", -15.0, 60},
      {"gate", &kGateThresholdEntry, -62, nullptr, -60.0, 2},
      {"gate", &kGateThresholdEntry, -62.5, nullptr, -65.0, 3},
      {"gate", &kGateThresholdEntry, -45, "-50", -50.0, 0},
      {"threshold", &kDynThresholdEntry, 0, nullptr, 0.0, 100},
      {"threshold", &kDynThresholdEntry, -12, "-10", -10.0, 150},
      {"knee", &kCompKneeEntry, 150, "100", std::nullopt, 0},
      {"knee", &kCompKneeEntry, -3, "0", std::nullopt, 100},
      {"knee", &kCompKneeEntry, 50.5, nullptr, std::nullopt, 50},
      {"make-up", &kMakeUpGainEntry, 3.45, nullptr, 3.4, 86},
      {"make-up", &kMakeUpGainEntry, -12.34, "-12", -12.0, 240},
      {"noise", &kNoiseLevelEntry, -12.4, nullptr, -12.0, 12},
      {"routing", &kRoutingLevelEntry, -12, nullptr, -12.0, 18},
      {"routing", &kRoutingLevelEntry, 12, "0", 0.0, 30},
  };
  for (const Case& c : cases) {
    const LevelResult r = ApplyTypedLevel(*c.rule, c.x);
    EXPECT_STREQ(r.clamp_text, c.clamp_text) << c.name << " " << c.x;
    EXPECT_EQ(r.snapped, c.snapped) << c.name << " " << c.x;
    EXPECT_EQ(r.control, c.control) << c.name << " " << c.x;
  }
}

TEST(TypedStepTest, TableIndexFromTheSliderEnd) {
  EXPECT_EQ(ApplyTypedStep(kCompReleaseEntry, 0.35), 27);
  EXPECT_EQ(ApplyTypedStep(kCompAttackEntry, 5), 29);
  EXPECT_EQ(ApplyTypedStep(kGateReleaseEntry, 100), 9);
  EXPECT_EQ(ApplyTypedStep(kGateAttackEntry, 40), 15);
  EXPECT_EQ(ApplyTypedStep(kLimReleaseEntry, 2.05), 30);
  EXPECT_EQ(ApplyTypedStep(kLimAttackEntry, 250), 7);
}

TEST(FrequencyClampTest, TwentyToTwentyThousand) {
  EXPECT_STREQ(FrequencyClampText(25000), "20000");
  EXPECT_STREQ(FrequencyClampText(19.9), "20");
  EXPECT_EQ(FrequencyClampText(20), nullptr);
  EXPECT_EQ(FrequencyClampText(20000), nullptr);
}

TEST(RatioEntryTest, NumberBeforeTheColon) {
  EXPECT_EQ(RatioEntry("4:1", false), 28);
  EXPECT_EQ(RatioEntry("4", false), 28);
  EXPECT_EQ(RatioEntry(" 32:1 ", false), 0);
  EXPECT_EQ(RatioEntry("1", false), 30);   // index 0, ratio 2:1
  EXPECT_EQ(RatioEntry("4,5", true), 28);  // half way 4 / 5: ratio 4
  EXPECT_EQ(RatioEntry("", false), std::nullopt);
  EXPECT_EQ(RatioEntry("   ", false), std::nullopt);
  EXPECT_EQ(RatioEntry("x:1", false), std::nullopt);
}

TEST(DelayEntryTest, MetresMillisecondsLimitsAndSteps) {
  struct Case {
    const char* text;
    bool input;
    int unit;
    bool comma;
    std::optional<DelaySteps> steps;
  };
  const Case cases[] = {
      {"200", false, 1, false, DelaySteps{270, 96}},  // 115.93932 m = 340.998 ms, then 270.9981
      {"200", true, 1, false, DelaySteps{340, 96}},
      {"12.5", true, 0, false, DelaySteps{12, 48}},
      {"12.52 ms", true, 0, false, DelaySteps{12, 50}},
      {"4.2568", true, 1, false, DelaySteps{12, 50}},  // 12.52 ms in metres
      {"400", true, 0, false, DelaySteps{340, 96}},
      {"300", false, 0, false, DelaySteps{270, 96}},
      {"-3", true, 0, false, DelaySteps{0, 0}},
      {"-0.5", true, 0, false, DelaySteps{0, 48}},  // the fraction above −1 counts
      {"12,5", true, 0, true, DelaySteps{12, 48}},
      {"12.5", true, 0, true, DelaySteps{12, 48}},
      {"", true, 0, false, std::nullopt},
      {"  ", true, 0, false, std::nullopt},
      {"ms", true, 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DelayEntry(c.text, c.input, c.unit, c.comma), c.steps) << '"' << c.text << '"';
  }
}

TEST(QEntryTest, FirstFourCharactersAsACodeOfTheBandType) {
  struct Case {
    const char* text;
    int type;
    bool comma;
    std::optional<int> code;
  };
  const Case cases[] = {
      {"12.345", 0, false, 59},  // "12.3" → 12.0
      {"12.39", 0, false, 59},   // "12.3", although 12.39 itself is nearer 12.7
      {"2.4", 0, false, 31},
      {"200", 0, false, 100},
      {"2.4", 6, false, 46},    // LoShQ: 0.1 + 0.05 × 46
      {"0.1251", 3, false, 0},  // "0.12"
      {"9", 3, false, 100},     // above the range
      {"8", 13, false, 4},      // BP: code + 4
      {"3", 14, false, 0},      // below the range
      {" 2,4 ", 0, true, 31},
      {"", 0, false, std::nullopt},
      {"ab", 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QEntry(c.text, c.type, c.comma), c.code) << '"' << c.text << "\" type " << c.type;
  }
}

}  // namespace
}  // namespace velmark
