// The name window: what Confirm checks, stores, sends and shows, and that the unit's bytes pass
// through it unchanged.

#include <gtest/gtest.h>

#include "channels/frm_edit_label.h"
#include "channels/names.h"
#include "commands/decode_image.h"
#include "editor/edit_window_fixture.h"

namespace velmark::testing {
namespace {

class EditLabelTest : public EditWindowTest {
 protected:
  EditLabelTest() : names(core) {
    FrmKVRxxxA& w = Open(0);
    st.CurUnit = 0;
    w.OnShowNames = [this] {
      busy_when_shown = st.UiBusy;
      names.Show();
    };
    WireNameLabels(w);
    port.calls.clear();
  }

  void Type(const std::array<std::string, kChannelCount>& texts) {
    windows.Window(0).LblWinDly(3).UserDblClick();
    for (int c = 0; c < kChannelCount; ++c) names.Text1(c).UserReplace(texts[c]);
  }

  FrmEditLabel names;
  bool busy_when_shown = false;
};

TEST_F(EditLabelTest, ConfirmStoresCentredNamesSendsAllEightAndShowsThemTrimmed) {
  Type({"X", "Sub", "  ", "In D", "Out1", "Left", "Right6", "Sub"});
  EXPECT_TRUE(busy_when_shown);
  hp.messages.Queue(ui::MsgAnswer::Yes);
  names.LblShowCursor(0).UserClick();
  const std::array<std::string, kChannelCount> stored = {"   X  ", "  Sub ", "      ", " In D ",
                                                         " Out1 ", " Left ", "Right6", "  Sub "};
  const std::array<std::string, kChannelCount> shown = {"X",    "Sub",  "",       "In D",
                                                        "Out1", "Left", "Right6", "Sub"};
  ASSERT_EQ(port.calls.size(), 8u);
  FrmKVRxxxA& w = windows.Window(0);
  for (int c = 0; c < kChannelCount; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(st.ChannelNames[0][c], stored[c]);
    FrameData d{static_cast<std::uint8_t>(c), 0};
    for (int k = 0; k < 6; ++k) {
      d[2 + k] = static_cast<std::uint8_t>(stored[c][k]);
      EXPECT_EQ(st.DeviceImages[0][NameAddr[c] + k], d[2 + k]);
    }
    EXPECT_EQ(port.calls[c].frame, BuildFrame(0, CmdChannelName, d));
    EXPECT_EQ(w.LblNameTab(c).Caption(), shown[c]);
    EXPECT_EQ(w.LblWinDly(c).Caption(), shown[c]);
    EXPECT_EQ(w.Label300(c).Caption(), shown[c]);
  }
  EXPECT_FALSE(names.Loaded());
  EXPECT_FALSE(st.UiBusy);
}

TEST_F(EditLabelTest, RefusedConfirmsSendNothingAndKeepTheWindowOpen) {
  struct Case {
    std::string text;  // given to channel 5, the others are fine
    ui::MsgAnswer answer;
    std::string message;
  };
  const Case cases[] = {
      {"", ui::MsgAnswer::Ok, kNameMissingText},
      {" ", ui::MsgAnswer::Ok, kNameMissingText},
      {"Mid", ui::MsgAnswer::No, "               Are you sure ? "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const auto before = st.ChannelNames[0];
    Type({"A", "B", "C", "D", "E", c.text, "G", "H"});
    hp.messages.Queue(c.answer);
    names.LblShowCursor(0).UserClick();
    EXPECT_EQ(hp.messages.Shown().back().text, c.message);
    EXPECT_EQ(hp.messages.Shown().back().title, kEditNamesTitle);
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(st.ChannelNames[0], before);
    EXPECT_TRUE(names.Loaded());
    names.LblShowCursor(1).UserClick();
    EXPECT_FALSE(names.Loaded());
  }
}

TEST_F(EditLabelTest, AFailedPacketStopsThereAndTheWindowCloses) {
  int count = 0;
  port.responder = [&](Frame&) { return ++count > 3 ? SerialStatus::Timeout : SerialStatus::Ok; };
  hp.messages.OnUnexpected = nullptr;  // the link reports the failure
  FrmKVRxxxA& w = windows.Window(0);
  const std::string old = w.LblNameTab(0).Caption();
  Type({"A", "B", "C", "D", "E", "F", "G", "H"});
  hp.messages.Queue(ui::MsgAnswer::Yes);
  names.LblShowCursor(0).UserClick();
  EXPECT_EQ(port.calls.size(), 4u);
  EXPECT_EQ(port.calls.back().frame[4], 3);
  EXPECT_EQ(w.LblNameTab(0).Caption(), old);
  EXPECT_EQ(st.ChannelNames[0][7], "   H  ");
  EXPECT_FALSE(names.Loaded());
}

TEST_F(EditLabelTest, LockedOrProtectedUnitsDisableTheBoxes) {
  struct Case {
    double lock, password;
    bool enabled;
  };
  for (const Case& c : {Case{0, 0, true}, Case{1, 0, false}, Case{0, 1, false}}) {
    st.DeviceRecords[0].LockOn = c.lock;
    st.DeviceRecords[0].PasswordOn = c.password;
    names.Show();
    for (int k = 0; k < kChannelCount; ++k) EXPECT_EQ(names.Text1(k).Enabled(), c.enabled);
    names.LblShowCursor(1).UserClick();
    EXPECT_FALSE(names.Loaded());
  }
}

// Any byte a unit holds comes back out of decode, the boxes and the packets as it went in.
TEST_F(EditLabelTest, EveryStoredByteRoundTrips) {
  for (int b = 32; b <= 255; ++b) {
    ParamImage& img = st.DeviceImages[0];
    for (int c = 0; c < kChannelCount; ++c) {
      for (int k = 0; k < 6; ++k)
        img[NameAddr[c] + k] = static_cast<std::uint8_t>(k == c % 6 ? b : 'a' + c);
    }
    const ParamImage before = img;
    {
      FlagGuard suppressed(st.SendSuppressed);
      DecodeImage(core);
    }
    port.calls.clear();
    names.Show();
    hp.messages.Queue(ui::MsgAnswer::Yes);
    names.LblShowCursor(0).UserClick();
    ASSERT_EQ(port.calls.size(), 8u) << b;
    for (int c = 0; c < kChannelCount; ++c) {
      for (int k = 0; k < 6; ++k) {
        ASSERT_EQ(port.calls[c].frame[6 + k], before[NameAddr[c] + k]) << b;
      }
    }
    ASSERT_EQ(img, before) << b;
    EXPECT_EQ(windows.Window(0).LblNameTab(0).Caption(), NameCaption(st.ChannelNames[0][0]));
  }
}

}  // namespace
}  // namespace velmark::testing
