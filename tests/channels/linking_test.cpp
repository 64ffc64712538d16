// Channel linking: the common frame (unlinked source, groups, order) and each family's copy.

#include "channels/linking.h"

#include <gtest/gtest.h>

#include "commands/level_delay.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/eqdyn_fixture.h"

namespace velmark {
namespace {

using testing::EqFixture;
using testing::Pkt;

constexpr int kA = 0, kB = 1, kC = 2, kD = 3, kOut1 = 4, kOut2 = 5, kOut3 = 6, kOut4 = 7;

void LinkChannels(EqFixture& f, std::initializer_list<int> channels) {
  for (int ch : channels) f.st.LinkFlag[0][ch] = 1;
}

TEST(SetLinkFlag, MaskPacketAndLabel) {
  EqFixture f;
  f.W().CheckLinkOut(5).SetValue(1);
  SetLinkFlag(f.core, 5);
  ASSERT_EQ(f.scripted.calls.size(), 1u);
  const Frame expected = {0xF0, 0x05, 0x00, 0x26, 0x01, 0, 0, 0, 0, 0, 0, 0x20, 0xF7};
  EXPECT_EQ(f.scripted.calls[0].frame, expected);
  EXPECT_EQ(f.st.LinkMask[0], 32);
  EXPECT_EQ(f.st.LinkFlag[0][5], 1);
  EXPECT_EQ(f.W().LblLinkOut(5).ForeColor(), 33023u);

  f.W().CheckLinkOut(0).SetValue(1);
  SetLinkFlag(f.core, 0);
  EXPECT_EQ(f.st.LinkMask[0], 33);
  f.W().CheckLinkOut(5).SetValue(0);
  SetLinkFlag(f.core, 5);
  EXPECT_EQ(f.st.LinkMask[0], 1);
  EXPECT_EQ(f.W().LblLinkOut(5).ForeColor(), 12632256u);
  EXPECT_EQ(f.Packets().back(), Pkt(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(SetLinkFlag, FailedSendKeepsTheNewState) {
  EqFixture f;
  f.FailFrom(0);
  f.W().CheckLinkOut(2).SetValue(1);
  SetLinkFlag(f.core, 2);
  EXPECT_EQ(f.st.LinkFlag[0][2], 1);
  EXPECT_EQ(f.st.LinkMask[0], 4);
}

// Every image-only family from a source to the rest of the group must leave the image alone
// when the frame says no.
void RunImageFamilies(EqFixture& f) {
  LinkNoiseGate(f.core);
  LinkCompressorSwitch(f.core);
  for (int i = 0; i < 12; ++i) LinkCompressorParam(f.core, i);
  LinkLimiterSwitch(f.core);
  LinkLimiterParams(f.core);
  LinkCrossover(f.core, 0);
  LinkCrossover(f.core, 1);
  for (int e = 0; e < 24; ++e) LinkEqBand(f.core, e);
  LinkEqBypass(f.core);
}

// Makes every parameter block of `source` differ from the others.
void Scramble(EqFixture& f, int source) {
  ParamImage& img = f.Img();
  for (int i = 0; i < kChannelBlockSize; ++i) {
    img[ChannelBlockAddr[source] + i] = static_cast<std::uint8_t>(i + 1);
  }
  img[CompBypassMaskAddr] = static_cast<std::uint8_t>(ChannelBit[source]);
  img[LimBypassMaskAddr] = static_cast<std::uint8_t>(ChannelBit[source]);
  img[EqBypassMaskAddr] = static_cast<std::uint8_t>(ChannelBit[source]);
  f.Rec().CompBypass[source] = f.Rec().LimBypass[source] = f.Rec().EqBypass[source] = 1;
}

TEST(LinkFrame, NothingWithoutALinkedSourceAndPartner) {
  struct Case {
    int source;
    std::vector<int> linked;
  };
  const Case cases[] = {
      {kB, {kA, kC, kD}},            // source not linked
      {kOut2, {kOut1, kOut3}},       // source not linked
      {kC, {kC}},                    // only the source
      {kA, {kA, kOut1, kOut2}},      // the other group only
      {kOut1, {kOut1, kA, kB, kC}},  // the other group only
  };
  for (const Case& c : cases) {
    EqFixture f;
    for (int ch : c.linked) f.st.LinkFlag[0][ch] = 1;
    Scramble(f, c.source);
    f.st.CurChannel[0] = c.source;
    const ParamImage image = f.Img();
    const DeviceSettings record = f.Rec();
    RunImageFamilies(f);
    EXPECT_EQ(f.Img(), image) << c.source;
    EXPECT_TRUE(f.Rec() == record) << c.source;
    EXPECT_TRUE(f.Packets().empty());
  }
}

TEST(LinkFrame, AscendingOrderSkippingUnlinked) {
  EqFixture f;
  LinkChannels(f, {kOut1, kOut2, kOut4});
  std::vector<int> reached;
  for (int ch = 0; ch < 8; ++ch) {
    f.W().Slider1(ch).OnChange = [&reached, ch] { reached.push_back(ch); };
  }
  f.W().Slider1(kOut2).SetValue(120);
  reached.clear();
  LinkGain(f.core, kOut2);
  EXPECT_EQ(reached, (std::vector{kOut1, kOut4}));
}

TEST(LinkCrossover, ReachesLinkedOutputsOnly) {
  EqFixture f;
  LinkChannels(f, {kOut1, kOut2, kOut4});
  f.st.CurChannel[0] = kOut2;
  const int src = XoverIndex(kOut2, 1);
  f.Rec().XoverFreq[src] = 2500;
  f.Rec().XoverType[src] = 7;
  WriteWord(f.Img(), XoverAddr[src], 2500);
  f.Img()[XoverAddr[src] + 2] = 7;
  LinkCrossover(f.core, 1);
  for (int t : {kOut1, kOut4}) {
    const int x = XoverIndex(t, 1);
    EXPECT_EQ(f.Rec().XoverFreq[x], 2500);
    EXPECT_EQ(f.Rec().XoverType[x], 7);
    EXPECT_EQ(ReadWord(f.Img(), XoverAddr[x]), 2500);
    EXPECT_EQ(f.Img()[XoverAddr[x] + 2], 7);
    // "-24dB/oct Lz" low-pass: -6.02 dB at its corner.
    EXPECT_NEAR(f.st.Responses(0).ChannelResponse[t][testing::GridIndexOf(2500)], -6.0206, 1e-3);
  }
  const int x3 = XoverIndex(kOut3, 1);
  EXPECT_EQ(ReadWord(f.Img(), XoverAddr[x3]), 16000);
  EXPECT_EQ(f.Rec().XoverFreq[x3], 0.0);
  EXPECT_EQ(ReadWord(f.Img(), XoverAddr[XoverIndex(kOut1, 0)]), 20);  // the other filter stays
  EXPECT_FALSE(f.st.DrawSuppressed);
}

TEST(LinkCompressorParam, OutputElementCopiesItsOwnByte) {
  for (int index = 6; index < 12; ++index) {
    EqFixture f;
    LinkChannels(f, {kOut1, kOut3});
    f.st.CurChannel[0] = kOut1;
    Scramble(f, kOut1);
    const ParamImage before = f.Img();
    LinkCompressorParam(f.core, index);
    const int p = index - 6;
    for (int i = 0; i < kImageSize; ++i) {
      const bool target = i == CompAddr[kOut3] + p;
      EXPECT_EQ(f.Img()[i], target ? before[CompAddr[kOut1] + p] : before[i]) << index << "@" << i;
    }
  }
}

TEST(LinkCompressorParam, ElementOfTheOtherPageIsIgnored) {
  EqFixture f;
  LinkChannels(f, {kA, kB});
  Scramble(f, kA);
  const ParamImage before = f.Img();
  LinkCompressorParam(f.core, 7);  // an output page element on an input
  LinkCompressorParam(f.core, -1);
  EXPECT_EQ(f.Img(), before);
}

TEST(LinkSwitches, BypassFlagsAndMaskBits) {
  EqFixture f;
  LinkChannels(f, {kOut1, kOut3, kA});
  f.st.CurChannel[0] = kOut3;
  f.Img()[CompBypassMaskAddr] = 0x40 | 0x01;
  f.Img()[LimBypassMaskAddr] = 0;
  f.Rec().CompBypass = {1, 0, 0, 0, 0, 0, 1, 0};
  f.Rec().LimBypass = {0, 0, 0, 0, 1, 0, 0, 0};
  LinkCompressorSwitch(f.core);
  LinkLimiterSwitch(f.core);
  EXPECT_EQ(f.Img()[CompBypassMaskAddr], 0x40 | 0x10 | 0x01);
  EXPECT_EQ(f.Rec().CompBypass[kOut1], 1);
  EXPECT_EQ(f.Img()[LimBypassMaskAddr], 0);
  EXPECT_EQ(f.Rec().LimBypass[kOut1], 0);
}

TEST(LinkNoiseGate, InputsOnly) {
  EqFixture f;
  LinkChannels(f, {kA, kC, kOut1, kOut2});
  f.st.CurChannel[0] = kC;
  const std::array<std::uint8_t, 4> gate = {0, 5, 7, 9};
  std::copy(gate.begin(), gate.end(), f.Img().begin() + GateAddr[kC]);
  LinkNoiseGate(f.core);
  EXPECT_TRUE(std::equal(gate.begin(), gate.end(), f.Img().begin() + GateAddr[kA]));
  f.st.CurChannel[0] = kOut1;  // no gate on an output: nothing to copy from
  const ParamImage before = f.Img();
  LinkNoiseGate(f.core);
  EXPECT_EQ(f.Img(), before);
}

TEST(LinkEqBand, BypassedBandUpdatesTheTargetWord) {
  EqFixture f;
  LinkChannels(f, {kB, kD});
  f.ShowChannel(kB);
  f.W().TxtEqFreq(12).SetText("9000");
  ToggleBandBypass(f.core, 12);
  SendEqBand(f.core, 12);
  f.Rec().EqBandBypass[BandOf(kD, 3)] = 1.0;  // the target's own switched-off band stays
  LinkEqBand(f.core, 12);
  const int gs = BandOf(kB, 12), gt = BandOf(kD, 12);
  EXPECT_EQ(ReadWord(f.Img(), EqMaskAddr[kD]), (1 << 12) | (1 << 3));
  EXPECT_TRUE(std::equal(f.Img().begin() + EqBandAddr[gs], f.Img().begin() + EqBandAddr[gs] + 5,
                         f.Img().begin() + EqBandAddr[gt]));
  EXPECT_EQ(f.Rec().EqFreq[gt], 9000);
  EXPECT_EQ(f.Rec().EqBandBypass[gt], 1.0);
  EXPECT_EQ(f.Rec().EqType[gt], f.Rec().EqType[gs]);
  EXPECT_EQ(f.Rec().EqQ[gt], f.Rec().EqQ[gs]);
  EXPECT_EQ(f.Packets().size(), 1u);  // only the source's own band
  EXPECT_FALSE(f.st.DrawSuppressed);
}

TEST(LinkEqBand, OutputElementMapsToItsBand) {
  EqFixture f;
  LinkChannels(f, {kOut2, kOut4});
  f.ShowChannel(kOut2);
  f.Quietly(f.W().Slider2(23), 0);  // band 10 at +15 dB
  SendEqBand(f.core, 23);
  LinkEqBand(f.core, 23);
  EXPECT_EQ(f.Rec().EqGain[BandOf(kOut4, 10)], 15.0);
  EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut4, 10)] + 4], 60);
  for (int k = 0; k <= 10; ++k) f.Img()[EqBandAddr[BandOf(kOut2, k)] + 4] = 7;
  const ParamImage before = f.Img();
  LinkEqBand(f.core, 5);  // an input page element: no band of an output
  LinkEqBand(f.core, 24);
  LinkEqBand(f.core, 12);
  EXPECT_EQ(f.Img(), before);
}

TEST(LinkEqBypass, FlagBitAndTargetSum) {
  EqFixture f;
  LinkChannels(f, {kA, kC});
  f.ShowChannel(kA);
  // A +12 dB bell on band 6 of input C.
  const int gc = BandOf(kC, 6);
  f.Rec().EqGain[gc] = 12;
  f.Rec().EqFreq[gc] = 1000;
  f.Rec().EqQ[gc] = 2;
  f.W().CheckEqByp(0).SetValue(1);
  SetEqBypass(f.core, 0);
  LinkEqBypass(f.core);
  EXPECT_EQ(f.Img()[EqBypassMaskAddr], 0x01 | 0x04);
  EXPECT_EQ(f.Rec().EqBypass[kC], 1);
  EXPECT_EQ(f.st.Responses(0).ChannelResponse[kC][testing::GridIndexOf(1000)], 0.0);
  f.W().CheckEqByp(0).SetValue(0);
  SetEqBypass(f.core, 0);
  LinkEqBypass(f.core);
  EXPECT_EQ(f.Img()[EqBypassMaskAddr], 0);
  EXPECT_NEAR(f.st.Responses(0).ChannelResponse[kC][testing::GridIndexOf(1000)], 12.0, 1e-9);
  EXPECT_FALSE(f.st.DrawSuppressed);
}

TEST(LinkEqFlat, LinkedInputWithThreePartnersSends13Plus39) {
  EqFixture f;
  LinkChannels(f, {kA, kB, kC, kD});
  f.ShowChannel(kB);
  for (int b = 0; b < kBandCount; ++b) f.Img()[EqBandAddr[b] + 4] = 50;
  f.Rec().EqBandBypass[BandOf(kD, 2)] = 1.0;
  f.ShowChannel(kB);
  f.platform.messages.Queue(ui::MsgAnswer::Yes);
  EqFlat(f.core, 0);
  const auto sent = f.Packets();
  ASSERT_EQ(sent.size(), 13u + 39u);
  const int order[] = {kB, kA, kC, kD};
  for (int n = 0; n < 52; ++n) {
    EXPECT_EQ(sent[n].data[0], order[n / 13]) << n;
    EXPECT_EQ(sent[n].data[1], n % 13) << n;
    EXPECT_EQ(sent[n].data[7], 30) << n;
  }
  EXPECT_EQ(sent[39 + 2].data[2], 1);  // input D's switched-off band goes out as off
  const int a = EqBandAddr[BandOf(kD, 7)];
  EXPECT_EQ(sent[39 + 7].data,
            (FrameData{3, 7, 0, f.Img()[a], f.Img()[a + 1], f.Img()[a + 2], f.Img()[a + 3], 30}));
  for (int ch : {kA, kC, kD}) EXPECT_EQ(f.Rec().EqGain[BandOf(ch, 4)], 0.0);
  EXPECT_FALSE(f.st.DrawSuppressed);
}

TEST(LinkEqFlat, FirstFailedBandStopsEverything) {
  EqFixture f;
  LinkChannels(f, {kOut1, kOut2, kOut3});
  f.ShowChannel(kOut1);
  for (int b = 0; b < kBandCount; ++b) f.Img()[EqBandAddr[b] + 4] = 50;
  f.ShowChannel(kOut1);
  f.FailFrom(11 + 4);  // band 4 of output 2 fails
  f.platform.messages.Queue(ui::MsgAnswer::Yes);
  EqFlat(f.core, 1);
  EXPECT_EQ(f.scripted.calls.size(), 11u + 5u);
  EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut2, 4)] + 4], 30);  // changed before its send
  EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut2, 5)] + 4], 50);
  EXPECT_EQ(f.Img()[EqBandAddr[BandOf(kOut3, 0)] + 4], 50);
}

TEST(LinkLevelFamilies, TargetsRebuiltWithoutSending) {
  EqFixture f;
  LinkChannels(f, {kOut1, kOut2, kOut3, kOut4});
  EditControls& w = f.W();
  std::vector<bool> updating;
  w.UpDown2(kOut3).OnChange = [&] { updating.push_back(f.st.UpdatingControls); };
  f.Quietly(w.UpDown2(kOut1), 12);
  f.Quietly(w.UpDown1(kOut1), 48);
  f.Quietly(w.Slider1(kOut1), 60);
  f.Quietly(w.Check2(kOut1), 1);
  f.Rec().Polarity[kOut1] = 1;
  f.Rec().Mute[kOut1] = 0;
  LinkDelay(f.core, kOut1);
  LinkGain(f.core, kOut1);
  LinkPolarity(f.core, kOut1);
  LinkMute(f.core, kOut1);
  EXPECT_TRUE(f.Packets().empty());
  EXPECT_EQ(updating, std::vector<bool>{true});
  EXPECT_FALSE(f.st.UpdatingControls);
  EXPECT_FALSE(f.st.SendSuppressed);
  for (int t : {kOut2, kOut3, kOut4}) {
    EXPECT_EQ(w.UpDown2(t).Value(), 12);
    EXPECT_EQ(w.UpDown1(t).Value(), 48);
    EXPECT_EQ(f.Rec().DelayCoarse[t], 12);
    EXPECT_EQ(f.Rec().DelayFine[t], 48);
    EXPECT_EQ(w.Slider1(t).Value(), 60);
    EXPECT_EQ(ReadWord(f.Img(), LevelAddr[t]), 240);
    EXPECT_EQ(f.Rec().Polarity[t], 1);
    EXPECT_EQ(f.Rec().Mute[t], 0);
  }
  EXPECT_EQ(f.Img()[PolarityMaskAddr], 0xF0);
  EXPECT_EQ(f.Img()[MuteMaskAddr] & 0xF0, 0);
}

TEST(LinkLevelFamilies, ChannelOutsideTheTableDoesNothing) {
  EqFixture f;
  LinkChannels(f, {kA, kB});
  const ParamImage before = f.Img();
  for (int ch : {-1, 8, 9}) {
    LinkDelay(f.core, ch);
    LinkGain(f.core, ch);
    LinkPolarity(f.core, ch);
    LinkMute(f.core, ch);
  }
  EXPECT_EQ(f.Img(), before);
}

}  // namespace
}  // namespace velmark
