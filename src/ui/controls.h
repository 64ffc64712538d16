#pragma once
// The control kinds the windows are built from. Each holds its own state; Set… writes raise the
// control's change or click event when the value changes, User… actions are what a person does.

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace velmark::ui {

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

enum class Alignment { Left, Right, Center };

class Label : public Control, public MouseEvents {
 public:
  Label() : Control(ControlKind::Label) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  Alignment TextAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  void UserClick();
  void UserDblClick();

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::Left;
};

// A standard push button.
class Button : public Control {
 public:
  Button() : Control(ControlKind::Button) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  std::function<void()> OnClick;
  void UserClick();

 private:
  std::string caption_;
};

// Texts are UTF-8. Key codes are those of the character typed: 32..126 for the printable ASCII
// characters, the control codes 3, 8, 13, 22, 24 and 26 for Ctrl+C, Backspace, Enter, Ctrl+V,
// Ctrl+X and Ctrl+Z, and minus the Unicode code point for any character outside ASCII (a
// handler that only allows the single-byte set tests for a negative code).
// The key codes a person presses to type a UTF-8 text, one per character.
std::vector<int> KeysOf(const std::string& text);

class TextBox : public Control {
 public:
  TextBox() : Control(ControlKind::TextBox) { SetBackColor(kWhite); }
  const std::string& Text() const { return text_; }
  // A program write; raises OnChange when the text differs. The length limit only holds back
  // what a person types, as with the toolkit's own text boxes.
  void SetText(std::string text);
  int MaxLength() const { return max_length_; }  // in bytes; 0 = no limit
  void SetMaxLength(int n) { max_length_ = n > 0 ? n : 0; }
  // Caret and selection in bytes; typing replaces the selection.
  int Caret() const { return caret_; }
  void SetCaret(int pos);
  int SelStart() const { return sel_length_ > 0 ? caret_ - sel_length_ : caret_; }
  int SelLength() const { return sel_length_; }
  void SetSelection(int start, int length);
  std::string SelText() const;

  // Key press: the handler may replace the key code; 0 discards the key.
  std::function<void(int& key)> OnKeyPress;
  std::function<void(int& key, int shift)> OnKeyDown;
  std::function<void()> OnChange;

  // A person typing: each key goes through OnKeyDown and OnKeyPress (which may replace or
  // discard it) and is then inserted at the caret in place of the selection (unless the length
  // limit is reached). Enter and the other control codes insert nothing; Backspace deletes the
  // selection or the character before the caret. UserType presses one key per character.
  void UserType(const std::string& text);
  void UserKey(int key);
  // A person replacing the whole text at once (a paste over everything); held to the limit.
  void UserReplace(const std::string& text);

 private:
  void Assign(std::string text, int caret);
  std::string text_;
  int max_length_ = 0;
  int caret_ = 0;
  int sel_length_ = 0;  // the selection runs from caret_ - sel_length_ to caret_
};

// Integer value within Min..Max; used for sliders and up-down controls.
class RangeControl : public Control {
 public:
  explicit RangeControl(ControlKind kind) : Control(kind) {}
  int Value() const { return value_; }
  void SetValue(int v);  // clamped to Min..Max, raises OnChange when it changes
  int Min() const { return min_; }
  int Max() const { return max_; }
  // Setting a range that excludes the value moves the value, which raises OnChange.
  void SetRange(int min, int max);
  std::function<void()> OnChange;
  void UserSetValue(int v);

 private:
  int value_ = 0;
  int min_ = 0;
  int max_ = 10;
};

// Vertical unless told otherwise; Min is at the top of the track, as the windows expect.
class Slider : public RangeControl {
 public:
  Slider() : RangeControl(ControlKind::Slider) {}
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool on);

 private:
  bool horizontal_ = false;
};

class UpDown : public RangeControl {
 public:
  UpDown() : RangeControl(ControlKind::UpDown) {}
};

class CheckBox : public Control {
 public:
  CheckBox() : Control(ControlKind::CheckBox) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  int Value() const { return value_; }  // 0 or 1
  void SetValue(int v);                 // raises OnClick when it changes
  std::function<void()> OnClick;
  void UserClick();

 private:
  std::string caption_;
  int value_ = 0;
};

class OptionButton;

// Option buttons of one group: selecting one clears the others.
class OptionGroup {
 public:
  void Add(OptionButton& button) { members_.push_back(&button); }
  const std::vector<OptionButton*>& Members() const { return members_; }

 private:
  std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
 public:
  OptionButton() : Control(ControlKind::OptionButton) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  bool Value() const { return value_; }
  // Selecting clears the rest of the group and raises OnClick on this button when it was not
  // selected; clearing raises nothing.
  void SetValue(bool on);
  void SetGroup(OptionGroup& group);
  std::function<void()> OnClick;
  void UserClick();

 private:
  std::string caption_;
  bool value_ = false;
  OptionGroup* group_ = nullptr;
};

// Combo box and list box share their list behaviour.
class ListControl : public Control {
 public:
  explicit ListControl(ControlKind kind) : Control(kind) { SetBackColor(kWhite); }
  void Clear();
  void AddItem(std::string text);
  void RemoveItem(int i);  // the selection follows its entry; removing it clears the selection
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int i) const;
  const std::vector<std::string>& Items() const { return items_; }
  int ListIndex() const { return list_index_; }  // -1 when nothing is selected
  void SetListIndex(int i);                      // raises OnClick when it changes
  std::string Text() const;                      // the selected entry, or ""

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  void UserSelect(int i);
  void UserDblClick();

 private:
  std::vector<std::string> items_;
  int list_index_ = -1;
};

class ComboBox : public ListControl {
 public:
  ComboBox() : ListControl(ControlKind::ComboBox) {}
};

class ListBox : public ListControl {
 public:
  ListBox() : ListControl(ControlKind::ListBox) {}
  int Columns() const { return columns_; }
  void SetColumns(int n) { columns_ = n; }

 private:
  int columns_ = 0;
};

// A picture used as a button, a tab or a draggable knob.
class Image : public Control, public MouseEvents {
 public:
  Image() : Control(ControlKind::Image) {}
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string id);
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  void UserClick();
  void UserDblClick();

 private:
  std::string picture_;
};

// A frame holds other controls; without a border it is a plain panel (the stacked pages).
class Frame : public Control {
 public:
  Frame() : Control(ControlKind::Frame) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  bool Border() const { return border_; }
  void SetBorder(bool on);

 private:
  std::string caption_;
  bool border_ = true;
};

struct DrawnLine {
  double x1, y1, x2, y2;
  Colour colour;
  int width;
  bool operator==(const DrawnLine&) const = default;
};

// A picture with a line primitive. Every line is kept in a display list the binding paints and
// a test can read.
class PictureBox : public Control, public MouseEvents {
 public:
  PictureBox() : Control(ControlKind::PictureBox) { SetBackColor(kBlack); }
  // Logical size of the drawing area (the scale the lines are given in).
  double ScaleWidth() const { return scale_width_; }
  double ScaleHeight() const { return scale_height_; }
  void SetScale(double width, double height);

  int DrawWidth() const { return draw_width_; }
  void SetDrawWidth(int w) { draw_width_ = w; }
  Colour PenColour() const { return pen_; }
  void SetPenColour(Colour c) { pen_ = c; }

  // Every drawing call tells the binding, which coalesces the repaints itself.
  void Cls();
  void Line(double x1, double y1, double x2, double y2);
  void Line(double x1, double y1, double x2, double y2, Colour colour);
  const std::vector<DrawnLine>& DisplayList() const { return lines_; }
  void Flush() { Changed(); }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  void UserClick();
  void UserDblClick();

 private:
  double scale_width_ = 0;
  double scale_height_ = 0;
  int draw_width_ = 1;
  Colour pen_ = kWhite;
  std::vector<DrawnLine> lines_;
};

// A lamp: a filled shape.
class Shape : public Control {
 public:
  Shape() : Control(ControlKind::Shape) {}
  Colour FillColor() const { return fill_; }
  void SetFillColor(Colour c);

 private:
  Colour fill_ = 0;
};

class ProgressBar : public Control {
 public:
  ProgressBar() : Control(ControlKind::ProgressBar) {}
  int Value() const { return value_; }
  void SetValue(int v);
  int Max() const { return max_; }
  void SetMax(int m);
  void Advance() { SetValue(value_ + 1); }

 private:
  int value_ = 0;
  int max_ = 100;
};

// A text grid with one or more columns (the device list).
class Grid : public Control {
 public:
  Grid() : Control(ControlKind::Grid) { SetBackColor(kWhite); }
  int Rows() const { return static_cast<int>(cells_.size()); }
  void SetRows(int rows);
  int Cols() const { return cols_; }
  void SetCols(int cols);
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  const std::string& TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, std::string text);
  int Row() const { return row_; }
  void SetRow(int row);

  std::function<void()> OnDblClick;
  void UserDblClick(int row);

 private:
  std::vector<std::vector<std::string>> cells_;
  std::vector<int> col_widths_ = {0};
  int cols_ = 1;
  int row_ = 0;
};

// A popup menu: a caption and its items; a chosen item raises the menu's OnClick with its index.
class Menu : public Control {
 public:
  Menu() : Control(ControlKind::Menu) {}
  struct Item {
    std::string caption;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
  };
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  void SetItems(std::vector<std::string> captions);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const Item& ItemAt(int i) const;
  void SetChecked(int i, bool on);
  void SetItemEnabled(int i, bool on);
  std::function<void(int index)> OnClick;
  void UserChoose(int i);

 private:
  std::string caption_;
  std::vector<Item> items_;
};

class TimerService;

// A timer fires OnTimer every Interval ms while enabled; the clock behind TimerService decides
// when that is (real time in the program, advanced by hand in tests).
class Timer : public Control {
 public:
  Timer() : Control(ControlKind::Timer) { SetVisible(false); }
  ~Timer() override;
  void Bind(TimerService& service) { service_ = &service; }
  bool Bound() const { return service_ != nullptr; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool TimerEnabled() const { return running_; }
  void SetTimerEnabled(bool on);
  std::function<void()> OnTimer;
  void Fire();  // called by the service when due

 private:
  void Reschedule();
  TimerService* service_ = nullptr;
  int interval_ = 0;
  bool running_ = false;
};

}  // namespace velmark::ui
