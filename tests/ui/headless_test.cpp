// The scripted platform: message boxes and file dialogs from queues, timers on the manual
// clock, and the window life cycle on the headless desktop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/headless.h"
#include "ui/window.h"

namespace velmark::ui {
namespace {

TEST(ScriptedMessageBox, AnswersFromTheQueueAndReportsAnUnexpectedBox) {
  ScriptedMessageBox box;
  std::vector<std::string> unexpected;
  box.OnUnexpected = [&](const ShownMessage& m) { unexpected.push_back(m.text); };
  box.Queue(MsgAnswer::Yes);
  EXPECT_EQ(box.Show("               Are you sure ? ", "Exit", MsgIcon::None, MsgButtons::YesNo),
            MsgAnswer::Yes);
  // Nobody queued an answer: a cautious No, and the test hears of it.
  EXPECT_EQ(box.Show("Reset?", "Warning", MsgIcon::None, MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(box.Show("Password wrong", "Insert Password", MsgIcon::Information, MsgButtons::Ok),
            MsgAnswer::Ok);
  ASSERT_EQ(box.Shown().size(), 3u);
  EXPECT_TRUE(box.Shown()[0].expected);
  EXPECT_FALSE(box.Shown()[1].expected);
  EXPECT_EQ(box.Shown()[2].icon, MsgIcon::Information);
  EXPECT_EQ(unexpected, (std::vector<std::string>{"Reset?", "Password wrong"}));
}

TEST(ScriptedFileDialog, AnswersInOrderAndRecordsTheRequests) {
  ScriptedFileDialog files;
  int unexpected = 0;
  files.OnUnexpected = [&](const std::string&) { ++unexpected; };
  files.Queue(std::string("/data/preset/a.C44"));
  files.Queue(std::nullopt);
  FileRequest req{"file preset (*.C44)|*.C44", "/data/preset", true};
  EXPECT_EQ(files.SaveFile(req), std::optional<std::string>("/data/preset/a.C44"));
  EXPECT_EQ(files.OpenFile(req), std::nullopt);
  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(files.OpenFile(req), std::nullopt);
  EXPECT_EQ(unexpected, 1);
  ASSERT_EQ(files.Requests().size(), 3u);
  EXPECT_EQ(files.Requests()[0].start_folder, "/data/preset");
}

struct TimerFixture : ::testing::Test {
  ManualClock clock;
  std::vector<std::string> log;
  Timer a, b;
  void SetUp() override {
    a.Bind(clock);
    b.Bind(clock);
    a.OnTimer = [this] { log.push_back("a@" + std::to_string(clock.NowMs())); };
    b.OnTimer = [this] { log.push_back("b@" + std::to_string(clock.NowMs())); };
  }
};

TEST_F(TimerFixture, TimersFireInDueOrderAndReArm) {
  a.SetInterval(300);
  b.SetInterval(200);
  a.SetTimerEnabled(true);
  b.SetTimerEnabled(true);
  clock.Advance(600);
  // At 600 both are due; b was re-armed later (at 400) than a was started, so a goes first.
  EXPECT_EQ(log, (std::vector<std::string>{"b@200", "a@300", "b@400", "a@600", "b@600"}));
  EXPECT_EQ(clock.NowMs(), 600);
}

TEST_F(TimerFixture, IntervalChangedInsideTheHandlerTakesEffectFromThatTick) {
  // The meter timer: first after 2000 ms, then every 80 ms.
  a.OnTimer = [this] {
    log.push_back("a@" + std::to_string(clock.NowMs()));
    a.SetInterval(80);
  };
  a.SetInterval(2000);
  a.SetTimerEnabled(true);
  clock.Advance(2170);
  EXPECT_EQ(log, (std::vector<std::string>{"a@2000", "a@2080", "a@2160"}));
}

TEST_F(TimerFixture, StoppedInsideTheHandlerFiresOnce) {
  a.OnTimer = [this] {
    a.SetTimerEnabled(false);
    log.push_back("a@" + std::to_string(clock.NowMs()));
    b.SetTimerEnabled(false);  // and stops another one before it is due
  };
  a.SetInterval(100);
  b.SetInterval(150);
  a.SetTimerEnabled(true);
  b.SetTimerEnabled(true);
  clock.Advance(1000);
  EXPECT_EQ(log, (std::vector<std::string>{"a@100"}));
  EXPECT_FALSE(clock.IsScheduled(a));
  EXPECT_FALSE(clock.IsScheduled(b));
}

TEST_F(TimerFixture, SleepMovesTimeWithoutFiringAndDestroyedTimersLeave) {
  a.SetInterval(50);
  a.SetTimerEnabled(true);
  clock.Sleep(150);
  EXPECT_TRUE(log.empty());
  clock.Advance(0);  // everything overdue fires now, once per interval passed
  EXPECT_EQ(log.size(), 3u);
  {
    Timer gone;
    gone.Bind(clock);
    gone.SetInterval(10);
    gone.SetTimerEnabled(true);
    EXPECT_TRUE(clock.IsScheduled(gone));
  }
  clock.Advance(20);  // must not touch the destroyed timer
  EXPECT_EQ(clock.NowMs(), 170);
}

// A window with a few controls and hooks to watch its life cycle.
class ProbeWindow : public Window {
 public:
  explicit ProbeWindow(Platform& p, std::string name = "FrmProbe") : Window(p, std::move(name)) {
    Register("Text1", text);
    Register("Timer1", timer);
    buttons.Add(0).SetCaption("OK");
    buttons.Add(1).SetCaption("Exit");
    Register("Command1", buttons);
  }
  TextBox text;
  ControlArray<Button> buttons;
  Timer timer;
  std::vector<std::string> events;
  bool refuse_close = false;

 protected:
  void Form_Load() override { events.push_back("load"); }
  void Form_Activate() override { events.push_back("activate"); }
  void Form_Resize() override { events.push_back("resize"); }
  void Form_QueryUnload(bool& cancel, UnloadMode mode) override {
    events.push_back(mode == UnloadMode::User ? "query:user" : "query:program");
    cancel = refuse_close;
  }
  void Form_Unload() override { events.push_back("unload"); }
};

TEST(Window, RegistryFindsControlsAndArrayElementsByName) {
  HeadlessPlatform hp;
  ProbeWindow w(hp.platform);
  EXPECT_EQ(w.Find("Text1"), &w.text);
  EXPECT_EQ(w.Find("Command1", 1), &w.buttons(1));
  EXPECT_EQ(w.Find("Command1"), nullptr);  // the array itself is not an element
  EXPECT_EQ(w.Find("Command1", 2), nullptr);
  EXPECT_EQ(w.buttons(1).Address(), "FrmProbe.Command1(1)");
  EXPECT_TRUE(w.timer.Bound());  // timers are bound on registration
}

TEST(Window, LoadShowAndUnloadWithCancel) {
  HeadlessPlatform hp;
  ProbeWindow w(hp.platform);
  w.Show();
  w.Show();  // loads only once
  EXPECT_TRUE(w.IsShown());
  EXPECT_EQ(hp.desktop.Active(), &w);
  w.refuse_close = true;
  EXPECT_FALSE(w.UserClose());
  EXPECT_TRUE(w.Loaded());
  w.refuse_close = false;
  EXPECT_TRUE(w.Unload());
  EXPECT_FALSE(w.Loaded());
  EXPECT_TRUE(hp.desktop.Open().empty());
  EXPECT_EQ(w.events, (std::vector<std::string>{"load", "query:user", "query:program", "unload"}));
  w.Show();  // a window can be loaded again later
  EXPECT_EQ(w.events.back(), "load");
}

TEST(Window, ModalReturnsAfterTheDriverUnloadsIt) {
  HeadlessPlatform hp;
  ProbeWindow owner(hp.platform, "FrmOwner");
  ProbeWindow dialog(hp.platform, "FrmDialog");
  owner.Show();
  std::vector<std::string> order;
  hp.desktop.ModalDriver = [&](Window& w) {
    order.push_back("driving " + w.Name());
    EXPECT_TRUE(w.IsModal());
    EXPECT_EQ(hp.desktop.Active(), &w);
    w.Unload();
  };
  dialog.ShowModal();
  order.push_back("returned");
  EXPECT_EQ(order, (std::vector<std::string>{"driving FrmDialog", "returned"}));
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(hp.desktop.Active(), &owner);
}

TEST(Window, ModalLeftOpenByTheDriverIsClosedAsByTheUserAndUndrivenIsReported) {
  HeadlessPlatform hp;
  ProbeWindow dialog(hp.platform);
  int undriven = 0;
  hp.desktop.OnUndrivenModal = [&](Window&) { ++undriven; };
  dialog.ShowModal();
  EXPECT_EQ(undriven, 1);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(dialog.events.back(), "unload");
  EXPECT_EQ(dialog.events[1], "query:user");
}

TEST(Window, FocusMovesWithLostBeforeGot) {
  HeadlessPlatform hp;
  ProbeWindow w(hp.platform);
  std::vector<std::string> log;
  w.text.OnGotFocus = [&] { log.push_back("text+"); };
  w.text.OnLostFocus = [&] { log.push_back("text-"); };
  w.buttons(0).OnGotFocus = [&] { log.push_back("ok+"); };
  w.text.SetFocus();
  w.buttons(0).SetFocus();
  w.buttons(0).SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"text+", "text-", "ok+"}));
  EXPECT_EQ(w.FocusedControl(), &w.buttons(0));
  EXPECT_FALSE(w.text.Focused());
}

TEST(Window, StateAndUserResizeRaiseResizeAndActivateRaisesActivate) {
  HeadlessPlatform hp;
  ProbeWindow w(hp.platform);
  w.Show();
  w.SetState(WindowState::Minimized);
  w.SetState(WindowState::Minimized);
  w.UserResize(9000, 5000);
  w.Activate();
  EXPECT_EQ(w.ClientWidth(), 9000);
  EXPECT_EQ(w.events, (std::vector<std::string>{"load", "resize", "resize", "activate"}));
}

TEST(Window, DestroyedWindowLeavesTheDesktop) {
  HeadlessPlatform hp;
  {
    ProbeWindow w(hp.platform);
    w.Show();
    ASSERT_EQ(hp.desktop.Open().size(), 1u);
  }
  EXPECT_TRUE(hp.desktop.Open().empty());
  EXPECT_EQ(hp.desktop.Active(), nullptr);
}

}  // namespace
}  // namespace velmark::ui
