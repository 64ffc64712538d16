// Each control kind on its widget: a person's action on the widget reaches the control (and
// raises its event once), and a program write reaches the widget without a second event.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

#include "ui/controls.h"
#include "ui/pictures.h"
#include "ui/qt/qt_stage.h"

namespace velmark::ui::qt {
namespace {

class KindsWindow : public Window {
 public:
  explicit KindsWindow(Platform& p) : Window(p, "FrmKinds") {
    SetClientSize(15 * 600, 15 * 400);
    Register("Label1", label);
    Register("Text1", text);
    Register("Slider1", slider);
    Register("UpDown1", updown);
    Register("Check1", check);
    Register("Option1", options);
    Register("Combo1", combo);
    Register("List1", list);
    Register("Image1", image);
    Register("Frame1", frame);
    Register("Picture1", picture);
    Register("Shape1", shape);
    Register("ProgressBar1", progress);
    Register("Grid1", grid);
    Register("Command1", button);
    for (Control* c :
         std::initializer_list<Control*>{&label, &text, &slider, &updown, &check, &combo, &list,
                                         &image, &picture, &shape, &progress, &grid, &button}) {
      c->Move(0, 0, 15 * 120, 15 * 24);
    }
    for (int i = 0; i < 2; ++i) {
      options.Add(i).SetGroup(group);
      options(i).SetContainer(&frame);
      options(i).Move(15 * 10, 15 * (20 + 24 * i), 15 * 100, 15 * 22);
    }
    Register("Option1", options);
    frame.Move(15 * 300, 15 * 100, 15 * 200, 15 * 100);
    frame.SetCaption("Noise");
    slider.Move(0, 0, 15 * 30, 15 * 200);
    slider.SetRange(0, 60);
    picture.Move(15 * 100, 15 * 100, 15 * 200, 15 * 100);
    picture.SetScale(1000, 600);
    shape.Move(15 * 10, 15 * 300, 15 * 40, 15 * 20);
    for (const char* t : {"Analog Input", "Digital SP/DIF", "Noise Generator"}) {
      combo.AddItem(t);
      list.AddItem(t);
    }
    grid.SetRows(2);
    grid.SetTextMatrix(0, 0, "ID:01");
  }
  Label label;
  TextBox text;
  Slider slider;
  UpDown updown;
  CheckBox check;
  OptionGroup group;
  ControlArray<OptionButton> options;
  ComboBox combo;
  ListBox list;
  Image image;
  Frame frame;
  PictureBox picture;
  Shape shape;
  ProgressBar progress;
  Grid grid;
  Button button;
};

class BinderTest : public ::testing::Test {
 protected:
  void SetUp() override { window_.Show(); }
  template <class W>
  W* Widget(Control& c) {
    auto* w = dynamic_cast<W*>(stage_.Desktop().WidgetOf(c));
    EXPECT_NE(w, nullptr) << ControlKindName(c.Kind());
    return w;
  }
  static void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button) {
    QMouseEvent e(type, at, w->mapToGlobal(at), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  }
  static void Key(QWidget* w, int key, const QString& text) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &e);
  }

  QtStage stage_;
  KindsWindow window_{stage_.GetPlatform()};
};

TEST_F(BinderTest, GeometryIsTwipsOverFifteenAndChildrenSitInTheirFrame) {
  auto* radio = Widget<QRadioButton>(window_.options(1));
  auto* box = Widget<QGroupBox>(window_.frame);
  ASSERT_TRUE(radio && box);
  EXPECT_EQ(radio->parentWidget(), box);
  EXPECT_EQ(radio->geometry(), QRect(10, 44, 100, 22));
  EXPECT_EQ(box->geometry(), QRect(300, 100, 200, 100));
  EXPECT_EQ(box->title(), "Noise");
  window_.frame.SetLeft(15 * 310);
  EXPECT_EQ(box->x(), 310);
  window_.frame.SetVisible(false);
  EXPECT_TRUE(box->isHidden());
}

TEST_F(BinderTest, LabelClickAndCaption) {
  auto* w = Widget<QLabel>(window_.label);
  std::vector<std::string> seen;
  window_.label.OnMouseDown = [&](int b, int, double x, double) {
    seen.push_back("down " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)));
  };
  window_.label.OnClick = [&] { seen.push_back("click"); };
  window_.label.OnDblClick = [&] { seen.push_back("dbl"); };
  Mouse(w, QEvent::MouseButtonPress, {4, 4}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, {4, 4}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonDblClick, {4, 4}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, {4, 4}, Qt::LeftButton);
  EXPECT_EQ(seen, (std::vector<std::string>{"down 1 60", "click", "dbl"}));
  window_.label.SetCaption("+15 dBu");
  EXPECT_EQ(w->text(), "+15 dBu");
}

TEST_F(BinderTest, TextBoxTypingGoesThroughKeyPressAndProgramTextIsShown) {
  auto* w = Widget<QLineEdit>(window_.text);
  int changes = 0;
  window_.text.OnChange = [&] { ++changes; };
  window_.text.OnKeyPress = [](int& key) {
    if (key == ',') key = '.';
    if (key < 0) key = 0;  // outside ASCII: refused
  };
  Key(w, Qt::Key_1, "1");
  Key(w, Qt::Key_Comma, ",");
  Key(w, Qt::Key_5, "5");
  Key(w, Qt::Key_Eacute, QString(QChar(0xE9)));
  EXPECT_EQ(window_.text.Text(), "1.5");
  EXPECT_EQ(w->text(), "1.5");
  EXPECT_EQ(changes, 3);
  Key(w, Qt::Key_Backspace, "\b");
  EXPECT_EQ(window_.text.Text(), "1.");
  window_.text.SetText("-12");
  EXPECT_EQ(w->text(), "-12");
  EXPECT_EQ(changes, 5);  // the backspace and the program's write; nothing echoed back
  w->selectAll();
  Key(w, Qt::Key_7, "7");  // typing over the selection
  EXPECT_EQ(window_.text.Text(), "7");
}

TEST_F(BinderTest, SliderHasItsMinimumAtTheTopAndDoesNotEcho) {
  auto* w = Widget<QSlider>(window_.slider);
  std::vector<int> values;
  window_.slider.OnChange = [&] { values.push_back(window_.slider.Value()); };
  EXPECT_EQ(w->orientation(), Qt::Vertical);
  EXPECT_TRUE(w->invertedAppearance());
  w->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(window_.slider.Value(), 1);
  window_.slider.SetValue(40);
  EXPECT_EQ(w->value(), 40);
  EXPECT_EQ(w->maximum(), 60);
  EXPECT_EQ(values, (std::vector<int>{1, 40}));
}

TEST_F(BinderTest, UpDownArrowsStepTheValue) {
  window_.updown.SetRange(0, 2);
  auto buttons = stage_.Desktop().WidgetOf(window_.updown)->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 2);
  int changes = 0;
  window_.updown.OnChange = [&] { ++changes; };
  buttons[0]->click();
  buttons[0]->click();
  EXPECT_EQ(window_.updown.Value(), 2);
  EXPECT_FALSE(buttons[0]->isEnabled());  // at the top of the range
  buttons[1]->click();
  EXPECT_EQ(window_.updown.Value(), 1);
  window_.updown.SetValue(0);
  EXPECT_FALSE(buttons[1]->isEnabled());
  EXPECT_EQ(changes, 4);
}

TEST_F(BinderTest, CheckBoxClickAndProgramWrite) {
  auto* w = Widget<QCheckBox>(window_.check);
  int clicks = 0;
  window_.check.OnClick = [&] { ++clicks; };
  w->click();
  EXPECT_EQ(window_.check.Value(), 1);
  window_.check.SetValue(0);
  EXPECT_FALSE(w->isChecked());
  EXPECT_EQ(clicks, 2);
  // A handler that refuses the change: the box shows the control, not the click.
  window_.check.OnClick = [&] { window_.check.SetValue(0); };
  w->click();
  EXPECT_FALSE(w->isChecked());
}

TEST_F(BinderTest, OptionButtonsFollowTheGroupAndAClickOnTheSelectedOneKeepsIt) {
  auto* a = Widget<QRadioButton>(window_.options(0));
  auto* b = Widget<QRadioButton>(window_.options(1));
  std::vector<int> clicks;
  window_.options(0).OnClick = [&] { clicks.push_back(0); };
  window_.options(1).OnClick = [&] { clicks.push_back(1); };
  a->click();
  b->click();
  b->click();
  EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(b->isChecked());
  window_.options(0).SetValue(true);
  EXPECT_TRUE(a->isChecked());
  EXPECT_FALSE(b->isChecked());
  EXPECT_EQ(clicks, (std::vector<int>{0, 1, 0}));
}

TEST_F(BinderTest, ComboBoxActivationAndProgramSelection) {
  auto* w = Widget<QComboBox>(window_.combo);
  int clicks = 0;
  window_.combo.OnClick = [&] { ++clicks; };
  ASSERT_EQ(w->count(), 3);
  w->setCurrentIndex(2);
  emit w->activated(2);
  EXPECT_EQ(window_.combo.ListIndex(), 2);
  window_.combo.SetListIndex(1);
  EXPECT_EQ(w->currentIndex(), 1);
  window_.combo.AddItem("Extra");
  EXPECT_EQ(w->count(), 4);
  EXPECT_EQ(clicks, 2);
}

TEST_F(BinderTest, ListBoxSelectionAndDoubleClick) {
  auto* w = Widget<QListWidget>(window_.list);
  int clicks = 0, dbl = 0;
  window_.list.OnClick = [&] { ++clicks; };
  window_.list.OnDblClick = [&] { ++dbl; };
  w->setCurrentRow(1);
  emit w->itemDoubleClicked(w->item(1));
  EXPECT_EQ(window_.list.ListIndex(), 1);
  window_.list.SetListIndex(2);
  EXPECT_EQ(w->currentRow(), 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(dbl, 1);
}

TEST_F(BinderTest, ImageButtonClickAndPicture) {
  QWidget* w = stage_.Desktop().WidgetOf(window_.image);
  ASSERT_NE(w, nullptr);
  int clicks = 0;
  window_.image.OnClick = [&] { ++clicks; };
  window_.image.SetPicture(pictures::kToolSave);
  Mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
  Mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);  // no click on the right button
  Mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, {500, 5}, Qt::LeftButton);  // released elsewhere
  EXPECT_EQ(clicks, 1);
  window_.image.SetEnabled(false);
  EXPECT_FALSE(w->isEnabled());
  const QImage face = w->grab().toImage();
  EXPECT_NE(face.pixelColor(face.width() / 2, face.height() / 2), QColor(Qt::transparent));
}

TEST_F(BinderTest, PictureBoxMouseInScaleUnitsAndPaintedDisplayList) {
  QWidget* w = stage_.Desktop().WidgetOf(window_.picture);
  ASSERT_NE(w, nullptr);
  double seen_x = -1, seen_y = -1;
  window_.picture.OnMouseMove = [&](int, int, double x, double y) {
    seen_x = x;
    seen_y = y;
  };
  Mouse(w, QEvent::MouseMove, {50, 25}, Qt::NoButton);
  EXPECT_DOUBLE_EQ(seen_x, 250);  // 200 px show 1000 units
  EXPECT_DOUBLE_EQ(seen_y, 150);  // 100 px show 600 units
  window_.picture.SetDrawWidth(3);
  window_.picture.Line(0, 300, 1000, 300, MakeColour(255, 128, 0));
  const QImage img = w->grab().toImage();
  EXPECT_EQ(img.pixelColor(100, 50), QColor(255, 128, 0));
  EXPECT_EQ(img.pixelColor(100, 20), QColor(0, 0, 0));  // the background
}

TEST_F(BinderTest, LampShowsItsFillColour) {
  window_.shape.SetFillColor(65280);
  const QImage img = stage_.Desktop().WidgetOf(window_.shape)->grab().toImage();
  const QColor centre = img.pixelColor(img.width() / 2, img.height() - 4);
  EXPECT_EQ(centre.green(), 255);
  EXPECT_LT(centre.red(), 60);
}

TEST_F(BinderTest, ProgressBarShowsTheProgramsValue) {
  auto* w = Widget<QProgressBar>(window_.progress);
  window_.progress.SetMax(10);
  window_.progress.Advance();
  window_.progress.Advance();
  EXPECT_EQ(w->maximum(), 10);
  EXPECT_EQ(w->value(), 2);
}

TEST_F(BinderTest, GridDoubleClickSelectsTheRowAndCellsFollowTheProgram) {
  auto* w = Widget<QTableWidget>(window_.grid);
  int seen_row = -1;
  window_.grid.OnDblClick = [&] { seen_row = window_.grid.Row(); };
  emit w->cellDoubleClicked(1, 0);
  EXPECT_EQ(seen_row, 1);
  window_.grid.SetTextMatrix(1, 0, "ID:02  VELMARK  - Off-line");
  EXPECT_EQ(w->item(1, 0)->text(), "ID:02  VELMARK  - Off-line");
  EXPECT_EQ(w->item(0, 0)->text(), "ID:01");
}

TEST_F(BinderTest, PushButtonClickAndDisabledContainer) {
  auto* w = Widget<QPushButton>(window_.button);
  int clicks = 0;
  window_.button.OnClick = [&] { ++clicks; };
  window_.button.SetCaption("OK");
  EXPECT_EQ(w->text(), "OK");
  w->click();
  EXPECT_EQ(clicks, 1);
  window_.button.SetEnabled(false);
  w->click();  // a disabled button takes no clicks
  EXPECT_EQ(clicks, 1);
}

TEST_F(BinderTest, FocusFollowsThePersonAndTheProgram) {
  QWidget* text = stage_.Desktop().WidgetOf(window_.text);
  QWidget* check = stage_.Desktop().WidgetOf(window_.check);
  std::vector<std::string> seen;
  window_.text.OnGotFocus = [&] { seen.push_back("text+"); };
  window_.text.OnLostFocus = [&] { seen.push_back("text-"); };
  window_.check.OnGotFocus = [&] { seen.push_back("check+"); };
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QCoreApplication::sendEvent(text, &in);  // the person clicks into the text box
  window_.check.SetFocus();                // the program moves the focus on
  EXPECT_EQ(seen, (std::vector<std::string>{"text+", "text-", "check+"}));
  EXPECT_EQ(window_.FocusedControl(), &window_.check);
  EXPECT_TRUE(check->hasFocus() || !check->window()->isActiveWindow());
  EXPECT_EQ(stage_.Desktop().WidgetOf(window_.label)->focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace velmark::ui::qt
