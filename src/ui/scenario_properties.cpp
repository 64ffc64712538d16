#include "ui/scenario_properties.h"

#include <charconv>
#include <functional>
#include <optional>

#include "ui/controls.h"

namespace velmark::ui {

namespace {

std::string Flag(bool on) {
  return on ? "1" : "0";
}
std::string Num(long long v) {
  return std::to_string(v);
}

std::optional<int> ToInt(const std::string& text) {
  int v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return v;
}

// The caption-like text of the kinds that have one.
std::optional<std::string> CaptionOf(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::Label:
      return static_cast<const Label&>(c).Caption();
    case ControlKind::Button:
      return static_cast<const Button&>(c).Caption();
    case ControlKind::CheckBox:
      return static_cast<const CheckBox&>(c).Caption();
    case ControlKind::OptionButton:
      return static_cast<const OptionButton&>(c).Caption();
    case ControlKind::Frame:
      return static_cast<const Frame&>(c).Caption();
    case ControlKind::Menu:
      return static_cast<const Menu&>(c).Caption();
    default:
      return std::nullopt;
  }
}

std::optional<std::string> TextOf(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::TextBox:
      return static_cast<const TextBox&>(c).Text();
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
      return static_cast<const ListControl&>(c).Text();
    default:
      return CaptionOf(c);
  }
}

std::optional<std::string> ValueOf(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::Slider:
    case ControlKind::UpDown:
      return Num(static_cast<const RangeControl&>(c).Value());
    case ControlKind::CheckBox:
      return Num(static_cast<const CheckBox&>(c).Value());
    case ControlKind::OptionButton:
      return Flag(static_cast<const OptionButton&>(c).Value());
    case ControlKind::ProgressBar:
      return Num(static_cast<const ProgressBar&>(c).Value());
    default:
      return std::nullopt;
  }
}

const ListControl* AsList(const Control& c) {
  return c.Kind() == ControlKind::ComboBox || c.Kind() == ControlKind::ListBox
             ? static_cast<const ListControl*>(&c)
             : nullptr;
}

PropertyValue Missing(const Control& c, const std::string& property) {
  return {"", std::string("a ") + ControlKindName(c.Kind()) + " has no property " + property};
}

// Properties that need an index argument: list I, cell R [C], checked I (menus), item I.
PropertyValue Indexed(const Control& c, const std::string& property,
                      const std::vector<std::string>& args) {
  std::vector<int> idx;
  for (const auto& a : args) {
    auto v = ToInt(a);
    if (!v) return {"", "index " + a + " is not a number"};
    idx.push_back(*v);
  }
  if (property == "list" && AsList(c) && idx.size() == 1) return {AsList(c)->List(idx[0]), ""};
  if (property == "cell" && c.Kind() == ControlKind::Grid && !idx.empty() && idx.size() <= 2) {
    const auto& g = static_cast<const Grid&>(c);
    return {g.TextMatrix(idx[0], idx.size() == 2 ? idx[1] : 0), ""};
  }
  if (c.Kind() == ControlKind::Menu && idx.size() == 1) {
    const auto& item = static_cast<const Menu&>(c).ItemAt(idx[0]);
    if (property == "checked") return {Flag(item.checked), ""};
    if (property == "item") return {item.caption, ""};
    if (property == "enabled") return {Flag(item.enabled), ""};
  }
  return {"", "property " + property + " of a " + ControlKindName(c.Kind()) +
                  " takes no such arguments"};
}

}  // namespace

PropertyValue ReadControlProperty(const Control& c, const std::string& property,
                                  const std::vector<std::string>& args) {
  if (!args.empty()) return Indexed(c, property, args);
  using Reader = std::function<std::optional<std::string>(const Control&)>;
  static const std::pair<const char*, Reader> kReaders[] = {
      {"text", TextOf},
      {"caption", CaptionOf},
      {"value", ValueOf},
      {"checked",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() == ControlKind::CheckBox || c.Kind() == ControlKind::OptionButton) {
           return ValueOf(c);
         }
         return std::nullopt;
       }},
      {"enabled", [](const Control& c) { return std::optional(Flag(c.Enabled())); }},
      {"visible", [](const Control& c) { return std::optional(Flag(c.Visible())); }},
      {"focus", [](const Control& c) { return std::optional(Flag(c.Focused())); }},
      {"left", [](const Control& c) { return std::optional(Num(c.Left())); }},
      {"top", [](const Control& c) { return std::optional(Num(c.Top())); }},
      {"width", [](const Control& c) { return std::optional(Num(c.Width())); }},
      {"height", [](const Control& c) { return std::optional(Num(c.Height())); }},
      {"forecolor", [](const Control& c) { return std::optional(Num(c.ForeColor())); }},
      {"backcolor", [](const Control& c) { return std::optional(Num(c.BackColor())); }},
      {"tooltip", [](const Control& c) { return std::optional(c.ToolTip()); }},
      {"fillcolor",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Shape) return std::nullopt;
         return Num(static_cast<const Shape&>(c).FillColor());
       }},
      {"listindex",
       [](const Control& c) -> std::optional<std::string> {
         if (!AsList(c)) return std::nullopt;
         return Num(AsList(c)->ListIndex());
       }},
      {"listcount",
       [](const Control& c) -> std::optional<std::string> {
         if (!AsList(c)) return std::nullopt;
         return Num(AsList(c)->ListCount());
       }},
      {"rows",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Grid) return std::nullopt;
         return Num(static_cast<const Grid&>(c).Rows());
       }},
      {"row",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Grid) return std::nullopt;
         return Num(static_cast<const Grid&>(c).Row());
       }},
      {"lines",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::PictureBox) return std::nullopt;
         return Num(static_cast<long long>(static_cast<const PictureBox&>(c).DisplayList().size()));
       }},
      {"picture",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Image) return std::nullopt;
         return static_cast<const Image&>(c).Picture();
       }},
      {"max",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() == ControlKind::ProgressBar)
           return Num(static_cast<const ProgressBar&>(c).Max());
         if (c.Kind() == ControlKind::Slider || c.Kind() == ControlKind::UpDown) {
           return Num(static_cast<const RangeControl&>(c).Max());
         }
         return std::nullopt;
       }},
      {"interval",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Timer) return std::nullopt;
         return Num(static_cast<const Timer&>(c).Interval());
       }},
      {"running",
       [](const Control& c) -> std::optional<std::string> {
         if (c.Kind() != ControlKind::Timer) return std::nullopt;
         return Flag(static_cast<const Timer&>(c).TimerEnabled());
       }},
  };
  for (const auto& [name, read] : kReaders) {
    if (property != name) continue;
    auto v = read(c);
    if (!v) return Missing(c, property);
    return {*v, ""};
  }
  return {"", "unknown property " + property};
}

PropertyValue ReadWindowProperty(const Window& w, bool active, const std::string& property) {
  static constexpr const char* kStates[] = {"normal", "minimized", "maximized"};
  if (property == "caption") return {w.Caption(), ""};
  if (property == "loaded") return {Flag(w.Loaded()), ""};
  if (property == "visible" || property == "shown") return {Flag(w.IsShown()), ""};
  if (property == "modal") return {Flag(w.IsModal()), ""};
  if (property == "active") return {Flag(active), ""};
  if (property == "width") return {Num(w.ClientWidth()), ""};
  if (property == "height") return {Num(w.ClientHeight()), ""};
  if (property == "left") return {Num(w.Left()), ""};
  if (property == "top") return {Num(w.Top()), ""};
  if (property == "state") return {kStates[static_cast<int>(w.State())], ""};
  if (property == "pointer") return {w.Pointer() == MousePointer::Busy ? "busy" : "default", ""};
  return {"", "a window has no property " + property};
}

std::string NormalizeExpected(const std::string& property, const std::string& value) {
  if (value == "true") return "1";
  if (value == "false") return "0";
  const bool colour = property == "forecolor" || property == "backcolor" || property == "fillcolor";
  if (colour && value.find(',') != std::string::npos) {
    int rgb[3] = {0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
      std::size_t end = value.find(',', pos);
      auto part = ToInt(value.substr(pos, end == std::string::npos ? end : end - pos));
      if (!part) return value;
      rgb[i] = *part;
      if (end == std::string::npos) {
        if (i != 2) return value;
        break;
      }
      pos = end + 1;
    }
    return Num(MakeColour(rgb[0], rgb[1], rgb[2]));
  }
  return value;
}

}  // namespace velmark::ui
