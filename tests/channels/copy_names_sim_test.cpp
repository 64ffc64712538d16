// A seeded mix of channel copies, renames, panel-lock toggles and a few value changes through the
// windows against
// the in-process simulated unit: afterwards the unit's memory equals the program's image. The
// link boxes stay off, as the simulated unit does not repeat linked changes.

#include <gtest/gtest.h>

#include <random>

#include "channels/frm_copy_out.h"
#include "channels/frm_edit_label.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "sim/sim_line.h"
#include "sim/unit_memory.h"
#include "ui/headless.h"

namespace velmark {
namespace {

class CopyAndRename {
 public:
  explicit CopyAndRename(std::uint64_t seed) : line_(SimBus::Usb(seed)), gen_(seed) {
    windows_.core = &core_;
    st_.LinkStarted = true;
    st_.ComPort = 1;
    st_.DeviceTable[0] = {true, false, 0, true};
    st_.DeviceName[0] = " VELMARK ";
    line_.Open("COM1", 9600);
    const ParamBytes params = line_.Unit(0)->Memory().Params();
    std::copy(params.begin(), params.end(), st_.DeviceImages[0].begin());
    hp_.messages.OnUnexpected = [](const ui::ShownMessage& m) {
      ADD_FAILURE() << "unexpected message box: \"" << m.text << "\"";
    };
    FrmKVRxxxA& w = windows_.Window(0);
    w.Show();
    w.OnShowNames = [this] { names_.ShowModal(); };
    WireNameLabels(w);
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }

  void Step() {
    FrmKVRxxxA& w = windows_.Window(0);
    switch (Pick(0, 6)) {
      case 0:
        return w.ImgNameTab(Pick(0, 9)).UserClick();
      case 6:
        ++locks;
        return w.ImageBtn(4).UserClick();  // "Lock": while on, the edits above change nothing
      case 1:
        return w.Slider1(Pick(0, 7)).UserSetValue(Pick(0, 300));
      case 2:
        return w.ImgMute(Pick(0, 7)).UserClick();
      case 3:
        return Rename();
      default:
        return Copy();
    }
  }

  void ExpectUnitEqualsImage() {
    const ParamBytes params = line_.Unit(0)->Memory().Params();
    const ParamImage& img = st_.DeviceImages[0];
    for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(params[a], img[a]) << "address " << a;
    EXPECT_EQ(line_.Unit(0)->Memory().System(kSysLockOn), img[kLockOnAddr]);
  }

  int copies = 0, renames = 0, locks = 0;

 private:
  void Copy() {
    const int mode = Pick(0, 1);
    const int s = Pick(0, 3), d = (s + Pick(1, 3)) % 4;
    copy_.CopyMode = mode;
    copy_.Show();
    copy_.Combo1(0).UserSelect(s);
    copy_.Combo1(1).UserSelect(d);
    hp_.messages.Queue(ui::MsgAnswer::Yes);
    copy_.LblShowCursor(0).UserClick();
    ++copies;
  }

  void Rename() {
    FrmKVRxxxA& w = windows_.Window(0);
    (Pick(0, 1) == 0 ? w.LblWinDly(Pick(0, 7)) : w.Label300(Pick(0, 7))).UserDblClick();
    for (int c = 0; c < kChannelCount; ++c) {
      std::string text;
      const int n = Pick(1, 6);
      for (int k = 0; k < n; ++k) text += static_cast<char>(Pick(33, 126));
      names_.Text1(c).UserReplace(text);
    }
    hp_.messages.Queue(ui::MsgAnswer::Yes);
    names_.LblShowCursor(0).UserClick();
    ++renames;
  }

  ui::HeadlessPlatform hp_;
  ProgramState st_;
  SimLine line_;
  RxTx link_{st_, line_, hp_.messages};
  EditWindowTable windows_;
  Core core_{st_, link_, hp_.platform, windows_};
  FrmCopyOut copy_{core_};
  FrmEditLabel names_{core_};
  std::mt19937_64 gen_;
};

TEST(CopyAndRenameSim, TheUnitEndsWithExactlyTheProgramsImage) {
  for (std::uint64_t seed : {21u, 22u, 23u}) {
    SCOPED_TRACE(seed);
    CopyAndRename person(seed);
    for (int i = 0; i < 300; ++i) {
      person.Step();
      if (::testing::Test::HasFailure()) return;
    }
    person.ExpectUnitEqualsImage();
    EXPECT_GT(person.copies, 50);
    EXPECT_GT(person.renames, 20);
    EXPECT_GT(person.locks, 10);
  }
}

}  // namespace
}  // namespace velmark
