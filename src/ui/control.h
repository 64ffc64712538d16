#pragma once
// Toolkit-neutral controls: the state a window's logic reads and writes, and the events that a
// user (or the program itself) raises. A toolkit binding shows a control and forwards the user's
// actions; tests and the scenario runner raise the same actions without any toolkit.
//
// Event semantics follow the toolkit the program was designed on: a program write that changes a
// value raises the same change or click event a user's action would. Handlers that must ignore
// the program's own writes test `UpdatingControls` themselves.

#include <cstdint>
#include <functional>
#include <string>

namespace velmark::ui {

// Colour as the program stores it: R + 256 G + 65536 B.
using Colour = std::uint32_t;
constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
inline constexpr Colour kBlack = 0;
inline constexpr Colour kWhite = MakeColour(255, 255, 255);
inline constexpr Colour kButtonFace = MakeColour(240, 240, 240);
inline constexpr Colour kWindowText = 0;

enum class ControlKind {
  Label,
  TextBox,
  Slider,
  UpDown,
  CheckBox,
  OptionButton,
  ComboBox,
  ListBox,
  Image,  // a picture that acts as a button or a drawn knob
  Frame,
  PictureBox,
  Shape,
  ProgressBar,
  Grid,
  Menu,
  Timer,
  Button,  // a standard push button with a caption
};
const char* ControlKindName(ControlKind kind);

enum class MousePointer { Default, Busy, Cross, Custom };
enum MouseButton : int { kNoButton = 0, kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

class Window;
class Control;

// The binding side of a control: told whenever a property changed so it can repaint.
class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual void Refresh(Control& control) = 0;
};

class Control {
 public:
  explicit Control(ControlKind kind) : kind_(kind) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 for a control that is not an array element
  Window* Owner() const { return owner_; }
  // Address as a scenario writes it: Name or Name(i).
  std::string Address() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);

  // Geometry in the window's logical units (twips unless the window says otherwise), relative
  // to the container.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v);
  void SetTop(int v);
  void Move(int left, int top, int width, int height);

  Colour ForeColor() const { return fore_; }
  void SetForeColor(Colour c);
  Colour BackColor() const { return back_; }
  void SetBackColor(Colour c);

  const std::string& ToolTip() const { return tool_tip_; }
  void SetToolTip(std::string text);

  MousePointer Pointer() const { return pointer_; }
  void SetPointer(MousePointer p);

  // Font of the control's text: size in points (0 = the desktop's default) and weight.
  double FontSize() const { return font_size_; }
  bool FontBold() const { return font_bold_; }
  void SetFont(double size_pt, bool bold);

  // Whether a person can reach the control: it and every container holding it are enabled
  // (visible). User actions on a control that is not enabled this way do nothing.
  bool EffectiveEnabled() const;
  bool EffectiveVisible() const;

  // Stacking order among the siblings of the same container: larger is in front.
  int ZOrder() const { return z_order_; }
  void BringToFront();

  // The frame or picture that holds this control; null for the window itself.
  Control* Container() const { return container_; }
  void SetContainer(Control* container) { container_ = container; }

  void SetView(ControlView* view) { view_ = view; }
  ControlView* View() const { return view_; }

  // Called by Window::Register.
  void Attach(Window* owner, std::string name, int index);

  // Every control can have the focus taken or given; the events fire on change.
  std::function<void()> OnGotFocus;
  std::function<void()> OnLostFocus;
  void SetFocused(bool focused);
  bool Focused() const { return focused_; }
  // Moves the window's keyboard focus here (the previous holder loses it first).
  void SetFocus();
  // Whether a click or typing gives this kind of control the keyboard focus.
  bool TakesFocus() const;

 protected:
  void Changed();

 private:
  ControlKind kind_;
  std::string name_;
  int index_ = -1;
  Window* owner_ = nullptr;
  Control* container_ = nullptr;
  ControlView* view_ = nullptr;
  bool enabled_ = true;
  bool visible_ = true;
  bool focused_ = false;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Colour fore_ = kWindowText;
  Colour back_ = kButtonFace;
  std::string tool_tip_;
  MousePointer pointer_ = MousePointer::Default;
  double font_size_ = 0;
  bool font_bold_ = false;
  int z_order_ = 0;
};

// Mouse events shared by labels, images and pictures: button, shift state, logical x and y.
struct MouseEvents {
  std::function<void(int button, int shift, double x, double y)> OnMouseDown;
  std::function<void(int button, int shift, double x, double y)> OnMouseMove;
  std::function<void(int button, int shift, double x, double y)> OnMouseUp;
};

}  // namespace velmark::ui
