// The panel lock, the password lock and a new password: what is accepted, what goes to the
// unit byte for byte, and what a failed packet leaves behind.

#include "editor/system_lock.h"

#include <gtest/gtest.h>

#include "edit_window_fixture.h"
#include "editor/frm_password.h"
#include "editor/lock_state.h"
#include "editor/tool_bar.h"

namespace velmark::testing {
namespace {

constexpr ui::Colour kRed = 255, kSilver = 12632256;

class SystemLockTest : public EditWindowTest {
 protected:
  SystemLockTest() : w(Open(0)), pw(core) {
    w.OnShowPassword = [this](int mode) {
      pw.PasswordMode = mode;
      pw.Show();
      if (during_window) during_window();
    };
    port.calls.clear();
  }
  // The unit's password as it reads it: one character code per character.
  void StorePassword(const std::array<double, kPasswordLength>& codes) {
    st.DeviceRecords[0].PasswordCode = codes;
  }
  // Command and data bytes d0..d7 of every frame sent since the last clear.
  std::vector<std::vector<int>> Sent() const {
    std::vector<std::vector<int>> out;
    for (const TransactCall& c : port.calls)
      out.push_back({c.frame.begin() + 3, c.frame.end() - 1});
    return out;
  }
  void FailCommand(std::uint8_t command) {
    port.responder = [command](Frame& f) {
      return f[3] == command ? SerialStatus::Timeout : SerialStatus::Ok;
    };
  }
  void Enter(const std::string& text) {
    pw.Text1.UserType(text);
    pw.Text1.UserKey(ui::kKeyEnter);
  }

  FrmKVRxxxA& w;
  FrmPassword pw;
  std::function<void()> during_window;
};

TEST_F(SystemLockTest, PasswordEntriesAcceptedAndRefused) {
  struct Case {
    const char* typed;
    std::array<double, kPasswordLength> stored;
    bool accepted;
  };
  const Case cases[] = {
      {"abc123", PasswordCodesOf("ABC123"), true},  // letter case aside
      {"ABC123", PasswordCodesOf("abc123"), true},  // lower case as the unit stores it (37..)
      {"A00000", {37, 1, 1, 1, 1, 1}, true},        // 37 − 26 = 11, "A"
      {"a00000", {37, 1, 1, 1, 1, 1}, true},
      {"B00000", {37, 1, 1, 1, 1, 1}, false},
      {"velmrk", PasswordCodesOf("000000"), true},         // the master password
      {"00000", PasswordCodesOf("000000"), false},         // the sixth character is a blank
      {"12", PasswordCodesOf("12"), true},                 // stored with trailing blanks
      {"00#000", PasswordCodesOf("000000"), false},        // "#" is no password character
      {"0000\xC3\xA9", PasswordCodesOf("0000  "), false},  // "é" is refused, not cut into bytes
      {"0000000", PasswordCodesOf("      "), true},        // seven characters: six blanks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    StorePassword(c.stored);
    const PasswordBytes p = PasswordEntry(c.typed);
    EXPECT_EQ(CheckCorrectPassword(p) && !VerifyPassword(p, st.DeviceRecords[0]), c.accepted);
  }
}

// "Lock" twice, then once more against a unit that does not answer: the flag, its image byte
// and the caption go back, and the meters of the other open window poll again afterwards.
TEST_F(SystemLockTest, LockButtonTogglesAndSurvivesAFailedPacket) {
  FrmKVRxxxA& other = Open(1);
  hp.clock.Advance(kMeterFirstPollMs);  // unit 1's window is current and polls
  struct Case {
    bool fail;
    double lock_after;
    const char* caption;
    ui::Colour colour;
    std::uint8_t sent;
  };
  const Case cases[] = {
      {false, 1.0, "Locked", kRed, 1},
      {false, 0.0, "Lock", kSilver, 0},
      {true, 0.0, "Lock", kSilver, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    port.calls.clear();
    if (c.fail) {
      FailCommand(CmdSystemSetting);
      hp.messages.Queue(ui::MsgAnswer::Ok);
    }
    ToolButtonClick(w, kLockButton);
    ASSERT_EQ(port.calls.size(), 1u);
    EXPECT_EQ(Sent()[0], (std::vector<int>{CmdSystemSetting, 3, 0, 0, 0, 0, 0, 0, c.sent}));
    EXPECT_EQ(st.DeviceRecords[0].LockOn, c.lock_after);
    EXPECT_EQ(st.DeviceImages[0][kLockOnAddr], c.lock_after);
    EXPECT_EQ(w.LblBtn(kLockButton).Caption(), c.caption);
    EXPECT_EQ(w.LblBtn(kLockButton).ForeColor(), c.colour);
    EXPECT_EQ(w.ImageBtn(0).Enabled(), c.lock_after == 0.0);
    EXPECT_FALSE(st.UiBusy);
    other.Activate();
    port.calls.clear();
    hp.clock.Advance(kMeterPollMs);
    EXPECT_EQ(CountSent(CmdStatusPoll), 1);
  }
}

// Lock mode, against a unit that does not answer: the password is right, the flag and its
// image byte go back and the window stays for another try.
TEST_F(SystemLockTest, AFailedPasswordLockKeepsTheWindowAndTheFlag) {
  StorePassword(PasswordCodesOf("Ab12  "));
  FailCommand(CmdSystemSetting);
  during_window = [&] {
    EXPECT_EQ(pw.Label2.Caption(), "System Unlock");
    hp.messages.Queue(ui::MsgAnswer::Ok);
    Enter("aB12");
    EXPECT_TRUE(pw.Loaded());
    pw.Unload();
  };
  ToolButtonClick(w, kPasswordButton);
  EXPECT_EQ(Sent(), (std::vector<std::vector<int>>{{CmdSystemSetting, 4, 0, 0, 0, 0, 0, 0, 1}}));
  EXPECT_EQ(hp.messages.Shown().back().text, kLinkFailureText);
  EXPECT_EQ(st.DeviceRecords[0].PasswordOn, 0.0);
  EXPECT_EQ(st.DeviceImages[0][kPasswordOnAddr], 0);
  EXPECT_EQ(w.LblBtn(kPasswordButton).ForeColor(), kSilver);
  EXPECT_FALSE(st.UiBusy);
}

// Change mode: the current password first, then six one-byte writes to memory 24..29; a
// 4-character password ends in two blanks (code 0).
TEST_F(SystemLockTest, NewPasswordWritesSixCodes) {
  StorePassword(PasswordCodesOf("000000"));
  during_window = [&] {
    EXPECT_FALSE(pw.Frame2.Visible());
    Enter("000000");
    EXPECT_TRUE(pw.Frame2.Visible());
    EXPECT_FALSE(pw.Frame1.Visible());
    pw.Text2.UserType("Zy9a");
    pw.Text3.UserType("zY9A");
    pw.LblShowCursor.UserClick();
  };
  ToolButtonClick(w, 7);
  const std::array<int, kPasswordLength> codes = {36, 35, 10, 11, 0, 0};
  std::vector<std::vector<int>> expected;
  for (int i = 0; i < kPasswordLength; ++i) {
    expected.push_back({CmdWriteMemory, 0, 24 + i, 1, 0, codes[i], 0, 0, 0});
    EXPECT_EQ(st.DeviceRecords[0].PasswordCode[i], codes[i]) << i;
    EXPECT_EQ(st.DeviceImages[0][kPasswordCodeAddr + i], codes[i]) << i;
  }
  EXPECT_EQ(Sent(), expected);
  EXPECT_FALSE(pw.Loaded());
  EXPECT_EQ(st.DeviceRecords[0].PasswordOn, 0.0);
}

// The third write fails: the first two codes are the unit's and ours, the rest stay old.
TEST_F(SystemLockTest, AFailedWriteKeepsOnlyWhatTheUnitTook) {
  StorePassword(PasswordCodesOf("000000"));
  int writes = 0;
  port.responder = [&](Frame& f) {
    return f[3] == CmdWriteMemory && ++writes == 3 ? SerialStatus::Timeout : SerialStatus::Ok;
  };
  hp.messages.Queue(ui::MsgAnswer::Ok);
  EXPECT_TRUE(WriteNewPassword(core, PasswordEntry("ABCDEF")));
  const std::array<double, kPasswordLength> kept = {11, 12, 1, 1, 1, 1};
  EXPECT_EQ(st.DeviceRecords[0].PasswordCode, kept);
  EXPECT_EQ(port.calls.size(), 3u);
}

}  // namespace
}  // namespace velmark::testing
