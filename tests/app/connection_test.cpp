// Connecting and opening units that do not answer everything: a name read that fails, a full
// read that stops half-way. The connection always reaches the device list, and an incomplete
// read never opens (and so never decodes and sends) an image the unit did not give.

#include <gtest/gtest.h>

#include "app/program.h"
#include "app_test_util.h"
#include "link_fixture.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using apptest::FaultyLine;

constexpr const char* kTypeRow = "VELMARK";

void Name(SimUnit& unit, std::string_view name) {
  std::string padded(name);
  padded.resize(kProgramNameLength, ' ');
  std::copy(padded.begin(), padded.end(), unit.Memory().MutableBytes().begin());
}

struct Connected {
  explicit Connected(SimBus bus) {
    auto line = std::make_unique<FaultyLine>(std::move(bus));
    faulty = line.get();
    ProgramOptions options;
    options.start_folder = data.path();
    program = std::make_unique<Program>(hp.platform, std::move(line), options);
    program->Start();
    hp.clock.Advance(2000);
  }
  SimUnit& Unit(int id) { return *faulty->Sim().Unit(id); }
  // Connect → COM1, the bus's connection mode → OK, and the list filled.
  void Connect() {
    const bool rs485 = faulty->Sim().Bus().Mode() == BusMode::Rs485;
    hp.desktop.ModalDriver = [&](ui::Window&) {
      FrmSelPort& w = program->SelPort();
      w.Combo1.UserSelect(1);
      if (rs485) {
        w.Option2(kRs485).UserClick();
        w.Option1(3).UserClick();
      }
      w.Command1(0).UserClick();
    };
    program->Main().ConnectionMode.UserChoose(kModeConnect);
    hp.desktop.ModalDriver = nullptr;
    hp.clock.Advance(100);  // the connection window's timer: search and names
    hp.clock.Advance(300);  // the device list's timer: the rows
  }
  std::string Row(int r) { return program->SearchNet().MSFlexGrid1.TextMatrix(r, 0); }
  int Sent(std::uint8_t cmd, int d0 = -1) const {
    int n = 0;
    for (const Frame& f : faulty->Sim().Sent()) n += f[3] == cmd && (d0 < 0 || f[4] == d0);
    return n;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : hp.messages.Shown()) texts.push_back(m.text);
    return texts;
  }

  apptest::TempDir data;
  ui::HeadlessPlatform hp;
  FaultyLine* faulty = nullptr;
  std::unique_ptr<Program> program;
};

TEST(Connection, AUnitWhoseNameReadFailsIsListedAndTheRestOfTheBusToo) {
  struct Case {
    const char* what;
    SimBus bus;
    int muted_id;
    std::vector<std::string> rows;
  };
  std::vector<Case> cases;
  cases.push_back({"USB", SimBus::Usb(), 0, {"USB - VELMARK - On-line"}});
  cases.push_back(
      {"RS-485, the middle unit",
       SimBus::Rs485(std::vector<int>{1, 2, 3}),
       2,
       {"ID:01 - Front L - On-line", "ID:02 - VELMARK - On-line", "ID:03 - Front R - On-line"}});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connected f(std::move(c.bus));
    if (f.faulty->Sim().Unit(1)) Name(f.Unit(1), "Front L");
    if (f.faulty->Sim().Unit(3)) Name(f.Unit(3), "Front R");
    Name(f.Unit(c.muted_id), "Sub");
    f.Unit(c.muted_id).MuteCommand(CmdReadMemory);
    f.Connect();
    EXPECT_FALSE(f.program->Connect().Loaded()) << "the connection window always closes";
    ASSERT_TRUE(f.program->SearchNet().Loaded());
    for (std::size_t r = 0; r < c.rows.size(); ++r)
      EXPECT_EQ(f.Row(static_cast<int>(r)), c.rows[r]);
    EXPECT_TRUE(f.hp.messages.Shown().empty());

    // Opening it reads the whole unit, its own name with it.
    const int row = c.muted_id == 0 ? 0 : 1;
    f.program->SearchNet().MSFlexGrid1.UserDblClick(row);
    EXPECT_TRUE(f.program->EditWindowOf(row).Loaded());
    EXPECT_NE(f.Row(row).find("Sub - On-line"), std::string::npos) << f.Row(row);
  }
}

TEST(Connection, EveryOkStartsAFreshSearch) {
  Connected f(SimBus::Usb());
  f.Unit(0).MuteCommand(CmdReadMemory);
  f.Connect();
  EXPECT_EQ(f.Row(0), std::string("USB - ") + kTypeRow + " - On-line");
  f.Unit(0).MuteCommand(CmdReadMemory, false);
  Name(f.Unit(0), "Stage left");
  f.hp.messages.Queue(ui::MsgAnswer::Yes);  // "Check all connected devices ..."
  f.Connect();
  EXPECT_EQ(f.Sent(CmdPing), 2);
  EXPECT_EQ(f.Row(0), "USB - Stage left - On-line");
}

// The nine exchanges of a default unit's full read, each failing in turn: the window does not
// open, the unit's link mask is never written, one message says so, and the next double click
// reconnects and reads the unit again.
TEST(Connection, AnIncompleteReadOpensNothingSendsNothingAndAsksForAReconnection) {
  for (int step = 0; step < 9; ++step) {
    SCOPED_TRACE(step);
    Connected f(SimBus::Usb());
    f.Unit(0).Memory().SetLinkMask(0x11);
    f.Connect();
    f.faulty->fail_at = f.faulty->exchanges + 1 + step;  // after the presence test
    f.program->SearchNet().MSFlexGrid1.UserDblClick(0);
    EXPECT_EQ(f.program->ExistingEditWindow(0), nullptr);
    EXPECT_EQ(f.Sent(CmdLinkMask, 1), 0) << "no link mask from a read that did not complete";
    EXPECT_EQ(f.Unit(0).Memory().LinkMask(), 0x11);
    EXPECT_EQ(f.Messages(), std::vector<std::string>{kReadIncompleteText});
    EXPECT_EQ(f.Row(0), "USB -  VELMARK  - Off-line");
    EXPECT_TRUE(f.program->State().NeedsConnect[0]);
    EXPECT_FALSE(f.program->State().UiBusy);
    EXPECT_FALSE(f.program->SearchNet().LblLoading.Visible());

    f.hp.messages.Queue(ui::MsgAnswer::Yes);  // "Do you want connect this device ..."
    f.program->SearchNet().MSFlexGrid1.UserDblClick(0);
    ASSERT_NE(f.program->ExistingEditWindow(0), nullptr);
    EXPECT_TRUE(f.program->ExistingEditWindow(0)->Loaded());
    EXPECT_EQ(f.Sent(CmdLinkMask, 1), 1);
    EXPECT_EQ(f.Unit(0).Memory().LinkMask(), 0x11) << "the unit's own mask written back";
  }
}

// Once an edit window is open, a failed exchange is reported by the engine; the incomplete
// read adds no second message. A failed block read is never reported by the engine, so the
// read's own message is the one.
TEST(Connection, AnIncompleteReadIsToldOnceWhenFailuresAreReported) {
  struct Case {
    int step;
    const char* message;
  };
  const Case cases[] = {{1, kLinkFailureText}, {2, kReadIncompleteText}};
  for (const Case& c : cases) {
    Connected f(SimBus::Rs485(std::vector<int>{1, 2}));
    f.Connect();
    f.program->SearchNet().MSFlexGrid1.UserDblClick(0);
    ASSERT_TRUE(f.program->EditWindowOf(0).Loaded());
    f.faulty->fail_at = f.faulty->exchanges + 1 + c.step;
    f.program->SearchNet().MSFlexGrid1.UserDblClick(1);
    EXPECT_EQ(f.program->ExistingEditWindow(1), nullptr) << c.step;
    EXPECT_EQ(f.Messages(), std::vector<std::string>{c.message}) << c.step;
    EXPECT_EQ(f.Row(1), "ID:02 -  VELMARK  - Off-line") << c.step;
    EXPECT_TRUE(f.program->State().NeedsConnect[1]);
  }
}

}  // namespace
}  // namespace velmark
