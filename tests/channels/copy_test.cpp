// Copying a channel through the copy window: the one packet, what the destination takes and
// keeps, and what the window does with odd selections.

#include <gtest/gtest.h>

#include "channels/frm_copy_out.h"
#include "commands/decode_image.h"
#include "editor/edit_window_fixture.h"
#include "model/image.h"

namespace velmark::testing {
namespace {

class CopyTest : public EditWindowTest {
 protected:
  CopyTest() : copy(core) {}

  // Opens `unit` with bus ID `id`, gives channel s settings of its own (decoded, as after a
  // read), and clears the frames.
  void Prepare(int unit, int id, int s) {
    AddUnit(unit, id);
    Open(unit);
    st.CurUnit = unit;
    ParamImage& img = st.DeviceImages[unit];
    for (int i = 0; i <= BandLast[s]; ++i) img[EqBandAddr[BandOf(s, i)] + 4] = 40 + i;
    for (int k = 1; k < kCompBytes; ++k) img[CompAddr[s] + k] += 2;
    if (IsInputChannel(s)) {
      for (int k = 1; k < kGateBytes; ++k) img[GateAddr[s] + k] += 3;
    } else {
      for (int k = 0; k < kLimBytes; ++k) img[LimAddr[s] + k] += 1;
      WriteWord(img, XoverAddr[XoverIndex(s, 0)], 120);
      img[XoverAddr[XoverIndex(s, 1)] + 2] = 4;
    }
    WriteWord(img, LevelAddr[s], 215);
    WriteWord(img, DelayAddr[s], 12);
    img[DelayAddr[s] + 2] = 5;
    for (int m : {PolarityMaskAddr, MuteMaskAddr, EqBypassMaskAddr, CompBypassMaskAddr,
                  LimBypassMaskAddr}) {
      img[m] = WithMaskBit(img[m], s, true);
    }
    {
      FlagGuard suppressed(st.SendSuppressed);
      DecodeImage(core);
    }
    port.calls.clear();
  }

  // Confirm with the given list indexes (-1: none) and the given answer to the question.
  void Confirm(int mode, int s, int d, ui::MsgAnswer answer) {
    copy.CopyMode = mode;
    copy.Show();
    if (s >= 0) copy.Combo1(0).UserSelect(s);
    if (d >= 0) copy.Combo1(1).UserSelect(d);
    hp.messages.Queue(answer);
    copy.LblShowCursor(0).UserClick();
  }

  FrmCopyOut copy;
};

// Bytes of channel c that a copy must carry.
std::vector<int> CopiedAddresses(int c) {
  std::vector<int> out;
  auto add = [&](int from, int n) {
    for (int i = 0; i < n; ++i) out.push_back(from + i);
  };
  if (IsInputChannel(c)) {
    add(GateAddr[c], kGateBytes);
  } else {
    add(LimAddr[c], kLimBytes);
    add(XoverAddr[XoverIndex(c, 0)], 2 * kXoverBytes);
  }
  add(CompAddr[c], kCompBytes);
  add(EqMaskAddr[c], 2);
  add(EqBandAddr[BandStart[c]], kEqBandBytes * (BandLast[c] + 1));
  add(DelayAddr[c], 3);
  add(LevelAddr[c], 2);
  return out;
}

TEST_F(CopyTest, OnePacketThenTheDestinationEqualsTheSourceAndKeepsItsOwn) {
  struct Case {
    int mode, unit, id, s, d;  // list indexes
    Frame frame;
  };
  const Case cases[] = {
      {kCopyInputs, 2, 3, 0, 2, {0xF0, 0x05, 0x03, 0x21, 0, 2, 0, 0, 0, 0, 0, 0, 0xF7}},
      {kCopyOutputs, 1, 1, 1, 3, {0xF0, 0x05, 0x01, 0x21, 5, 7, 0, 0, 0, 0, 0, 0, 0xF7}},
      {kCopyInputs, 0, 0, 3, 1, {0xF0, 0x05, 0x00, 0x21, 3, 1, 0, 0, 0, 0, 0, 0, 0xF7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    const int first = c.mode == kCopyOutputs ? kInputCount : 0;
    const int s = first + c.s, t = first + c.d;
    Prepare(c.unit, c.id, s);
    ParamImage& img = st.DeviceImages[c.unit];
    img[NameAddr[t]] = 'Q';
    if (!IsInputChannel(t)) img[InRouteAddr[t - kInputCount]] = 0x0B;
    st.LinkFlag[c.unit][t] = 1;
    const ParamImage before = img;
    Confirm(c.mode, c.s, c.d, ui::MsgAnswer::Yes);
    ASSERT_EQ(port.calls.size(), 1u);
    EXPECT_EQ(port.calls[0].frame, c.frame);
    const auto copied = CopiedAddresses(t);
    const auto from = CopiedAddresses(s);
    for (std::size_t i = 0; i < copied.size(); ++i) {
      EXPECT_EQ(img[copied[i]], img[from[i]]) << "address " << copied[i];
    }
    for (int k = 0; k < kChannelNameLength; ++k)
      EXPECT_EQ(img[NameAddr[t] + k], before[NameAddr[t] + k]);
    if (!IsInputChannel(t)) {
      const int r = InRouteAddr[t - kInputCount];
      for (int k = 0; k < 5; ++k) EXPECT_EQ(img[r + k], before[r + k]);
    }
    EXPECT_EQ(st.LinkFlag[c.unit][t], 1);
    for (int m : {PolarityMaskAddr, MuteMaskAddr, EqBypassMaskAddr, CompBypassMaskAddr}) {
      EXPECT_EQ(MaskBit(img[m], t), 1) << "mask " << m;
    }
    EXPECT_EQ(MaskBit(img[LimBypassMaskAddr], t), IsInputChannel(t) ? 0 : 1);
    const DeviceSettings& rec = st.DeviceRecords[c.unit];
    EXPECT_EQ(rec.EqFreq[BandOf(t, 3)], rec.EqFreq[BandOf(s, 3)]);
    EXPECT_EQ(rec.EqGain[BandOf(t, 3)], rec.EqGain[BandOf(s, 3)]);
    EXPECT_EQ(rec.LevelGain[t], rec.LevelGain[s]);
    EXPECT_EQ(rec.Mute[t], 1);
    EXPECT_EQ(rec.Polarity[t], 1);
    EXPECT_EQ(rec.EqBypass[t], 1);
    if (!IsInputChannel(t)) {
      EXPECT_EQ(rec.XoverFreq[XoverIndex(t, 0)], 120);
    }
    EXPECT_FALSE(st.SendSuppressed);
    EXPECT_FALSE(copy.Loaded());
  }
}

TEST_F(CopyTest, AFailedCommandChangesNothing) {
  Prepare(1, 1, 4);
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  const ParamImage before = st.DeviceImages[1];
  const DeviceSettings rec = st.DeviceRecords[1];
  hp.messages.OnUnexpected = nullptr;  // the engine reports the failure
  Confirm(kCopyOutputs, 0, 2, ui::MsgAnswer::Yes);
  EXPECT_EQ(st.DeviceImages[1], before);
  EXPECT_EQ(st.DeviceRecords[1].EqFreq, rec.EqFreq);
  EXPECT_EQ(st.DeviceRecords[1].XoverFreq, rec.XoverFreq);
  EXPECT_FALSE(st.SendSuppressed);
  EXPECT_FALSE(copy.Loaded());
}

TEST_F(CopyTest, SelectionsThatCannotCopyKeepTheWindowOpenAndSendNothing) {
  struct Case {
    int s, d;
    ui::MsgAnswer answer;
    const char* text;
  };
  const Case cases[] = {
      {1, 1, ui::MsgAnswer::Ok, kCopySameText},
      {-1, -1, ui::MsgAnswer::Ok, kCopySameText},
      {0, -1, ui::MsgAnswer::Ok, kCopyNoChoiceText},
      {-1, 2, ui::MsgAnswer::Ok, kCopyNoChoiceText},
      {0, 2, ui::MsgAnswer::No, "               Are you sure ? "},
  };
  Prepare(0, 0, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Confirm(kCopyOutputs, c.s, c.d, c.answer);
    EXPECT_EQ(hp.messages.Shown().back().text, c.text);
    EXPECT_EQ(hp.messages.Shown().back().title, "Copy Output");
    EXPECT_TRUE(port.calls.empty());
    EXPECT_TRUE(copy.Loaded());
    EXPECT_EQ(copy.Combo1(0).ListIndex(), c.s);
    EXPECT_EQ(copy.Combo1(1).ListIndex(), c.d);
    copy.LblShowCursor(1).UserClick();
    EXPECT_FALSE(copy.Loaded());
  }
}

}  // namespace
}  // namespace velmark::testing
