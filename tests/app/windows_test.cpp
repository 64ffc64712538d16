// The application windows driven directly: the splash checks, the fatal port initialisation,
// the port window's "Check" and its init.cfg, the exit sequence and the version window.

#include <gtest/gtest.h>

#include <map>

#include "app/program.h"
#include "app_test_util.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using apptest::ReadAll;
using apptest::TempDir;
using apptest::WriteAll;

// A probe port on which some COM names open and others fail with a given status and text.
class ProbePort final : public SerialPort {
 public:
  struct Outcome {
    SerialStatus status;
    std::string text;
  };
  explicit ProbePort(std::map<std::string, Outcome> ports) : ports_(std::move(ports)) {}
  SerialStatus Init(int, int) override { return SerialStatus::Ok; }
  SerialStatus Open(const std::string& name, int) override {
    auto it = ports_.find(name);
    const Outcome o =
        it == ports_.end() ? Outcome{SerialStatus::NotFound, name + ": none"} : it->second;
    open_ = o.status == SerialStatus::Ok;
    error_ = o.text;
    return o.status;
  }
  SerialStatus Transact(Frame&, int, bool, bool, int) override { return SerialStatus::Timeout; }
  SerialStatus Close() override {
    open_ = false;
    return SerialStatus::Ok;
  }
  bool IsOpen() const override { return open_; }
  SerialStatus ReadData(std::span<std::uint8_t>, int, int) override {
    return SerialStatus::Timeout;
  }
  std::string LastErrorText() const override { return error_; }

 private:
  std::map<std::string, Outcome> ports_;
  bool open_ = false;
  std::string error_;
};

class FailingInit final : public SerialPort {
 public:
  SerialStatus Init(int, int) override { return SerialStatus::Io; }
  SerialStatus Open(const std::string&, int) override { return SerialStatus::Io; }
  SerialStatus Transact(Frame&, int, bool, bool, int) override { return SerialStatus::Io; }
  SerialStatus Close() override { return SerialStatus::Ok; }
  bool IsOpen() const override { return false; }
  SerialStatus ReadData(std::span<std::uint8_t>, int, int) override { return SerialStatus::Io; }
  std::string LastErrorText() const override { return "no"; }
};

struct ProgramFixture {
  explicit ProgramFixture(std::unique_ptr<SerialPort> line = nullptr,
                          std::map<std::string, ProbePort::Outcome> probe_ports = {}) {
    if (!line) {
      auto sim = std::make_unique<SimLine>(SimBus::Usb());
      this->sim = sim.get();
      line = std::move(sim);
    }
    ProgramOptions options;
    options.start_folder = data.path();
    options.make_probe_port = [probe_ports] { return std::make_unique<ProbePort>(probe_ports); };
    program = std::make_unique<Program>(hp.platform, std::move(line), options);
    program->OnEnd = [this](int code) { ended_with = code; };
  }
  // Starts and lets the splash hand over to the main window.
  void Started() {
    program->Start();
    hp.clock.Advance(2000);
  }
  // Opens the port window and lets `act` be the user.
  void WithPortWindow(std::function<void(FrmSelPort&)> act) {
    hp.desktop.ModalDriver = [&](ui::Window&) { act(program->SelPort()); };
    program->Main().ConnectionMode.UserChoose(kModeConnect);
    hp.desktop.ModalDriver = nullptr;
  }
  const ui::ShownMessage& LastMessage() const { return hp.messages.Shown().back(); }

  TempDir data;
  ui::HeadlessPlatform hp;
  SimLine* sim = nullptr;
  std::unique_ptr<Program> program;
  std::optional<int> ended_with;
};

TEST(Splash, ScreenChecksAndScale) {
  struct Case {
    int dpi, width, height;
    bool size_message, minimum_message;
    double scale;
    int splash_width;
  };
  const Case cases[] = {
      {96, 1024, 768, false, false, 1.0, 5430},   {96, 1024, 500, true, false, 1.0, 5430},
      {120, 1280, 960, false, false, 1.25, 4344}, {120, 1279, 960, true, false, 1.25, 4344},
      {96, 799, 599, true, true, 1.0, 5430},      {96, 799, 700, true, false, 1.0, 5430},
      {0, 1920, 1080, false, false, 1.0, 5430},  // a screen that reports no dpi counts as 96
  };
  for (const Case& c : cases) {
    ProgramFixture f;
    f.hp.screen.metrics = {c.dpi, c.width, c.height};
    f.hp.messages.Queue(ui::MsgAnswer::Ok);
    f.hp.messages.Queue(ui::MsgAnswer::Ok);
    f.program->Start();
    const auto& shown = f.hp.messages.Shown();
    ASSERT_EQ(shown.size(), std::size_t(c.size_message) + c.minimum_message) << c.width;
    if (c.size_message) {
      EXPECT_EQ(shown[0].text,
                "The size of the edit window exceed the size of the monitor\n"
                "please try to set the monitor resolution to 96dpi (small icon)");
      EXPECT_EQ(shown[0].title, "VELMARK");
      EXPECT_EQ(shown[0].icon, ui::MsgIcon::Information);
    }
    if (c.minimum_message) {
      EXPECT_EQ(shown.back().text, "Minimum display resolution is 800x600");
      EXPECT_EQ(shown.back().title, "Warning");
      EXPECT_EQ(shown.back().buttons, ui::MsgButtons::Ok);
    }
    EXPECT_DOUBLE_EQ(f.program->State().ScaleFactor, c.scale);
    EXPECT_EQ(f.program->Splash().ClientWidth(), c.splash_width);
  }
}

TEST(Splash, LocaleAndDataFolderThenTheMainWindowAfterTwoSeconds) {
  ProgramFixture f;
  f.hp.screen.decimal_separator = ",";
  f.program->Start();
  EXPECT_TRUE(f.program->State().DecimalIsComma);
  EXPECT_EQ(f.program->State().DataFolder, f.data.path().string());
  EXPECT_FALSE(f.program->Splash().Label1.Visible());
  f.hp.clock.Advance(1999);
  EXPECT_FALSE(f.program->Main().Loaded());
  f.hp.clock.Advance(1);
  EXPECT_TRUE(f.program->Main().IsShown());
  EXPECT_FALSE(f.program->Splash().Loaded());
  EXPECT_TRUE(f.program->Main().ConnectionMode.Visible());
  EXPECT_TRUE(f.program->Main().Timer1.TimerEnabled());
  EXPECT_TRUE(f.hp.messages.Shown().empty());
}

TEST(MainWindow, APortThatCannotBeInitialisedEndsTheProgram) {
  ProgramFixture f(std::make_unique<FailingInit>());
  f.hp.messages.Queue(ui::MsgAnswer::Ok);
  f.Started();
  ASSERT_EQ(f.hp.messages.Shown().size(), 1u);
  EXPECT_EQ(f.LastMessage().text, "Wrong COM initialization!");
  EXPECT_EQ(f.LastMessage().title, "SerialLibDemo");
  EXPECT_EQ(f.LastMessage().icon, ui::MsgIcon::Critical);
  EXPECT_EQ(f.ended_with, 1);
  EXPECT_TRUE(f.program->Ended());
  EXPECT_FALSE(f.program->Main().Timer1.TimerEnabled());
}

TEST(PortWindow, AProbePortThatCannotBeInitialisedEndsTheProgram) {
  ProgramFixture f;
  f.Started();
  ProgramOptions options;
  options.start_folder = f.data.path();
  options.make_probe_port = [] { return std::make_unique<FailingInit>(); };
  Program program(f.hp.platform, nullptr, options);
  std::optional<int> ended;
  program.OnEnd = [&](int code) { ended = code; };
  f.hp.messages.Queue(ui::MsgAnswer::Ok);
  program.ConnectSequence();
  EXPECT_EQ(f.LastMessage().text, "Wrong COM initialization!");
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(program.SelPort().Loaded());
  EXPECT_FALSE(program.Connect().Loaded()) << "no connection after the end";
}

TEST(PortWindow, CheckReportsFoundPortsAndTheReasonsOthersRefused) {
  const std::string refused = "COM7 -> /dev/ttyS6: permission denied (join the dialout group)";
  ProgramFixture f(nullptr, {{"COM3", {SerialStatus::Ok, ""}},
                             {"COM5", {SerialStatus::Ok, ""}},
                             {"COM7", {SerialStatus::Permission, refused}}});
  f.Started();
  f.hp.messages.Queue(ui::MsgAnswer::Ok);
  f.WithPortWindow([&](FrmSelPort& w) {
    w.BtnSearchCom.UserClick();
    EXPECT_EQ(w.Combo1.Text(), "COM 5");
    EXPECT_EQ(f.program->State().ComPort, 5);
    w.Command1(1).UserClick();
  });
  EXPECT_EQ(f.LastMessage().text, "COM found:\nCOM3\nCOM5\n\n" + refused);
  EXPECT_EQ(f.LastMessage().title, "Search COM");
  EXPECT_EQ(f.LastMessage().icon, ui::MsgIcon::Information);
}

TEST(PortWindow, CheckWithoutAnyPortSelectsNone) {
  ProgramFixture f(nullptr, {{"COM2", {SerialStatus::Busy, "COM2 -> /dev/ttyUSB0: busy"}}});
  f.Started();
  f.hp.messages.Queue(ui::MsgAnswer::Ok);
  f.WithPortWindow([&](FrmSelPort& w) {
    w.Combo1.UserSelect(4);
    w.BtnSearchCom.UserClick();
    EXPECT_EQ(w.Combo1.Text(), "NONE");
    w.Command1(1).UserClick();
  });
  EXPECT_EQ(f.LastMessage().text, "COM not found\n\nCOM2 -> /dev/ttyUSB0: busy");
  EXPECT_EQ(f.LastMessage().icon, ui::MsgIcon::Exclamation);
  EXPECT_FALSE(f.program->SelPort().Loaded());
}

TEST(PortWindow, ADamagedInitCfgGivesNoneAndUsbAndOkKeepsWhatItCarried) {
  ProgramFixture f;
  // COM 99 does not exist in the list, connection type 7 is no type; text and trailing bytes
  // are someone else's and go back into the file as they were.
  const std::string file("\x63\x00\x02\x00zq\x07\x00\x01\x02\x03\x04\x05\x06", 14);
  WriteAll(f.data.path() / "init.cfg", file);
  f.Started();
  f.WithPortWindow([&](FrmSelPort& w) {
    EXPECT_EQ(w.Combo1.Text(), "NONE");
    EXPECT_TRUE(w.Option2(kUsb).Value());
    EXPECT_FALSE(w.FrameConnection.Visible());
    w.Combo1.UserSelect(2);
    w.Command1(0).UserClick();
  });
  EXPECT_FALSE(f.program->SelPort().SelPortCancelled);
  EXPECT_EQ(ReadAll(f.data.path() / "init.cfg"),
            std::string("\x02\x00\x02\x00zq\x00\x00\x01\x02\x03\x04\x05\x06", 14));
  EXPECT_TRUE(f.program->Connect().Loaded());
}

TEST(PortWindow, OneRs485DeviceNeverKeepsId0AndSeveralDisablesTheIdList) {
  ProgramFixture f;
  f.Started();
  f.WithPortWindow([&](FrmSelPort& w) {
    w.Option2(kRs485).UserClick();
    EXPECT_EQ(w.ClientHeight() + kWindowFrameHeight, kRs485Height);
    EXPECT_EQ(w.Combo2.Text(), "1");
    EXPECT_EQ(f.program->State().SingleDeviceId, 1);
    w.Combo2.UserSelect(9);
    EXPECT_EQ(f.program->State().SingleDeviceId, 9);
    w.Option1(3).UserClick();
    EXPECT_FALSE(w.FrameIdSelect.Enabled());
    EXPECT_TRUE(f.program->State().SeveralDevices);
    w.Option1(0).UserClick();
    EXPECT_TRUE(w.Combo2.EffectiveEnabled());
    w.Option1(2).UserClick();
    w.Combo1.UserSelect(1);
    w.Command1(0).UserClick();
  });
  const ProgramState& st = f.program->State();
  EXPECT_EQ(st.ConnectionType, kRs485);
  EXPECT_TRUE(st.SeveralDevices) << "\"with 2 or max 10 device\" is several devices";
  EXPECT_EQ(st.SingleDeviceId, 9);
  EXPECT_EQ(ReadAll(f.data.path() / "init.cfg"), std::string("\x01\0\0\0\x01\0\0\0\0\0\0\0", 12));
}

// The timers that pace the start: nothing happens a millisecond before each interval is up.
TEST(WindowTimers, TheConnectionSearchesAfter100msAndTheMainWindowChecksEverySecond) {
  ProgramFixture f;
  f.Started();
  f.WithPortWindow([&](FrmSelPort& w) {
    w.Combo1.UserSelect(1);
    w.Command1(0).UserClick();
  });
  f.hp.clock.Advance(99);
  EXPECT_TRUE(f.sim->Sent().empty()) << "the connection window searched before its 100 ms";
  f.hp.clock.Advance(1);
  EXPECT_FALSE(f.sim->Sent().empty());

  ProgramFixture g;
  g.Started();
  g.program->State().OpenWindowCount = 0;  // an edit window is open
  g.hp.clock.Advance(999);
  EXPECT_TRUE(g.program->Main().ConnectionMode.ItemAt(kModeConnect).enabled);
  g.hp.clock.Advance(1);
  EXPECT_FALSE(g.program->Main().ConnectionMode.ItemAt(kModeConnect).enabled);
}

// Exit: the question, then the release to address 0 when the port is open, then the end.
TEST(MainWindow, ExitSendsTheReleaseOnlyWhenThereIsSomeoneToHearIt) {
  struct Case {
    const char* what;
    bool port_open, online, demo;
    int frames;
  };
  for (const Case& c :
       {Case{"on-line", true, true, false, 1}, Case{"port closed", false, true, false, 0},
        Case{"unit 0 off-line", true, false, false, 0}, Case{"demo", true, true, true, 0}}) {
    ProgramFixture f;
    f.Started();
    ProgramState& st = f.program->State();
    st.LinkStarted = true;
    st.DemoMode = c.demo;
    st.ConnectionType = kRs485;
    st.DeviceTable[0] = DeviceEntry{c.online, false, 3, true};
    if (c.port_open) f.program->Link().Port().Open("COM1", 9600);
    f.hp.messages.Queue(ui::MsgAnswer::Yes);
    EXPECT_TRUE(f.program->Main().UserClose()) << c.what;
    EXPECT_EQ(f.LastMessage().text, "               Are you sure ? ");
    EXPECT_EQ(f.LastMessage().title, "Exit");
    const auto& sent = f.program->Line().Sent();
    ASSERT_EQ(static_cast<int>(sent.size()), c.frames) << c.what;
    if (c.frames) {
      EXPECT_EQ(sent[0], BuildFrame(0, CmdRelease, {}));
    }
    EXPECT_FALSE(f.program->Link().Port().IsOpen()) << c.what;
    EXPECT_EQ(f.ended_with, 0) << c.what;
  }
}

TEST(MainWindow, AnsweringNoKeepsTheProgramRunning) {
  ProgramFixture f;
  f.Started();
  f.hp.messages.Queue(ui::MsgAnswer::No);
  EXPECT_FALSE(f.program->Main().UserClose());
  EXPECT_TRUE(f.program->Main().Loaded());
  EXPECT_FALSE(f.program->Ended());
}

TEST(VersionWindow, ShowsTheProgramAndTheCurrentUnitsFirmware) {
  ProgramFixture f;
  f.Started();
  ProgramState& st = f.program->State();
  st.CurUnit = 2;
  st.FirmwareVersion[3] = "3.1.2";
  f.hp.desktop.ModalDriver = [&](ui::Window& w) {
    FrmVersion& v = f.program->Version();
    EXPECT_EQ(&w, &v);
    EXPECT_EQ(v.Caption(), "About");
    EXPECT_EQ(v.Label2.Caption(), "3.1.2");
    EXPECT_EQ(v.Label3.Caption(), "2.0.8") << "a unit that never answered the version request";
    EXPECT_EQ(v.Label4.Caption(), "VELMARK");
    v.LblBtn1.UserClick();
  };
  f.program->ShowVersion();
  EXPECT_FALSE(f.program->Version().Loaded());
}

TEST(DeviceList, ClosingOnlyMinimisesOrRestoresUnlessTheProgramClosesIt) {
  ProgramFixture f;
  f.Started();
  FrmSearchNet& list = f.program->SearchNet();
  f.program->State().LastDeviceIndex = 0;
  list.Show();
  EXPECT_FALSE(list.UserClose());
  EXPECT_EQ(list.State(), ui::WindowState::Minimized);
  EXPECT_FALSE(list.UserClose());
  EXPECT_EQ(list.State(), ui::WindowState::Normal);
  list.SetState(ui::WindowState::Maximized);
  EXPECT_FALSE(list.UserClose());
  EXPECT_EQ(list.State(), ui::WindowState::Normal);
  f.program->State().DeviceListClosing = true;
  EXPECT_TRUE(list.Unload());
  // A failure report for a row the list does not have is dropped.
  f.program->WriteDeviceRow(7, "ID:07 -  VELMARK  - Off-line");
}

TEST(DeviceList, AUnitThatFailsThePresenceTestIsSilentlyNotOpened) {
  ProgramFixture f;
  f.Started();
  ProgramState& st = f.program->State();
  st.LinkStarted = true;
  st.ComPort = 1;
  st.DeviceTable[0] = DeviceEntry{true, false, 0, true};
  st.NeedsConnect[0] = false;
  st.LastDeviceIndex = 0;
  f.program->SearchNet().Show();
  f.sim->Unit(0)->StopAnswering();
  f.program->SearchNet().MSFlexGrid1.UserDblClick(0);
  EXPECT_EQ(f.program->ExistingEditWindow(0), nullptr);
  EXPECT_FALSE(st.PingOk[0]);
  EXPECT_FALSE(f.program->SearchNet().LblLoading.Visible());
  EXPECT_FALSE(st.UiBusy);
  EXPECT_TRUE(f.program->SearchNet().MSFlexGrid1.Enabled());
  EXPECT_TRUE(f.hp.messages.Shown().empty());
}

}  // namespace
}  // namespace velmark
