#include "commands/decode_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "commands/builder_fixture.h"
#include "commands/level_delay.h"
#include "model/defaults.h"

namespace velmark {
namespace {

using testing::BuilderFixture;
using testing::Packet;

// The default parameters with the system bytes a fresh unit reports.
ParamImage DefaultUnitImage() {
  ParamImage img{};
  CopyDefaultImage(img);
  img[kDelayUnitAddr] = 0;
  img[NoiseTypeAddr(1)] = 1;
  img[NoiseLevelAddr(1)] = 30;
  img[NoiseLevelAddr(0)] = 40;
  return img;
}

void Decode(BuilderFixture& fx) {
  fx.st.SendSuppressed = true;
  DecodeImage(fx.core);
  fx.st.SendSuppressed = false;
}

TEST(DecodeImageTest, DefaultImageFillsRecordAndControlsAndSendsOnlyTheLinkMask) {
  BuilderFixture fx;
  fx.Img() = DefaultUnitImage();
  const ParamImage before = fx.Img();
  fx.st.LinkMask[0] = 0x21;
  Decode(fx);

  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, 0x21})}));
  EXPECT_FALSE(fx.st.SendSuppressed);
  EXPECT_FALSE(fx.st.UpdatingControls);
  EXPECT_FALSE(fx.st.DrawSuppressed);
  EXPECT_EQ(fx.Img(), before);

  const DeviceSettings& rec = fx.Rec();
  EditControls& w = fx.W();
  for (int s = 0; s < kLevelSlots; ++s) {
    EXPECT_EQ(rec.LevelGain[s], 0.0) << s;
    EXPECT_EQ(w.GainText(s).Text(), "0") << s;
    EXPECT_EQ(w.Slider1(s).Value(), s < 8 ? 0 : 120) << s;
  }
  for (int n = 0; n < kChannelCount; ++n) {
    EXPECT_EQ(rec.Mute[n], n >= 4 ? 1 : 0);
    EXPECT_EQ(rec.CompBypass[n], 1);
    EXPECT_EQ(rec.LimBypass[n], n >= 4 ? 1 : 0);
    EXPECT_EQ(w.ImgMute(n).Picture(), n >= 4 ? "mute-on" : "mute-off");
    EXPECT_EQ(w.Text2(n).Text(), "0");
    EXPECT_EQ(w.FrameDly(n).Caption(), "Delay [ ms ]");
    EXPECT_EQ(fx.st.LinkFlag[0][n], (0x21 >> n) & 1);
    EXPECT_EQ(w.CheckLinkOut(n).Value(), (0x21 >> n) & 1);
    EXPECT_EQ(w.LblLinkOut(n).ForeColor(), (0x21 >> n) & 1 ? 33023u : 12632256u);
  }
  EXPECT_EQ(fx.st.LinkMask[0], 0x21);
  for (int b = 0; b < kBandCount; ++b) {
    EXPECT_EQ(rec.EqGain[b], 0.0);
    EXPECT_EQ(rec.EqQ[b], 2.4) << b;
  }
  EXPECT_EQ(rec.EqType[0], 6);
  EXPECT_EQ(rec.EqFreq[0], 100);
  EXPECT_EQ(rec.EqFreq[BandOf(4, 10)], 16000);
  EXPECT_EQ(rec.XoverFreq[0], 20);
  EXPECT_EQ(rec.XoverFreq[7], 16000);
  for (int p = 0; p < 16; ++p) {
    const int on = p % 5 == 0 ? 1 : 0;  // the diagonal
    EXPECT_EQ(w.CheckSRout(p).Value(), on) << p;
    EXPECT_EQ(w.CheckFRout(p).Value(), on) << p;
    EXPECT_EQ(w.TextSRout(p).Text(), "0");
    EXPECT_EQ(w.LineOut1(p).Visible(), on == 1) << p;
    EXPECT_EQ(w.UpDownFRout(p).Enabled(), on == 1) << p;
  }
  EXPECT_TRUE(w.Option1(0).Value());
  EXPECT_EQ(w.Option1(0).ForeColor(), kOrange);
  EXPECT_TRUE(w.Option2(0).Value());
  EXPECT_TRUE(w.Option2(3).Value());
  EXPECT_TRUE(w.OptionNoiseLev(0).Value());
  EXPECT_TRUE(w.OptionNoiseLev(3).Value());
  EXPECT_EQ(rec.NoiseLevel[1], 30);
  EXPECT_EQ(w.TextNoiseLev(1).Text(), "-10");
  EXPECT_EQ(fx.st.ChannelNames[0][0], "In A  ");
  EXPECT_EQ(fx.st.ChannelNames[0][7], "Out 4 ");
  EXPECT_EQ(w.LblNameTab(4).Caption(), "Out 1");
  EXPECT_EQ(w.LabelRoutFin(3).Caption(), "Out 4");
  // Responses were computed for the decoded configuration: a flat channel is 0 dB.
  EXPECT_NEAR(fx.st.Responses(0).ChannelResponse[1][800], 0.0, 1e-9);
}

TEST(DecodeImageTest, FieldEdgeCases) {
  BuilderFixture fx;
  ParamImage img = DefaultUnitImage();
  const int band1 = EqBandAddr[1], band0 = EqBandAddr[0], notch = EqBandAddr[2];
  img[band1 + 3] = 3;  // Bell: EqQTable[3]
  img[band0 + 3] = 3;  // shelving type 6: 0.1 + 0.05 × 3
  img[notch] = 14;
  img[notch + 3] = 3;
  img[EqBandAddr[3] + 4] = 40;  // +5 dB, but switched off below
  WriteWord(img, EqMaskAddr[0], 1 << 3);
  img[EqBandAddr[4] + 3] = 200;  // Bell code beyond the table
  img[EqBandAddr[5] + 4] = 31;   // an odd gain code: the half-dB step above 0 dB
  img[EqBandAddr[6] + 4] = 7;    // −11.5 dB
  img[kInputSourceAddr] = 7;
  img[kInputSourceAddr + 1] = 2;
  fx.Img() = img;
  Decode(fx);

  const DeviceSettings& rec = fx.Rec();
  EXPECT_EQ(rec.EqQ[1], 0.47);
  EXPECT_EQ(rec.EqQ[0], 0.25);
  EXPECT_EQ(rec.EqQ[2], 7.0);
  EXPECT_EQ(rec.EqBandBypass[3], 1.0);
  EXPECT_EQ(rec.EqGain[3], 0.0);
  EXPECT_EQ(fx.Img()[EqBandAddr[3] + 4], 40);
  EXPECT_EQ(rec.EqQ[4], EqQTable[100]);
  EXPECT_EQ(rec.EqGain[5], 0.5);
  EXPECT_EQ(rec.EqGain[6], -11.5);
  EXPECT_EQ(fx.Img()[EqBandAddr[4] + 3], 200);
  EXPECT_EQ(rec.InputSourceAB, 0);
  EXPECT_EQ(fx.Img()[kInputSourceAddr], 0);  // rewritten as "Analog Input"
  EXPECT_TRUE(fx.W().Option2(0).Value());
  EXPECT_EQ(rec.InputSourceCD, 2);
  EXPECT_TRUE(fx.W().Option2(5).Value());
}

TEST(DecodeImageTest, BytesNoControlCanShowAreBoundedButKeptInTheImage) {
  BuilderFixture fx;
  ParamImage img = DefaultUnitImage();
  WriteWord(img, LevelAddr[2], 1000);  // above 300
  WriteWord(img, DelayAddr[5], 1000);  // outputs reach 270 ms
  img[DelayAddr[5] + 2] = 200;         // fine steps reach 96
  img[InRouteLevelAddr[5]] = 77;       // levels reach 30
  img[InRouteAddr[1]] = 0xF2;          // high bits belong to no input
  img[kDelayUnitAddr] = 7;
  img[NoiseTypeAddr(0)] = 5;
  img[NoiseLevelAddr(0)] = 90;
  fx.Img() = img;
  Decode(fx);

  EXPECT_EQ(fx.Img(), img);
  const DeviceSettings& rec = fx.Rec();
  EditControls& w = fx.W();
  EXPECT_EQ(w.Slider1(2).Value(), 0);
  EXPECT_EQ(rec.LevelGain[2], 0.0);
  EXPECT_EQ(rec.DelayCoarse[5], 270);
  EXPECT_EQ(rec.DelayFine[5], 96);
  EXPECT_EQ(w.Text2(5).Text(), "270.998");
  EXPECT_EQ(w.TextSRout(5).Text(), "0");
  EXPECT_EQ(w.CheckSRout(5).Value(), 1);
  EXPECT_EQ(w.CheckSRout(4).Value(), 0);
  EXPECT_EQ(rec.DelayUnit, 0);
  EXPECT_TRUE(w.Option1(0).Value());
  EXPECT_EQ(rec.NoiseType[0], 1);
  EXPECT_TRUE(w.OptionNoiseLev(1).Value());
  EXPECT_EQ(rec.NoiseLevel[0], 40);
  EXPECT_EQ(w.TextNoiseLev(0).Text(), "0");
}

TEST(DecodeImageTest, MasterAndChannelZeroDbWords) {
  BuilderFixture fx;
  ParamImage img = DefaultUnitImage();
  WriteWord(img, LevelAddr[9], 0);
  WriteWord(img, LevelAddr[0], 87);
  fx.Img() = img;
  Decode(fx);
  EXPECT_EQ(fx.Rec().LevelGain[8], 0.0);
  EXPECT_EQ(fx.Rec().LevelGain[9], -18.0);
  EXPECT_EQ(fx.Rec().LevelGain[0], -21.3);
  EXPECT_EQ(fx.Rec().LevelGain[1], 0.0);
}

// A window whose guarded handlers are wired as the edit window wires them.
void WireHandlers(BuilderFixture& fx) {
  EditControls& w = fx.W();
  for (int s = 0; s < kLevelSlots; ++s) {
    w.Slider1(s).OnChange = [&fx, s] {
      if (!fx.st.UpdatingControls) SendLevel(fx.core, s);
    };
  }
  for (int k = 0; k < 2; ++k) {
    w.Option1(k).OnClick = [&fx, k] {
      if (!fx.st.UpdatingControls) SendDelayUnit(fx.core, k);
    };
  }
}

TEST(DecodeImageTest, ResultIsTheSameWithAndWithoutTheWindowsHandlers) {
  ParamImage img = DefaultUnitImage();
  WriteWord(img, LevelAddr[1], 123);
  WriteWord(img, LevelAddr[8], 250);
  img[kDelayUnitAddr] = 1;
  WriteWord(img, DelayAddr[0], 17);
  for (bool second_decode : {false, true}) {
    BuilderFixture plain, wired;
    WireHandlers(wired);
    for (BuilderFixture* fx : {&plain, &wired}) {
      if (second_decode) {
        fx->Img() = DefaultUnitImage();  // a first decode leaves other values in the controls
        Decode(*fx);
      }
      fx->Img() = img;
      fx->ClearSent();
      Decode(*fx);
    }
    EXPECT_EQ(plain.Rec(), wired.Rec());
    EXPECT_EQ(plain.Img(), wired.Img());
    EXPECT_EQ(plain.Sent(), wired.Sent());
    for (int s = 0; s < kLevelSlots; ++s) {
      EXPECT_EQ(plain.W().GainText(s).Text(), wired.W().GainText(s).Text());
    }
    for (int n = 0; n < kChannelCount; ++n) {
      EXPECT_EQ(plain.W().FrameDly(n).Caption(), "Delay [ m ]");
      EXPECT_EQ(wired.W().FrameDly(n).Caption(), "Delay [ m ]");
    }
    EXPECT_EQ(plain.W().Text2(0).Text(), "5.78");
    EXPECT_EQ(plain.Rec().LevelGain[8], 7.0);
  }
}

TEST(DecodeImageTest, LinkFlagsComeBackFromTheMaskAlone) {
  BuilderFixture fx;
  fx.Img() = DefaultUnitImage();
  fx.st.LinkMask[0] = 0x05;
  fx.st.LinkFlag[0] = {1, 1, 1, 1, 0, 0, 0, 1};
  fx.W().CheckLinkOut(1).SetValue(1);
  fx.W().CheckLinkOut(1).OnClick = [&fx] {
    if (!fx.st.UpdatingControls) ADD_FAILURE() << "link box written without UpdatingControls";
  };
  Decode(fx);
  const std::array<std::uint8_t, kChannelCount> flags = {1, 0, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(fx.st.LinkFlag[0], flags);
  EXPECT_EQ(fx.W().CheckLinkOut(1).Value(), 0);
  EXPECT_EQ(fx.W().LblLinkOut(2).ForeColor(), kOrange);
  EXPECT_EQ(fx.W().LblLinkOut(7).ForeColor(), kLightGrey);
}

// Random images, decoded one after another into the same window, never leave the tables or
// the controls' ranges, send exactly the link mask and keep every image byte but the sources.
TEST(DecodeImageTest, AnyImageDecodes) {
  BuilderFixture fx;
  std::mt19937 gen(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  constexpr int kImages = 2000;
  for (int i = 0; i < kImages; ++i) {
    ParamImage img{};
    const int fill = i % 3;  // uniform noise, or mostly 0xFF, or mostly 0
    for (auto& b : img) {
      const int r = byte(gen);
      b = static_cast<std::uint8_t>(fill == 0 ? r : (r < 200 ? (fill == 1 ? 0xFF : 0) : byte(gen)));
    }
    const auto mask = static_cast<std::uint8_t>(byte(gen));
    fx.Img() = img;
    fx.st.LinkMask[0] = mask;
    fx.ClearSent();
    Decode(fx);

    ASSERT_EQ(fx.Sent(), (std::vector{Packet(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, mask})})) << i;
    ParamImage expected = img;
    for (int pair = 0; pair < 2; ++pair) {
      if (expected[InputSourceAddr(pair)] > 2) expected[InputSourceAddr(pair)] = 0;
    }
    ASSERT_EQ(fx.Img(), expected) << i;
    const DeviceSettings& rec = fx.Rec();
    for (int s = 0; s < kLevelSlots; ++s) {
      ASSERT_GE(rec.LevelGain[s], -LevelOffsetDb(s)) << i;
      ASSERT_LE(rec.LevelGain[s], 30 - LevelOffsetDb(s)) << i;
    }
    for (int n = 0; n < kChannelCount; ++n) {
      ASSERT_LE(rec.DelayCoarse[n], 340) << i;
      ASSERT_LE(rec.DelayFine[n], 96) << i;
    }
    for (int b = 0; b < kBandCount; ++b) ASSERT_TRUE(std::isfinite(rec.EqQ[b])) << i;
    ASSERT_LE(rec.InputSourceAB, 2);
    ASSERT_LE(rec.InputSourceCD, 2);
    ASSERT_TRUE(rec.DelayUnit == 0 || rec.DelayUnit == 1);
    ASSERT_LE(rec.NoiseLevel[1], 40);
    for (int ch = 0; ch < kChannelCount; ++ch) {
      for (double v : fx.st.Responses(0).ChannelResponse[ch]) ASSERT_TRUE(std::isfinite(v)) << i;
    }
  }
}

}  // namespace
}  // namespace velmark
