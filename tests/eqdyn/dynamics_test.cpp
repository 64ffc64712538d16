// Noise gate, compressor and limiter builders: packets byte for byte, image codes, texts, knobs.

#include "eqdyn/dynamics.h"

#include <gtest/gtest.h>

#include "eqdyn/eqdyn_fixture.h"

namespace velmark {
namespace {

using testing::EqFixture;
using testing::Pkt;

constexpr int kInC = 2, kOut2 = 5, kOut4 = 7;

TEST(SetNoiseGate, ThresholdEndsAndTheWholeGateGoesOut) {
  struct Case {
    int v0, v1, v2, bypass;
    std::uint8_t thr, rel, att;
    const char *thr_text, *rel_text, *att_text;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 6, 12, 28, "-50", "1000", "1000"},
      {6, 12, 28, 1, 0, 0, 0, "-80", "10", "1"},
      {3, 10, 18, 0, 3, 2, 10, "-65", "50", "15"},
  };
  for (const Case& c : cases) {
    EqFixture f;
    f.ShowChannel(kInC);
    EditControls& w = f.W();
    w.CheckNGByp.SetValue(c.bypass);
    f.Quietly(w.SliderNG(0), c.v0);
    f.Quietly(w.SliderNG(1), c.v1);
    f.Quietly(w.SliderNG(2), c.v2);
    SetNoiseGate(f.core);
    const int g = GateAddr[kInC];
    const auto b = static_cast<std::uint8_t>(c.bypass);
    EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdNoiseGate, {2, 0, 0, 0, b, c.thr, c.rel, c.att})}));
    EXPECT_EQ(f.Img()[g], b);
    EXPECT_EQ(f.Img()[g + 1], c.thr);
    EXPECT_EQ(f.Img()[g + 2], c.rel);
    EXPECT_EQ(f.Img()[g + 3], c.att);
    EXPECT_EQ(w.NGText(0).Text(), c.thr_text);
    EXPECT_EQ(w.NGText(1).Text(), c.rel_text);
    EXPECT_EQ(w.NGText(2).Text(), c.att_text);
    EXPECT_EQ(w.FrameNG.Enabled(), c.bypass == 0);
    EXPECT_EQ(w.CheckNGByp.ForeColor(), c.bypass ? kOrange : kLightGrey);
    EXPECT_EQ(w.NGSl(0).Top(), DynKnobTop(c.v0, 6));
  }
}

TEST(SetNoiseGate, OutputsHaveNoGate) {
  EqFixture f;
  f.ShowChannel(kOut2);
  const ParamImage before = f.Img();
  SetNoiseGate(f.core);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(f.Img(), before);
}

TEST(DynKnobTop, TrackEndsAndRounding) {
  EXPECT_EQ(DynKnobTop(0, 150), 480);
  EXPECT_EQ(DynKnobTop(150, 150), 2500);
  EXPECT_EQ(DynKnobTop(1, 6), 817);   // 816.67
  EXPECT_EQ(DynKnobTop(3, 8), 1238);  // 1237.5, half to even
  EXPECT_EQ(DynKnobTop(15, 40), 1238);
}

TEST(DynamicsTexts, ValuesOfTheCodes) {
  struct Case {
    char family;  // c compressor, l limiter, g gate
    int parameter, code;
    bool comma;
    const char* text;
  };
  const Case cases[] = {
      {'c', 0, 50, false, "0"},    {'c', 0, 51, false, "0.2"},   {'c', 0, 0, false, "-10"},
      {'c', 0, 150, false, "20"},  {'c', 0, 49, true, "-0,2"},   {'c', 1, 0, false, "2:1"},
      {'c', 1, 30, false, "32:1"}, {'c', 2, 100, false, "100"},  {'c', 3, 0, false, "0.1"},
      {'c', 3, 29, true, "3"},     {'c', 3, 6, true, "0,7"},     {'c', 4, 29, false, "200"},
      {'c', 5, 120, false, "0"},   {'c', 5, 121, true, "0,1"},   {'c', 5, 0, false, "-12"},
      {'c', 5, 240, false, "12"},  {'c', 5, 117, false, "-0.3"}, {'l', 0, 63, false, "2.6"},
      {'l', 1, 49, false, "5.0"},  {'l', 2, 40, false, "900"},   {'l', 2, 20, false, "25"},
      {'g', 0, 6, false, "-50"},   {'g', 1, 3, false, "100"},    {'g', 2, 28, false, "1000"},
  };
  for (const Case& c : cases) {
    const std::string text = c.family == 'c'   ? CompText(c.parameter, c.code, c.comma)
                             : c.family == 'l' ? LimText(c.parameter, c.code, c.comma)
                                               : GateText(c.parameter, c.code, c.comma);
    EXPECT_EQ(text, c.text) << c.family << c.parameter << " code " << c.code;
  }
}

TEST(SetCompParam, RatioAloneSendsSelectorOneWithItsNeighbours) {
  EqFixture f;
  f.ShowChannel(kInC);
  const int c = CompAddr[kInC];
  f.Img()[c] = 77;
  f.Img()[c + 2] = 40;
  f.ShowChannel(kInC);
  f.Quietly(f.W().SliderCmp(1), 0);
  SetCompParam(f.core, 1);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdCompressor, {2, 1, 0, 0, 0, 77, 30, 40})}));
  EXPECT_EQ(f.W().CmpText(1).Text(), "32:1");
  EXPECT_EQ(f.W().CmpSl(1).Top(), 480);
  f.Clear();
  f.Quietly(f.W().SliderCmp(1), 30);
  SetCompParam(f.core, 1);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdCompressor, {2, 1, 0, 0, 0, 77, 0, 40})}));
  EXPECT_EQ(f.W().CmpText(1).Text(), "2:1");
  EXPECT_EQ(f.W().CmpSl(1).Top(), 2500);
  EXPECT_EQ(f.Img()[c + 1], 0);
}

TEST(SetCompParam, SelectorsOfTheOutputElements) {
  EqFixture f;
  f.ShowChannel(kOut4);
  const int c = CompAddr[kOut4];
  for (int p = 0; p < 6; ++p) f.Img()[c + p] = static_cast<std::uint8_t>(10 + p);
  f.ShowChannel(kOut4);
  f.Quietly(f.W().SliderCmp(9), 0);  // release at the top: code 29
  SetCompParam(f.core, 9);
  f.Quietly(f.W().SliderCmp(11), 120);  // make-up 0 dB
  SetCompParam(f.core, 11);
  SetCompParam(f.core, 8);
  for (int ignored : {12, 13, -1}) SetCompParam(f.core, ignored);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdCompressor, {7, 2, 0, 0, 0, 0, 29, 14}),
                                      Pkt(CmdCompressor, {7, 3, 0, 0, 0, 0, 0, 120}),
                                      Pkt(CmdCompressor, {7, 1, 0, 0, 0, 10, 11, 12})}));
  EXPECT_EQ(f.W().CmpText(11).Text(), "0");
  EXPECT_EQ(f.W().CmpText(9).Text(), "3");
}

TEST(SetCompBypass, ChannelFiveSetsBit32AndLeavesTheParameters) {
  EqFixture f;
  f.ShowChannel(kOut2);
  f.Img()[CompBypassMaskAddr] = 0;
  const ParamImage before = f.Img();
  f.W().CheckCmp(1).SetValue(1);
  SetCompBypass(f.core, 1);
  EXPECT_EQ(f.Img()[CompBypassMaskAddr], 32);
  EXPECT_EQ(f.Rec().CompBypass[kOut2], 1);
  EXPECT_FALSE(f.W().FrameCmp(1).Enabled());
  EXPECT_EQ(f.W().CheckCmp(1).ForeColor(), kOrange);
  for (int i = 0; i < kImageSize; ++i) {
    if (i != CompBypassMaskAddr) {
      EXPECT_EQ(f.Img()[i], before[i]) << i;
    }
  }
  f.W().CheckCmp(1).SetValue(0);
  SetCompBypass(f.core, 1);
  EXPECT_EQ(f.Img()[CompBypassMaskAddr], 0);
  EXPECT_TRUE(f.W().FrameCmp(1).Enabled());
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdCompressor, {5, 0, 0, 0, 0, 0, 0, 1}),
                                      Pkt(CmdCompressor, {5, 0, 0, 0, 0, 0, 0, 0})}));
}

TEST(Limiter, SwitchAndParameterPackets) {
  EqFixture f;
  f.ShowChannel(kOut2);
  EditControls& w = f.W();
  w.CheckLimByp.SetValue(0);
  SetLimBypass(f.core);
  f.Quietly(w.SliderLim(1), 100);  // code 50 = 0 dBu
  f.Quietly(w.SliderLim(4), 0);    // code 49 = 5.0 s
  f.Quietly(w.SliderLim(5), 40);   // code 0 = 1 ms
  SetLimParams(f.core);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdLimiter, {5, 0, 0, 0, 0, 0, 0, 0}),
                                      Pkt(CmdLimiter, {5, 0xFF, 0, 0, 0, 50, 49, 0})}));
  const int l = LimAddr[kOut2];
  EXPECT_EQ(f.Img()[l], 50);
  EXPECT_EQ(f.Img()[l + 1], 49);
  EXPECT_EQ(f.Img()[l + 2], 0);
  EXPECT_EQ(f.Img()[LimBypassMaskAddr] & 32, 0);
  EXPECT_EQ(f.Rec().LimBypass[kOut2], 0);
  EXPECT_EQ(w.LimText(1).Text(), "0");
  EXPECT_EQ(w.LimText(4).Text(), "5.0");
  EXPECT_EQ(w.LimText(5).Text(), "1");
  EXPECT_EQ(w.LimSl(1).Top(), DynKnobTop(100, 150));
  EXPECT_TRUE(w.FrameLim.Enabled());
  EXPECT_EQ(w.CheckLimByp.ForeColor(), kLightGrey);
}

TEST(Limiter, InputsHaveNone) {
  EqFixture f;
  f.ShowChannel(1);
  const ParamImage before = f.Img();
  f.W().CheckLimByp.SetValue(1);
  SetLimBypass(f.core);
  SetLimParams(f.core);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(f.Img(), before);
}

}  // namespace
}  // namespace velmark
