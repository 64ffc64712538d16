#include "model/defaults.h"

#include <gtest/gtest.h>

#include <string>

namespace velmark {
namespace {

int Word(int addr) {
  return DefaultImage[addr] * 256 + DefaultImage[addr + 1];
}

std::string Text(int addr, int size) {
  return std::string(DefaultImage.begin() + addr, DefaultImage.begin() + addr + size);
}

TEST(DefaultImage, FirstBytesAreInputALevelAndDelay) {
  EXPECT_EQ(DefaultImage[0], 1);
  EXPECT_EQ(DefaultImage[1], 44);
  EXPECT_EQ(DefaultImage[2], 0);
  EXPECT_EQ(DefaultImage[3], 0);
}

TEST(DefaultImage, LevelsDelaysAndDynamics) {
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_EQ(Word(LevelAddr[ch]), 300) << ch;
    EXPECT_EQ(Word(DelayAddr[ch]), 0) << ch;
    EXPECT_EQ(DefaultImage[DelayAddr[ch] + 2], 0) << ch;
    const int comp[] = {150, 30, 0, 10, 2, 120};
    for (int i = 0; i < kCompBytes; ++i) EXPECT_EQ(DefaultImage[CompAddr[ch] + i], comp[i]);
  }
  for (int a : {0, 88, 176, 264, 360, 448, 536, 624}) EXPECT_EQ(Word(a), 300) << a;
  EXPECT_EQ(Word(784), 180);
  EXPECT_EQ(Word(786), 180);
  // Both default level words mean 0 dB in their own scale.
  EXPECT_EQ(Word(LevelAddr[0]) / 10.0 - LevelOffsetDb(0), 0.0);
  EXPECT_EQ(Word(LevelAddr[8]) / 10.0 - LevelOffsetDb(8), 0.0);
  for (int ch = 0; ch < kInputCount; ++ch) {
    const int gate[] = {1, 0, 2, 2};
    for (int i = 0; i < kGateBytes; ++i) EXPECT_EQ(DefaultImage[GateAddr[ch] + i], gate[i]);
  }
  for (int ch = kInputCount; ch < kChannelCount; ++ch) {
    const int lim[] = {150, 10, 2};
    for (int i = 0; i < kLimBytes; ++i) EXPECT_EQ(DefaultImage[LimAddr[ch] + i], lim[i]);
  }
}

TEST(DefaultImage, EqBands) {
  const int bell_freqs[] = {20, 40, 80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  struct Band {
    int type, freq, shape;
  };
  auto band = [](int b) {
    const int a = EqBandAddr[b];
    EXPECT_EQ(DefaultImage[a + 4], 30) << "gain code of band " << b;
    return Band{DefaultImage[a], Word(a + 1), DefaultImage[a + 3]};
  };
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const bool input = IsInputChannel(ch);
    if (input) {
      const Band low = band(BandOf(ch, 0)), high = band(BandOf(ch, 12));
      EXPECT_EQ(low.type, 6);
      EXPECT_EQ(low.freq, 100);
      EXPECT_EQ(low.shape, 46);
      EXPECT_EQ(high.type, 3);
      EXPECT_EQ(high.freq, 10000);
      EXPECT_EQ(high.shape, 46);
    }
    for (int i = 0; i < 11; ++i) {
      const Band bell = band(BandOf(ch, input ? i + 1 : i));
      EXPECT_EQ(bell.type, 0) << ch << "/" << i;
      EXPECT_EQ(bell.freq, bell_freqs[i]) << ch << "/" << i;
      EXPECT_EQ(bell.shape, 31) << ch << "/" << i;
    }
    EXPECT_EQ(Word(EqMaskAddr[ch]), 0) << ch;
  }
  EXPECT_EQ(EqQTable[31], 2.4);
}

TEST(DefaultImage, NamesAndProgram) {
  const char* names[] = {"In A  ", "In B  ", "In C  ", "In D  ",
                         "Out 1 ", "Out 2 ", "Out 3 ", "Out 4 "};
  for (int ch = 0; ch < kChannelCount; ++ch) EXPECT_EQ(Text(NameAddr[ch], 6), names[ch]);
  EXPECT_EQ(Text(768, 16), "Default         ");
  EXPECT_EQ(DefaultImage[799], 255);
}

TEST(DefaultImage, RoutingDiagonalsAndCrossovers) {
  for (int o = 0; o < 4; ++o) {
    EXPECT_EQ(DefaultImage[InRouteAddr[o]], 1 << o);
    EXPECT_EQ(DefaultImage[OutRouteAddr[o]], 1 << o);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(DefaultImage[InRouteLevelAddr[4 * o + i]], 30);
      EXPECT_EQ(DefaultImage[OutRouteLevelAddr[4 * o + i]], 30);
    }
    for (int i = 5; i < 16; ++i) EXPECT_EQ(DefaultImage[OutRouteAddr[o] + i], 0);
    EXPECT_EQ(Word(XoverAddr[2 * o]), 20);
    EXPECT_EQ(DefaultImage[XoverAddr[2 * o] + 2], 0);
    EXPECT_EQ(Word(XoverAddr[2 * o + 1]), 16000);
    EXPECT_EQ(DefaultImage[XoverAddr[2 * o + 1] + 2], 0);
  }
}

TEST(DefaultImage, UnitWideMasks) {
  EXPECT_EQ(DefaultImage[PolarityMaskAddr], 0);
  EXPECT_EQ(DefaultImage[MuteMaskAddr], 0xF0);
  EXPECT_EQ(DefaultImage[EqBypassMaskAddr], 0);
  EXPECT_EQ(DefaultImage[CompBypassMaskAddr], 0xFF);
  EXPECT_EQ(DefaultImage[LimBypassMaskAddr], 0xF0);
  for (int a : {788, 789, 790, 791, 797, 798}) EXPECT_EQ(DefaultImage[a], 0) << a;
}

TEST(CopyDefaultImage, WritesOnlyTheParameterBytes) {
  ParamImage img;
  img.fill(0x5A);
  CopyDefaultImage(img);
  for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(img[a], DefaultImage[a]) << a;
  for (int a = kParamBytes; a < kImageSize; ++a) ASSERT_EQ(img[a], 0x5A) << a;
}

TEST(Passwords, FixedAndMadeOfAllowedCharacters) {
  EXPECT_EQ(FactoryPassword.size(), 6u);
  EXPECT_EQ(MasterPassword.size(), 6u);
  EXPECT_NE(FactoryPassword, MasterPassword);
  for (int i = 0; i < kPasswordLength; ++i) {
    EXPECT_EQ(PasswordCharSet[static_cast<int>(FactoryPasswordCodes[i])],
              FactoryPassword.substr(i, 1));
  }
  EXPECT_TRUE(IsValidPassword("Ab 9zZ"));
  EXPECT_FALSE(IsValidPassword("ab#123"));
  EXPECT_FALSE(IsValidPassword("12345"));
  const auto codes = PasswordCodesOf("A#");  // disallowed and missing characters count as blank
  EXPECT_EQ(codes[0], 11.0);
  for (int i = 1; i < kPasswordLength; ++i) EXPECT_EQ(codes[i], 0.0);
}

}  // namespace
}  // namespace velmark
