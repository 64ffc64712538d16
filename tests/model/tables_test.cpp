#include "model/tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velmark {
namespace {

TEST(FreqGrid, TellingEntries) {
  ASSERT_EQ(FreqGrid.size(), 1584u);
  const struct {
    int index, hz;
  } cases[] = {{0, 20},       {479, 499},    {480, 500},   {481, 502},   {482, 503},
               {483, 505},    {780, 1000},   {781, 1000},  {782, 1007},  {783, 1013},
               {1081, 3000},  {1082, 3000},  {1083, 3023}, {1084, 3047}, {1382, 10000},
               {1383, 10000}, {1384, 10050}, {1583, 20000}};
  for (const auto& c : cases) EXPECT_EQ(FreqGrid[c.index], c.hz) << "entry " << c.index;
}

TEST(FreqGrid, NonDecreasingAndRepeatsOnlyAtSegmentJoins) {
  for (int i = 1; i < kGridPoints; ++i) {
    ASSERT_LE(FreqGrid[i - 1], FreqGrid[i]) << "entry " << i;
    const bool join = i == 781 || i == 1082 || i == 1383;
    EXPECT_EQ(FreqGrid[i - 1] == FreqGrid[i], join) << "entry " << i;
  }
}

TEST(EqTypes, NamesCaptionsAndEnabledControls) {
  EXPECT_EQ(EqTypeNames[0], "Bell");
  EXPECT_EQ(EqTypeNames[6], "LoShQ");
  EXPECT_EQ(EqTypeNames[16], "AP-2");
  EXPECT_EQ(EqTypeMenuCaptions[1], "Hi-Shelving 1st");
  EXPECT_EQ(EqTypeMenuCaptions[13], "Band Pass Filter");
  EXPECT_EQ(EqTypeMenuCaptions[16], "All Pass 2nd");
  // Types with gain: Bell, the six shelves and the band-pass; with Q: every "Q" type plus
  // Bell, band-pass, notch and the 2nd-order all-pass.
  const std::string gain = "11111110000001000", q = "10010010010011101";
  for (int t = 0; t < kEqTypeCount; ++t) {
    EXPECT_EQ(EqTypeHasGain[t], gain[t] == '1') << "type " << t;
    EXPECT_EQ(EqTypeHasQ[t], q[t] == '1') << "type " << t;
  }
}

TEST(EqQTable, ListedEntries) {
  EXPECT_EQ(EqQTable[0], 0.4);
  EXPECT_EQ(EqQTable[3], 0.47);
  EXPECT_EQ(EqQTable[16], 1.0);
  EXPECT_EQ(EqQTable[31], 2.4);
  EXPECT_EQ(EqQTable[56], 10.1);
  EXPECT_EQ(EqQTable[95], 96.0);
  EXPECT_EQ(EqQTable[100], 128.0);
  EXPECT_TRUE(std::is_sorted(EqQTable.begin(), EqQTable.end()));
  EXPECT_EQ(std::adjacent_find(EqQTable.begin(), EqQTable.end()), EqQTable.end());
}

TEST(ShelfCorner, SymmetricWithListedValues) {
  for (int g = 0; g <= 60; ++g) {
    EXPECT_EQ(ShelfCorner1[g], ShelfCorner1[60 - g]) << g;
    EXPECT_EQ(ShelfCorner2[g], ShelfCorner2[60 - g]) << g;
    if (g >= 18 && g <= 42) {
      EXPECT_EQ(ShelfCorner1[g], 1.0) << g;
      EXPECT_EQ(ShelfCorner2[g], 1.0) << g;
    }
  }
  EXPECT_EQ(ShelfCorner1[0], 2.2);
  EXPECT_EQ(ShelfCorner1[60], 2.2);
  EXPECT_EQ(ShelfCorner1[17], 1.07);
  EXPECT_EQ(ShelfCorner1[43], 1.07);
  EXPECT_EQ(ShelfCorner2[2], 1.335);
  EXPECT_EQ(ShelfCorner2[45], 1.085);
  EXPECT_EQ(ShelfCorner2[17], 1.03);
}

TEST(StepTables, SizesAndEnds) {
  EXPECT_EQ(GateReleaseTimes.front(), "10");
  EXPECT_EQ(GateReleaseTimes.back(), "1000");
  EXPECT_EQ(GateAttackTimes[9], "10");
  EXPECT_EQ(GateAttackTimes[10], "15");
  EXPECT_EQ(GateAttackTimes[12], "30");
  EXPECT_EQ(GateAttackTimes.back(), "1000");
  EXPECT_EQ(CompAttackTimes.front(), 5.0);
  EXPECT_EQ(CompAttackTimes[15], 20.0);
  EXPECT_EQ(CompAttackTimes[16], 25.0);
  EXPECT_EQ(CompAttackTimes.back(), 200.0);
  EXPECT_EQ(LimAttackTimes[19], "20");
  EXPECT_EQ(LimAttackTimes[33], "200");
  EXPECT_EQ(LimAttackTimes.back(), "900");
  EXPECT_EQ(LimReleaseTimes.front(), "0.1");
  EXPECT_EQ(LimReleaseTimes[9], "1.0");
  EXPECT_EQ(LimReleaseTimes.back(), "5.0");
}

TEST(StepTables, CompReleaseIsTheDecimalLiteral) {
  // The shown text is the shortest decimal form, so 0.3 must not be 0.30000000000000004.
  const double literals[] = {0.1, 0.2, 0.3, 0.7, 1.1, 2.3, 2.9, 3.0};
  const int index[] = {0, 1, 2, 6, 10, 22, 28, 29};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(CompReleaseTimes[index[i]], literals[i]);
}

TEST(StepTables, AscendingNumerically) {
  auto ascending = [](const auto& table) {
    for (std::size_t i = 1; i < table.size(); ++i) {
      if (std::stod(std::string(table[i - 1])) >= std::stod(std::string(table[i]))) return false;
    }
    return true;
  };
  EXPECT_TRUE(ascending(GateReleaseTimes));
  EXPECT_TRUE(ascending(GateAttackTimes));
  EXPECT_TRUE(ascending(LimReleaseTimes));
  EXPECT_TRUE(ascending(LimAttackTimes));
  EXPECT_TRUE(std::is_sorted(CompAttackTimes.begin(), CompAttackTimes.end()));
}

TEST(Bands, NumberingCoversAllBandsOnce) {
  int next = 0;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_EQ(BandStart[ch], next);
    EXPECT_EQ(BandLast[ch], IsInputChannel(ch) ? 12 : 10);
    for (int i = 0; i <= BandLast[ch]; ++i, ++next) {
      EXPECT_EQ(BandOf(ch, i), next);
      EXPECT_EQ(ChannelOfBand(next), ch) << "band " << next;
    }
    EXPECT_EQ(ChannelBit[ch] | ChannelClearMask[ch], 0xFF);
    EXPECT_EQ(ChannelBit[ch] & ChannelClearMask[ch], 0);
    EXPECT_EQ(ChannelBit[ch], 1 << ch);
  }
  EXPECT_EQ(next, kBandCount);
  EXPECT_EQ(XoverIndex(4, 0), 0);
  EXPECT_EQ(XoverIndex(7, 1), 7);
  EXPECT_EQ(LevelOffsetDb(7), 30);
  EXPECT_EQ(LevelOffsetDb(8), 18);
}

TEST(Texts, JoinedAndListedTexts) {
  std::string empty;
  for (auto c : EmptyProgramName) {
    EXPECT_EQ(c.size(), 1u);
    empty += c;
  }
  EXPECT_EQ(empty, "Program Empty   ");
  EXPECT_EQ(kEmptyProgramNameText, "Program Empty   ");

  EXPECT_EQ(PasswordCharSet.size(), 63u);
  EXPECT_EQ(PasswordCharSet[0], " ");
  EXPECT_EQ(PasswordCharSet[1], "0");
  EXPECT_EQ(PasswordCharSet[10], "9");
  EXPECT_EQ(PasswordCharSet[11], "A");
  EXPECT_EQ(PasswordCharSet[36], "Z");
  EXPECT_EQ(PasswordCharSet[37], "a");
  EXPECT_EQ(PasswordCharSet[62], "z");
  EXPECT_EQ(PasswordCharIndex('a'), 37);
  EXPECT_EQ(PasswordCharIndex('#'), -1);
  EXPECT_EQ(PasswordCharIndex('\0'), -1);

  EXPECT_EQ(DelayUnitSuffix[0], " ms");
  EXPECT_EQ(DelayUnitSuffix[1], " m");
  EXPECT_EQ(XoverSlopeNames.front(), "  No cut-off");
  EXPECT_EQ(XoverSlopeNames[1], "- 6 dB/oct Bw");
  EXPECT_EQ(XoverSlopeNames[7], "-24dB/oct Lz");
  EXPECT_EQ(XoverSlopeNames.back(), "-48dB/oct Lz");
  EXPECT_EQ(InputSourceNames[1], "Digital SP/DIF");
  EXPECT_EQ(NoiseTypeNames[1], "Pink Noise");
  EXPECT_EQ(kDefaultUnitName, " VELMARK ");
  EXPECT_EQ(MeterSegments.back(), 127);
}

TEST(Colours, VbStyleValues) {
  EXPECT_EQ(kOrange, 33023u);
  EXPECT_EQ(kLightGrey, 12632256u);
  EXPECT_EQ(ChannelColour[0], 255u);       // red
  EXPECT_EQ(ChannelColour[1], 0xFF0000u);  // blue sits in the high byte
  EXPECT_EQ(ChannelColour[4], 0xC0C000u);  // teal 0, 192, 192
  EXPECT_EQ(ChannelColour[7], kOrange);
}

}  // namespace
}  // namespace velmark
