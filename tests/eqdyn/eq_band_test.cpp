// Equaliser band builders: the exact band packet, image bytes, record values and shown texts.

#include "eqdyn/eq_band.h"

#include <gtest/gtest.h>

#include "channels/linking.h"
#include "eqdyn/eqdyn_fixture.h"

namespace velmark {
namespace {

using testing::EqFixture;
using testing::Pkt;

constexpr int kInB = 1, kOut1 = 4, kOut3 = 6;

// Puts a band's controls where a user left them.
void SetBand(EqFixture& f, int element, const std::string& freq, int slider, int q_code) {
  f.W().TxtEqFreq(element).SetText(freq);
  f.Quietly(f.W().Slider2(element), slider);
  f.Quietly(f.W().UDEqQ(element), q_code);
}

TEST(SendEqBand, BellBandPacketImageRecordAndTexts) {
  EqFixture f;
  f.ShowChannel(kInB);
  const int b = BandOf(kInB, 3), a = EqBandAddr[b];
  f.Rec().EqType[b] = 0;
  SetBand(f, 3, "1000.7", 20, 16);  // gain code 40 = +5 dB, Q 1.0
  SendEqBand(f.core, 3);

  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdEqBand, {1, 3, 0, 0, 0x03, 0xE8, 16, 40})}));
  EXPECT_EQ(f.Img()[a], 0);
  EXPECT_EQ(ReadWord(f.Img(), a + 1), 1000);
  EXPECT_EQ(f.Img()[a + 3], 16);
  EXPECT_EQ(f.Img()[a + 4], 40);
  EXPECT_EQ(f.Rec().EqFreq[b], 1000.0);
  EXPECT_EQ(f.Rec().EqGain[b], 5.0);
  EXPECT_EQ(f.Rec().EqQ[b], 1.0);
  EXPECT_EQ(f.W().TxtEqFreq(3).Text(), "1000");
  EXPECT_EQ(f.W().TxtEqGain(3).Text(), "5");
  EXPECT_EQ(f.W().TxtEqQ(3).Text(), "1");
  EXPECT_EQ(f.W().LblEQType(3).Caption(), "Bell");
  EXPECT_EQ(f.W().ImgEQGain(3).Top(), 20 * 1200 / 60 + 720);
  EXPECT_EQ(f.W().LblEQsByp(3).ForeColor(), kLightGrey);
}

TEST(SendEqBand, FrequencyTextIsNormalised) {
  struct Case {
    std::string typed;
    bool comma;
    std::string shown;
    int sent;
  };
  // The image holds 1234 Hz for the band before each case.
  const Case cases[] = {
      {"1000.7", false, "1000", 1000},
      {"25000", false, "20000", 20000},
      {"5", false, "20", 20},
      {"19.9", false, "20", 20},
      {"20000.9", false, "20000", 20000},
      {"1000,7", true, "1000", 1000},
      {"abc", false, "1234", 1234},
      {"", false, "1234", 1234},
      {"12k", false, "1234", 1234},
  };
  for (const Case& c : cases) {
    EqFixture f;
    f.st.DecimalIsComma = c.comma;
    f.ShowChannel(kOut1);
    const int b = BandOf(kOut1, 2), a = EqBandAddr[b];
    WriteWord(f.Img(), a + 1, 1234);
    SetBand(f, 15, c.typed, 30, 31);
    SendEqBand(f.core, 15);
    EXPECT_EQ(f.W().TxtEqFreq(15).Text(), c.shown) << c.typed;
    EXPECT_EQ(f.Rec().EqFreq[b], c.sent) << c.typed;
    ASSERT_EQ(f.Packets().size(), 1u);
    EXPECT_EQ(f.Packets()[0].data[4] * 256 + f.Packets()[0].data[5], c.sent) << c.typed;
  }
}

TEST(SendEqBand, SwitchedOffBandKeepsItsGainCode) {
  EqFixture f;
  f.ShowChannel(kInB);
  const int b = BandOf(kInB, 5), a = EqBandAddr[b];
  SetBand(f, 5, "500", 10, 31);  // gain code 50 = +10 dB
  ToggleBandBypass(f.core, 5);
  SendEqBand(f.core, 5);
  EXPECT_EQ(f.Rec().EqBandBypass[b], 1.0);
  EXPECT_EQ(f.Rec().EqGain[b], 0.0);
  EXPECT_EQ(f.Img()[a + 4], 50);
  EXPECT_EQ(ReadWord(f.Img(), EqMaskAddr[kInB]), 1 << 5);
  EXPECT_EQ(f.W().LblEQsByp(5).BackColor(), kBandOffColour);
  EXPECT_EQ(f.W().LblEQsByp(5).ForeColor(), kOrange);

  ToggleBandBypass(f.core, 5);
  SendEqBand(f.core, 5);
  EXPECT_EQ(f.Rec().EqGain[b], 10.0);
  EXPECT_EQ(ReadWord(f.Img(), EqMaskAddr[kInB]), 0);
  EXPECT_EQ(f.W().LblEQsByp(5).BackColor(), ui::kButtonFace);
  const auto sent = f.Packets();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].data[2], 1);
  EXPECT_EQ(sent[0].data[7], 50);
  EXPECT_EQ(sent[1].data[2], 0);
  EXPECT_EQ(sent[1].data[7], 50);
}

TEST(SendEqBand, BandBypassWordHoldsOnlyTheChannelsBands) {
  struct Case {
    int ch, element, bit;
  };
  for (const Case c : {Case{0, 12, 12}, Case{kOut3, 23, 10}, Case{kOut1, 13, 0}}) {
    EqFixture f;
    f.ShowChannel(c.ch);
    // Band 0 of the next channel follows the last band in the record; it must not leak in.
    if (c.ch + 1 < kChannelCount) f.Rec().EqBandBypass[BandStart[c.ch + 1]] = 1.0;
    ToggleBandBypass(f.core, c.element);
    SendEqBand(f.core, c.element);
    EXPECT_EQ(ReadWord(f.Img(), EqMaskAddr[c.ch]), 1 << c.bit) << c.ch;
  }
}

TEST(SendEqBand, ControlsEnabledByTypeAndSwitch) {
  struct Case {
    int type;
    bool off, gain, q;
  };
  const Case cases[] = {{0, false, true, true},    {1, false, true, false},
                        {7, false, false, false},  {9, false, false, true},
                        {13, false, true, true},   {14, false, false, true},
                        {15, false, false, false}, {3, true, false, false}};
  for (const Case& c : cases) {
    EqFixture f;
    f.ShowChannel(0);
    f.Rec().EqType[4] = static_cast<std::int16_t>(c.type);
    f.Rec().EqBandBypass[4] = c.off ? 1.0 : 0.0;
    SendEqBand(f.core, 4);
    EditControls& w = f.W();
    EXPECT_EQ(w.TxtEqGain(4).Enabled(), c.gain) << c.type;
    EXPECT_EQ(w.Slider2(4).Enabled(), c.gain) << c.type;
    EXPECT_EQ(w.ImgEQGain(4).Enabled(), c.gain) << c.type;
    EXPECT_EQ(w.TxtEqQ(4).Enabled(), c.q) << c.type;
    EXPECT_EQ(w.UDEqQ(4).Enabled(), c.q) << c.type;
    EXPECT_EQ(w.TxtEqFreq(4).Enabled(), !c.off) << c.type;
    EXPECT_EQ(w.LblEQType(4).Enabled(), !c.off) << c.type;
    EXPECT_EQ(w.Label5(4).Enabled(), !c.off) << c.type;
  }
}

TEST(SendEqBand, DamagedTypeIsShownBoundedAndKeptInTheImage) {
  EqFixture f;
  f.ShowChannel(0);
  const int a = EqBandAddr[2];
  f.Img()[a] = 40;
  f.Rec().EqType[2] = 40;
  f.Quietly(f.W().UDEqQ(2), 10);
  SendEqBand(f.core, 2);
  EXPECT_EQ(f.W().LblEQType(2).Caption(), "AP-2");
  EXPECT_EQ(f.W().TxtEqQ(2).Text(), "14");
  EXPECT_EQ(f.Img()[a], 40);
  EXPECT_EQ(f.Packets().at(0).data[3], 40);
}

TEST(EqQValue, ByTypeClassWithBoundedCodes) {
  EXPECT_EQ(EqQValue(0, 16), 1.0);
  EXPECT_EQ(EqQValue(0, 100), 128.0);
  EXPECT_EQ(EqQValue(0, 150), 128.0);
  EXPECT_EQ(EqQValue(0, -3), 0.4);
  EXPECT_DOUBLE_EQ(EqQValue(3, 16), 0.9);
  EXPECT_DOUBLE_EQ(EqQValue(12, 100), 5.1);
  EXPECT_EQ(EqQValue(13, 16), 20.0);
  EXPECT_EQ(EqQValue(16, 100), 104.0);
  EXPECT_EQ(EqQValue(99, 0), 4.0);
}

TEST(SendEqBand, ElementsOutsideTheChannelDoNothing) {
  EqFixture f;
  f.ShowChannel(kOut1);
  const ParamImage before = f.Img();
  for (int element : {-1, 11, 12, 24, 99}) SendEqBand(f.core, element);
  f.st.CurChannel[0] = 9;
  SendEqBand(f.core, 13);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(f.Img(), before);
}

TEST(SetEqType, QCodeKeepsItsNumberUnderTheNewType) {
  EqFixture f;
  f.ShowChannel(0);
  const int b = 3, a = EqBandAddr[b];
  f.Rec().EqType[b] = 0;
  SetBand(f, 3, "2000", 10, 16);
  SetEqType(f.core, 3, 3);  // "HiShQ"
  EXPECT_EQ(f.W().TxtEqQ(3).Text(), "0.9");
  EXPECT_EQ(f.Rec().EqQ[b], 0.9);
  EXPECT_EQ(f.W().LblEQType(3).Caption(), "HiShQ");
  EXPECT_EQ(f.W().Slider2(3).Value(), 30);
  EXPECT_EQ(f.Rec().EqGain[b], 0.0);
  SetEqType(f.core, 3, 13);  // "BP"
  EXPECT_EQ(f.W().TxtEqQ(3).Text(), "20");
  EXPECT_EQ(f.Rec().EqQ[b], 20.0);
  EXPECT_EQ(f.Img()[a + 3], 16);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdEqBand, {0, 3, 0, 3, 0x07, 0xD0, 16, 30}),
                                      Pkt(CmdEqBand, {0, 3, 0, 13, 0x07, 0xD0, 16, 30})}));
}

TEST(SetEqType, SameTypeSendsNothingButRestoresTheFrequencyText) {
  EqFixture f;
  f.ShowChannel(0);
  f.Rec().EqType[3] = 0;
  SetBand(f, 3, "x", 10, 16);
  WriteWord(f.Img(), EqBandAddr[3] + 1, 125);
  SetEqType(f.core, 3, 0);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(f.W().TxtEqFreq(3).Text(), "125");
  EXPECT_EQ(f.W().Slider2(3).Value(), 10);
  SetEqType(f.core, 3, 17);  // no such menu entry
  EXPECT_TRUE(f.Packets().empty());
}

TEST(SetEqType, GainSliderResetDoesNotRunItsChangeHandling) {
  EqFixture f;
  f.ShowChannel(0);
  int handled = 0;
  f.W().Slider2(3).OnChange = [&] {
    if (!f.st.UpdatingControls) ++handled;
  };
  f.Quietly(f.W().Slider2(3), 4);
  SetEqType(f.core, 3, 13);
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(f.Packets().size(), 1u);
}

TEST(SetEqBypass, BitPacketFrameAndCursors) {
  EqFixture f;
  f.ShowChannel(kOut3);
  f.Rec().ShowCursor[kOut3] = 1;
  f.W().CheckEqByp(1).SetValue(1);
  SetEqBypass(f.core, 1);
  EXPECT_EQ(f.Img()[EqBypassMaskAddr], 64);
  EXPECT_EQ(f.Rec().EqBypass[kOut3], 1);
  EXPECT_FALSE(f.W().FrameEq(1).Enabled());
  EXPECT_FALSE(f.W().BtnFlatEQ(1).Enabled());
  EXPECT_FALSE(f.W().LblFlatEQ(1).Enabled());
  EXPECT_EQ(f.W().CheckEqByp(1).ForeColor(), kOrange);
  EXPECT_FALSE(f.W().Label5(13).Visible());

  f.W().CheckEqByp(1).SetValue(0);
  SetEqBypass(f.core, 1);
  EXPECT_EQ(f.Img()[EqBypassMaskAddr], 0);
  EXPECT_TRUE(f.W().FrameEq(1).Enabled());
  EXPECT_EQ(f.W().CheckEqByp(1).ForeColor(), kLightGrey);
  EXPECT_TRUE(f.W().Label5(13).Visible());
  EXPECT_FALSE(f.W().Label5(0).Visible());
  EXPECT_EQ(f.Img()[kShowCursorAddr + kOut3], 1);
  EXPECT_EQ(f.Packets(), (std::vector{Pkt(CmdEqBypass, {6, 0, 0, 0, 0, 0, 0, 1}),
                                      Pkt(CmdEqBypass, {6, 0, 0, 0, 0, 0, 0, 0})}));
}

TEST(RedrawAfterEqBypass, BypassedEqualiserDropsOutOfTheSum) {
  EqFixture f;
  f.ShowChannel(kInB);
  const int b = BandOf(kInB, 6);
  SetBand(f, 6, "1000", 6, 28);  // +12 dB
  SendEqBand(f.core, 6);
  f.W().CheckEqByp(0).SetValue(0);
  SetEqBypass(f.core, 0);
  RedrawAfterEqBypass(f.core);
  const int p1k = testing::GridIndexOf(1000);
  const auto& r = f.st.Responses(0);
  EXPECT_NEAR(r.ChannelResponse[kInB][p1k], 12.0, 1e-9);
  f.W().CheckEqByp(0).SetValue(1);
  SetEqBypass(f.core, 0);
  RedrawAfterEqBypass(f.core);
  EXPECT_EQ(r.ChannelResponse[kInB][p1k], 0.0);
  EXPECT_NEAR(r.BandResponse[b][p1k], 12.0, 1e-9);  // the band keeps its stored response
}

TEST(EqFlat, NoChangesNothing) {
  EqFixture f;
  f.ShowChannel(kOut1);
  f.Quietly(f.W().Slider2(14), 2);
  f.platform.messages.Queue(ui::MsgAnswer::No);
  EqFlat(f.core, 1);
  ASSERT_EQ(f.platform.messages.Shown().size(), 1u);
  EXPECT_EQ(f.platform.messages.Shown()[0].text, "               Are you sure ? ");
  EXPECT_EQ(f.platform.messages.Shown()[0].title, "EQ Flat");
  EXPECT_EQ(f.platform.messages.Shown()[0].buttons, ui::MsgButtons::YesNo);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(f.W().Slider2(14).Value(), 2);
}

TEST(EqFlat, OutputSendsElevenBandsAtZeroDb) {
  EqFixture f;
  f.ShowChannel(kOut1);
  for (int e = 13; e <= 23; ++e) f.Quietly(f.W().Slider2(e), e - 10);
  f.Rec().EqType[BandOf(kOut1, 4)] = 14;
  f.platform.messages.Queue(ui::MsgAnswer::Yes);
  EqFlat(f.core, 1);
  const auto sent = f.Packets();
  ASSERT_EQ(sent.size(), 11u);
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(sent[k].command, CmdEqBand);
    EXPECT_EQ(sent[k].data[0], kOut1);
    EXPECT_EQ(sent[k].data[1], k);
    EXPECT_EQ(sent[k].data[7], 30);
    EXPECT_EQ(f.Rec().EqGain[BandOf(kOut1, k)], 0.0);
  }
  EXPECT_EQ(sent[4].data[3], 14);  // types stay
  EXPECT_TRUE(f.unexpected.empty());
}

// A failed band packet ends "EQ Flat": each further packet would only wait out its time-out.
// Bands sent so far (the failed one included) are flat, later ones and the linked outputs keep
// their gains.
TEST(EqFlat, FirstFailedBandEndsTheSequence) {
  struct Case {
    int fail_at;  // exchange that times out, -1 none
    std::size_t sent;
    int flat_bands;  // of output 1
    bool linked_flat;
  };
  const Case cases[] = {
      {0, 1, 1, false}, {3, 4, 4, false}, {10, 11, 11, false}, {-1, 33, 11, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fail_at);
    EqFixture f;
    for (int ch : {kOut1, kOut1 + 1, kOut3}) f.st.LinkFlag[0][ch] = 1;
    for (int b = 0; b < kBandCount; ++b) f.Img()[EqBandAddr[b] + 4] = 50;
    f.ShowChannel(kOut1);
    f.FailFrom(c.fail_at);
    f.platform.messages.Queue(ui::MsgAnswer::Yes);
    EqFlat(f.core, 1);
    EXPECT_EQ(f.scripted.calls.size(), c.sent);
    for (int k = 0; k <= BandLast[kOut1]; ++k) {
      EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut1, k)] + 4], k < c.flat_bands ? 30 : 50) << k;
    }
    EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut3, 0)] + 4], c.linked_flat ? 30 : 50);
  }
}

}  // namespace
}  // namespace velmark
