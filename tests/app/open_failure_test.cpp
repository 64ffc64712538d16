// A unit whose full read completes but whose link mask, written while its edit window loads,
// is not acknowledged. The engine tells it and marks the unit; the window, not yet counted as
// open when the message came, must close as the message says, and the next double click reads
// the unit again.

#include <gtest/gtest.h>

#include "app/program.h"
#include "app_test_util.h"
#include "link_fixture.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using apptest::FaultyLine;

TEST(OpeningAUnit, ALinkMaskThatFailsAsTheWindowLoadsClosesTheWindow) {
  apptest::TempDir data;
  ui::HeadlessPlatform hp;
  auto line = std::make_unique<FaultyLine>(SimBus::Usb());
  FaultyLine& faulty = *line;
  ProgramOptions options;
  options.start_folder = data.path();
  Program program(hp.platform, std::move(line), options);
  program.Start();
  hp.clock.Advance(2000);
  hp.desktop.ModalDriver = [&](ui::Window&) {
    program.SelPort().Combo1.UserSelect(1);
    program.SelPort().Command1(0).UserClick();
  };
  program.Main().ConnectionMode.UserChoose(kModeConnect);
  hp.desktop.ModalDriver = nullptr;
  hp.clock.Advance(100);
  hp.clock.Advance(300);
  const ProgramState& st = program.State();
  const int windows = st.OpenWindowCount;

  // Presence test, nine reads, two polls: the thirteenth exchange is the decoder's link mask.
  faulty.fail_at = faulty.exchanges + 12;
  hp.messages.Queue(ui::MsgAnswer::Ok);
  program.SearchNet().MSFlexGrid1.UserDblClick(0);
  ASSERT_FALSE(faulty.Sim().Sent().empty());
  EXPECT_EQ(faulty.Sim().Sent().back()[3], CmdLinkMask);
  ASSERT_EQ(hp.messages.Shown().size(), 1u);
  EXPECT_EQ(hp.messages.Shown()[0].text, kLinkFailureText);
  ASSERT_NE(program.ExistingEditWindow(0), nullptr);
  EXPECT_FALSE(program.ExistingEditWindow(0)->Loaded());
  EXPECT_FALSE(st.DeviceTable[0].WindowOpen);
  EXPECT_EQ(st.OpenWindowCount, windows);
  EXPECT_TRUE(st.NeedsConnect[0]);
  EXPECT_FALSE(st.ConfigRead[0]);

  const std::size_t sent = faulty.Sim().Sent().size();
  hp.messages.Queue(ui::MsgAnswer::Yes);  // "Do you want connect this device ..."
  program.SearchNet().MSFlexGrid1.UserDblClick(0);
  EXPECT_TRUE(program.ExistingEditWindow(0)->Loaded());
  EXPECT_GT(faulty.Sim().Sent().size(), sent + 12) << "the unit is read again";
  EXPECT_EQ(hp.messages.Shown().size(), 2u);
}

}  // namespace
}  // namespace velmark
