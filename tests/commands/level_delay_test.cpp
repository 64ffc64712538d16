#include "commands/level_delay.h"

#include <gtest/gtest.h>

#include "commands/builder_fixture.h"
#include "model/number_text.h"

namespace velmark {
namespace {

using testing::BuilderFixture;
using testing::Packet;

TEST(SendLevelTest, SliderGivesWordTextRecordKnobAndPacket) {
  struct Case {
    int slot, slider;
    const char* text;
    double gain;
    std::uint8_t command, d0, hi, lo;
    int knob_top;
  };
  const Case cases[] = {
      {3, 0, "0", 0.0, CmdGain, 3, 0x01, 0x2C, 360},
      {9, 300, "-18", -18.0, CmdAuxGain, 4, 0x00, 0x00, 1580},
      {0, 213, "-21.3", -21.3, CmdGain, 0, 0x00, 0x57, 1226},
      {8, 0, "12", 12.0, CmdAuxGain, 0, 0x01, 0x2C, 360},
      {8, 120, "0", 0.0, CmdAuxGain, 0, 0x00, 0xB4, 848},
      {7, 299, "-29.9", -29.9, CmdGain, 7, 0x00, 0x01, 1576},
      // Next to 0 dB, where a difference of binary quotients leaves noise in the text.
      {1, 1, "-0.1", -0.1, CmdGain, 1, 0x01, 0x2B, 364},
      {8, 119, "0.1", 0.1, CmdAuxGain, 0, 0x00, 0xB5, 844},
  };
  for (const Case& c : cases) {
    BuilderFixture fx;
    fx.W().Slider1(c.slot).SetValue(c.slider);
    SendLevel(fx.core, c.slot);
    EXPECT_EQ(fx.W().GainText(c.slot).Text(), c.text) << c.slot;
    EXPECT_EQ(fx.Rec().LevelGain[c.slot], c.gain) << c.slot;  // exactly the decimal shown
    EXPECT_EQ(fx.W().GainSl(c.slot).Top(), c.knob_top) << c.slot;
    EXPECT_EQ(fx.Img()[LevelAddr[c.slot]], c.hi) << c.slot;
    EXPECT_EQ(fx.Img()[LevelAddr[c.slot] + 1], c.lo) << c.slot;
    EXPECT_EQ(fx.Sent(), (std::vector{Packet(c.command, {c.d0, 0, 0, 0, 0, 0, c.hi, c.lo})}))
        << c.slot;
  }
}

TEST(SendLevelTest, DecimalCommaShowsCommaAndKeepsTheValue) {
  BuilderFixture fx;
  fx.st.DecimalIsComma = true;
  fx.W().Slider1(0).SetValue(213);
  SendLevel(fx.core, 0);
  EXPECT_EQ(fx.W().GainText(0).Text(), "-21,3");
  EXPECT_EQ(fx.Rec().LevelGain[0], -21.3);
}

TEST(SendDelayTest, ControlsGiveTextRecordBytesAndPacket) {
  struct Case {
    int channel, coarse, fine, unit;
    const char* text;
    std::uint8_t d5, d6, d7;
  };
  const Case cases[] = {
      {0, 12, 50, 0, "12.52", 0x00, 0x0C, 0x32},
      {0, 12, 50, 1, "4.2568", 0x00, 0x0C, 0x32},
      {3, 340, 96, 0, "340.998", 0x01, 0x54, 0x60},
      {1, 0, 65, 0, "0.676", 0x00, 0x00, 0x41},  // 0.676 exactly, not one step below
      {2, 16, 15, 0, "16.156", 0x00, 0x10, 0x0F},
      {7, 270, 96, 1, "92.13932", 0x01, 0x0E, 0x60},
      {4, 0, 0, 0, "0", 0, 0, 0},
  };
  for (const Case& c : cases) {
    BuilderFixture fx;
    fx.Rec().DelayUnit = static_cast<std::int16_t>(c.unit);
    fx.W().UpDown2(c.channel).SetValue(c.coarse);
    fx.W().UpDown1(c.channel).SetValue(c.fine);
    SendDelay(fx.core, c.channel);
    EXPECT_EQ(fx.W().Text2(c.channel).Text(), c.text) << c.coarse << "/" << c.fine;
    EXPECT_EQ(fx.Rec().DelayCoarse[c.channel], c.coarse);
    EXPECT_EQ(fx.Rec().DelayFine[c.channel], c.fine);
    const int a = DelayAddr[c.channel];
    EXPECT_EQ(fx.Img()[a], c.d5);
    EXPECT_EQ(fx.Img()[a + 1], c.d6);
    EXPECT_EQ(fx.Img()[a + 2], c.d7);
    EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdDelay, {static_cast<std::uint8_t>(c.channel), 0, 0,
                                                        0, 0, c.d5, c.d6, c.d7})}));
  }
}

TEST(SendDelayTest, ValueThatDoesNotFitItsByteChangesNothingAndSendsNothing) {
  BuilderFixture fx;
  fx.W().Text2(2).SetText("old");
  fx.W().UpDown1(2).SetRange(0, 1000);
  fx.W().UpDown1(2).SetValue(300);
  fx.W().UpDown2(2).SetValue(5);
  const ParamImage before = fx.Img();
  SendDelay(fx.core, 2);
  EXPECT_EQ(fx.W().Text2(2).Text(), "old");
  EXPECT_EQ(fx.Rec().DelayCoarse[2], 0);
  EXPECT_EQ(fx.Img(), before);
  EXPECT_TRUE(fx.Sent().empty());
}

TEST(SendDelayUnitTest, RelabelsEveryDelayAndSendsOnlyTheSetting) {
  BuilderFixture fx;
  for (int n = 0; n < kChannelCount; ++n) {
    fx.W().UpDown2(n).SetValue(10 * n);
    fx.W().UpDown1(n).SetValue(50);
  }
  SendDelayUnit(fx.core, 1);
  EXPECT_EQ(fx.Rec().DelayUnit, 1);
  EXPECT_EQ(fx.Img()[kDelayUnitAddr], 1);
  EXPECT_EQ(fx.W().Option1(1).ForeColor(), kOrange);
  EXPECT_EQ(fx.W().Option1(0).ForeColor(), kLightGrey);
  for (int n = 0; n < kChannelCount; ++n) {
    EXPECT_EQ(fx.W().FrameDly(n).Caption(), "Delay [ m ]");
    EXPECT_EQ(fx.W().Text2(n).Text(), NumberText((10 * n + 0.52) * 0.34, false)) << n;
    EXPECT_EQ(fx.Rec().DelayCoarse[n], 0);  // record delays untouched
  }
  EXPECT_EQ(fx.W().Text2(1).Text(), "3.5768");
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdSystemSetting, {1, 0, 0, 0, 0, 0, 0, 1})}));

  fx.ClearSent();
  SendDelayUnit(fx.core, 0);
  EXPECT_EQ(fx.W().FrameDly(5).Caption(), "Delay [ ms ]");
  EXPECT_EQ(fx.W().Text2(1).Text(), "10.52");
  EXPECT_EQ(fx.W().Option1(0).ForeColor(), kOrange);
  EXPECT_EQ(fx.W().Option1(1).ForeColor(), kLightGrey);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdSystemSetting, {1, 0, 0, 0, 0, 0, 0, 0})}));
}

TEST(SendPolarityTest, MaskIsRebuiltFromAllEightFlags) {
  BuilderFixture fx;
  fx.Rec().Polarity[0] = 1;
  fx.Rec().Polarity[2] = 1;
  fx.Img()[PolarityMaskAddr] = 0xFF;  // stale bits are dropped by the rebuild
  fx.W().Check2(5).SetValue(1);
  SendPolarity(fx.core, 5);
  EXPECT_EQ(fx.Img()[PolarityMaskAddr], 0x25);
  EXPECT_EQ(fx.Rec().Polarity[5], 1);
  EXPECT_EQ(fx.W().Check2(5).ForeColor(), kOrange);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdPolarity, {5, 0, 0, 0, 0, 0, 0, 1})}));

  fx.ClearSent();
  fx.W().Check2(0).SetValue(0);
  SendPolarity(fx.core, 0);
  EXPECT_EQ(fx.Img()[PolarityMaskAddr], 0x24);
  EXPECT_EQ(fx.W().Check2(0).ForeColor(), kLightGrey);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdPolarity, {0, 0, 0, 0, 0, 0, 0, 0})}));
}

TEST(SendMuteTest, PictureMaskAndPacketFollowTheRecord) {
  BuilderFixture fx;
  fx.Rec().Mute[4] = 1;
  fx.Rec().Mute[6] = 1;
  SendMute(fx.core, 6);
  EXPECT_EQ(fx.W().ImgMute(6).Picture(), "mute-on");
  EXPECT_EQ(fx.Img()[MuteMaskAddr], 0x50);
  fx.Rec().Mute[6] = 0;
  SendMute(fx.core, 6);
  EXPECT_EQ(fx.W().ImgMute(6).Picture(), "mute-off");
  EXPECT_EQ(fx.Img()[MuteMaskAddr], 0x10);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdMute, {6, 0, 0, 0, 0, 0, 0, 1}),
                                    Packet(CmdMute, {6, 0, 0, 0, 0, 0, 0, 0})}));
}

TEST(ChannelBuildersTest, IndexOutsideTheirRangeDoesNothing) {
  BuilderFixture fx;
  const ParamImage before = fx.Img();
  SendLevel(fx.core, 10);
  SendLevel(fx.core, -1);
  SendDelay(fx.core, 8);
  SendDelayUnit(fx.core, 2);
  SendPolarity(fx.core, 8);
  SendMute(fx.core, -1);
  EXPECT_EQ(fx.Img(), before);
  EXPECT_TRUE(fx.Sent().empty());
}

TEST(ChannelBuildersTest, FailedPacketLeavesRecordImageAndWindowChanged) {
  BuilderFixture fx;
  fx.FailFrom(0);
  fx.W().Slider1(2).SetValue(100);
  SendLevel(fx.core, 2);
  EXPECT_EQ(fx.Sent().size(), 1u);
  EXPECT_EQ(fx.W().GainText(2).Text(), "-10");
  EXPECT_EQ(fx.Rec().LevelGain[2], -10.0);
  EXPECT_EQ(ReadWord(fx.Img(), LevelAddr[2]), 200);
}

}  // namespace
}  // namespace velmark
