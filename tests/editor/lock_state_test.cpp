// Which controls the panel lock and the password lock leave usable, and how the lock buttons
// read when a window opens.

#include <gtest/gtest.h>

#include "edit_window_fixture.h"
#include "editor/lock_state.h"

namespace velmark::testing {
namespace {

class LockStateTest : public EditWindowTest {
 protected:
  void ExpectEditing(FrmKVRxxxA& w, bool on) {
    for (int p = 0; p < 3; ++p) EXPECT_EQ(w.FramePage(p).Enabled(), on) << "page " << p;
    for (int c = 0; c < 8; ++c) {
      EXPECT_EQ(w.CheckLinkOut(c).Enabled(), on) << c;
      EXPECT_EQ(w.LblLinkOut(c).Enabled(), on) << c;
    }
  }
  // The tool buttons that are enabled.
  std::vector<int> EnabledButtons(FrmKVRxxxA& w) {
    std::vector<int> out;
    for (int i = 0; i < 12; ++i) {
      if (w.ImageBtn(i).Enabled()) out.push_back(i);
    }
    return out;
  }
};

TEST_F(LockStateTest, EachLockLeavesOnlyTheButtonThatLiftsIt) {
  struct Case {
    double lock, password;
    bool editing;
    std::vector<int> buttons;
  };
  const Case cases[] = {
      {0.0, 0.0, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {1.0, 0.0, false, {4}},
      {0.0, 1.0, false, {5}},
      {1.0, 1.0, false, {5}},
      // Earlier states in a reused window do not leak: password after panel lock, and back.
      {0.0, 1.0, false, {5}},
      {1.0, 0.0, false, {4}},
      {0.0, 0.0, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
  };
  FrmKVRxxxA& w = windows.Window(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "lock " << c.lock << " password " << c.password);
    st.DeviceRecords[0].LockOn = c.lock;
    st.DeviceRecords[0].PasswordOn = c.password;
    ApplyLockState(core);
    ExpectEditing(w, c.editing);
    EXPECT_EQ(EnabledButtons(w), c.buttons);
  }
}

TEST_F(LockStateTest, ApplyLockStateWorksOnTheCurrentUnitsWindow) {
  FrmKVRxxxA& w0 = windows.Window(0);
  FrmKVRxxxA& w1 = windows.Window(1);
  st.DeviceRecords[1].LockOn = 1.0;
  st.CurUnit = 1;
  ApplyLockState(core);
  ExpectEditing(w1, false);
  ExpectEditing(w0, true);
}

TEST_F(LockStateTest, OpeningShowsTheLockButtons) {
  struct Case {
    std::uint8_t lock_byte, password_byte;
    const char* lock_caption;
    ui::Colour lock_colour, password_colour;
    std::vector<int> buttons;
  };
  constexpr ui::Colour kRed = 255, kSilver = 12632256;
  const Case cases[] = {
      {0, 0, "Lock", kSilver, kSilver, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {1, 0, "Locked", kRed, kSilver, {4}},
      {0, 1, "Lock", kSilver, kRed, {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lock_caption);
    st.DeviceImages[0][kLockOnAddr] = c.lock_byte;
    st.DeviceImages[0][kPasswordOnAddr] = c.password_byte;
    st.DeviceRecords[0].LockOn = c.lock_byte;
    st.DeviceRecords[0].PasswordOn = c.password_byte;
    FrmKVRxxxA& w = Open(0);
    EXPECT_EQ(w.LblBtn(4).Caption(), c.lock_caption);
    EXPECT_EQ(w.LblBtn(4).ForeColor(), c.lock_colour);
    EXPECT_EQ(w.LblBtn(5).Caption(), "Password");
    EXPECT_EQ(w.LblBtn(5).ForeColor(), c.password_colour);
    EXPECT_EQ(st.DeviceImages[0][kLockOnAddr], c.lock_byte);
    EXPECT_EQ(EnabledButtons(w), c.buttons);
    hp.messages.Queue(ui::MsgAnswer::Yes);
    ASSERT_TRUE(w.UserClose());
  }
}

}  // namespace
}  // namespace velmark::testing
