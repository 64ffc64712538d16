// The Qt desktop and services: the MDI frame and its children, closing by the user, modal
// windows on a nested loop, menus, timers, message boxes and file filters.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/controls.h"
#include "ui/headless.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"

namespace velmark::ui::qt {
namespace {

class TestWindow : public Window {
 public:
  TestWindow(Platform& p, std::string name) : Window(p, std::move(name)) {
    Register("Menu1", menu);
    Register("Timer1", timer);
    menu.SetCaption("Connect");
    menu.SetItems({"Connect"});
  }
  Menu menu;
  Timer timer;
  bool refuse = false;
  int queries = 0;

 protected:
  void Form_QueryUnload(bool& cancel, UnloadMode) override {
    ++queries;
    cancel = refuse;
  }
};

struct DesktopTest : ::testing::Test {
  QtDesktop desktop{1.0};
  ScriptedMessageBox messages;
  ScriptedFileDialog files;
  QtClock clock;
  FixedScreen screen;
  Platform platform{desktop, messages, files, clock, clock, screen};
  int frame_closed = 0;
  void SetUp() override {
    desktop.OnFrameClosed = [this] { ++frame_closed; };
  }
  static void UserCloses(QWidget* w) {
    QCloseEvent e;
    QCoreApplication::sendEvent(w, &e);
  }
};

TEST_F(DesktopTest, FrameIsAMainWindowAndChildrenAreSubWindows) {
  TestWindow frame(platform, "MDIFrmMain");
  frame.SetMdiFrame(true);
  frame.SetCaption("VELMARK - Speaker management");
  TestWindow child(platform, "FrmKVRxxxA");
  child.SetMdiChild(true);
  child.SetClientSize(15 * 300, 15 * 200);
  frame.Show();
  child.Show();
  auto* main = qobject_cast<QMainWindow*>(desktop.WidgetOf(frame));
  auto* sub = qobject_cast<QMdiSubWindow*>(desktop.WidgetOf(child));
  ASSERT_TRUE(main && sub);
  EXPECT_EQ(main->windowTitle(), "VELMARK - Speaker management");
  EXPECT_EQ(sub->mdiArea(), main->centralWidget());
  EXPECT_EQ(sub->widget()->size(), QSize(300, 200));
  EXPECT_EQ(desktop.Active(), &child);
  // The frame's visible menu is in its menu bar; choosing the item reaches the menu's click.
  int chosen = -1;
  frame.menu.OnClick = [&](int i) { chosen = i; };
  auto menus = main->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "Connect");
  menus[0]->menu()->actions()[0]->trigger();
  EXPECT_EQ(chosen, 0);
  frame.menu.SetItemEnabled(0, false);
  EXPECT_FALSE(menus[0]->menu()->actions()[0]->isEnabled());
}

TEST_F(DesktopTest, UserClosingRespectsCancelAndTheFrameEndsTheProgram) {
  TestWindow frame(platform, "MDIFrmMain");
  frame.SetMdiFrame(true);
  TestWindow child(platform, "FrmKVRxxxA");
  child.SetMdiChild(true);
  frame.Show();
  child.Show();
  child.refuse = true;
  UserCloses(desktop.WidgetOf(child));
  EXPECT_TRUE(child.Loaded());
  EXPECT_TRUE(desktop.WidgetOf(child)->isVisible());
  child.refuse = false;
  UserCloses(desktop.WidgetOf(child));
  EXPECT_FALSE(child.Loaded());
  EXPECT_FALSE(desktop.WidgetOf(child)->isVisible());
  EXPECT_EQ(child.queries, 2);
  EXPECT_EQ(frame_closed, 0);
  UserCloses(desktop.WidgetOf(frame));
  EXPECT_FALSE(frame.Loaded());
  EXPECT_EQ(frame_closed, 1);
}

TEST_F(DesktopTest, ModalRunsANestedLoopUntilTheWindowUnloads) {
  TestWindow owner(platform, "FrmOwner");
  TestWindow dialog(platform, "FrmDialog");
  owner.Show();
  bool was_modal = false;
  QTimer::singleShot(0, [&] {
    was_modal = desktop.WidgetOf(dialog)->isModal() && dialog.IsModal();
    dialog.Unload();
  });
  dialog.ShowModal();  // returns once the timer above has unloaded it
  EXPECT_TRUE(was_modal);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(desktop.Active(), &owner);
}

TEST_F(DesktopTest, ModalDriverReplacesTheLoopAndPopupMenusWait) {
  TestWindow dialog(platform, "FrmDialog");
  std::string driven;
  desktop.SetModalDriver([&](Window& w) {
    driven = w.Name();
    desktop.PopupMenu(w, dialog.menu, 10, 10);  // must not block
  });
  dialog.ShowModal();
  EXPECT_EQ(driven, "FrmDialog");
  EXPECT_EQ(desktop.PoppedMenu(), &dialog.menu);
  EXPECT_FALSE(dialog.Loaded());  // left open by the driver: closed as by the user
}

TEST_F(DesktopTest, CaptionStatePointerAndForgottenWindows) {
  {
    TestWindow w(platform, "FrmVersion");
    w.Show();
    QWidget* widget = desktop.WidgetOf(w);
    w.SetCaption("About");
    EXPECT_EQ(widget->windowTitle(), "About");
    w.SetPointer(MousePointer::Busy);
    EXPECT_EQ(widget->cursor().shape(), Qt::WaitCursor);
    w.SetPointer(MousePointer::Default);
    EXPECT_NE(widget->cursor().shape(), Qt::WaitCursor);
    w.SetClientSize(15 * 320, 15 * 160);
    EXPECT_EQ(widget->size(), QSize(320, 160));
  }
  EXPECT_EQ(desktop.Active(), nullptr);  // the destroyed window left the desktop
  PumpPaintEvents();
}

TEST_F(DesktopTest, QtClockFiresTimersAndSleepsWithoutUserInput) {
  TestWindow w(platform, "FrmTimer");
  int ticks = 0;
  w.timer.OnTimer = [&] {
    if (++ticks == 2) w.timer.SetTimerEnabled(false);
  };
  w.timer.SetInterval(5);
  w.timer.SetTimerEnabled(true);
  const auto start = clock.NowMs();
  clock.Sleep(60);
  EXPECT_GE(clock.NowMs() - start, 60);
  EXPECT_EQ(ticks, 2);
}

TEST_F(DesktopTest, MessageBoxMapsButtonsAndAnswers) {
  QtMessageBox box;
  QTimer::singleShot(0, [] {
    auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->windowTitle(), "Exit");
    EXPECT_EQ(m->text(), "               Are you sure ? ");
    m->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(box.Show("               Are you sure ? ", "Exit", MsgIcon::None, MsgButtons::YesNo),
            MsgAnswer::Yes);
  QTimer::singleShot(0, [] {
    auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->icon(), QMessageBox::Critical);
    m->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(
      box.Show("Wrong COM initialization!", "SerialLibDemo", MsgIcon::Critical, MsgButtons::Ok),
      MsgAnswer::Ok);
}

TEST(Convert, FiltersAndOffsets) {
  const std::pair<const char*, const char*> cases[] = {
      {"file preset (*.C44)|*.C44", "file preset (*.C44)"},
      {"Presets|*.C44", "Presets (*.C44)"},
      {"Presets|*.C44;*.c44|All files (*.*)|*.*", "Presets (*.C44 *.c44);;All files (*.*)"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ConvertFilter(in), out) << in;
  const std::string text = "a\xC3\xA9z";
  EXPECT_EQ(CharOffset(text, 3), 2);
  EXPECT_EQ(ByteOffset(ToQ(text), 2), 3);
  Geometry g{1.25};
  EXPECT_EQ(g.Px(1500), 125);
  EXPECT_EQ(ButtonCode(Qt::LeftButton | Qt::RightButton), 3);
  EXPECT_EQ(ToQColor(33023), QColor(255, 128, 0));
}

TEST(QtScreen, ReportsTheScreenAndTheDecimalSeparator) {
  QtScreen screen;
  const auto m = screen.Metrics();
  EXPECT_GT(m.dpi, 0);
  EXPECT_GT(m.width_px, 0);
  EXPECT_EQ(screen.LocaleText(kLocaleDecimalSeparator).size(), 1u);
  EXPECT_EQ(screen.LocaleText(1), "");
}

}  // namespace
}  // namespace velmark::ui::qt
