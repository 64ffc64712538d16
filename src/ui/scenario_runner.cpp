#include "ui/scenario_runner.h"

#include <charconv>
#include <exception>

namespace velmark::ui {

namespace {

std::optional<long long> ToNumber(const std::string& text) {
  long long v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return v;
}

// The same as an out parameter: GCC 12 misreads optionals taken apart across branches.
bool NumberOf(const std::string& text, long long& out) {
  const auto n = ToNumber(text);
  if (!n.has_value()) return false;
  out = n.value();
  return true;
}

std::optional<double> ToReal(const std::string& text) {
  try {
    std::size_t used = 0;
    double v = std::stod(text, &used);
    if (used == text.size()) return v;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

struct NamedKey {
  const char* name;
  int code;
};
constexpr NamedKey kNamedKeys[] = {
    {"Enter", kKeyEnter}, {"Backspace", kKeyBackspace},
    {"Escape", 27},       {"Tab", 9},
    {"Space", 32},        {"CtrlC", 3},
    {"CtrlV", 22},        {"CtrlX", 24},
    {"CtrlZ", 26},
};

}  // namespace

const ScenarioRunner::Verb ScenarioRunner::kVerbs[] = {
    {"start", 0, 0, &ScenarioRunner::DoStart},
    {"clock", 1, 1, &ScenarioRunner::DoClock},
    {"click", 1, 1, &ScenarioRunner::DoClick},
    {"dblclick", 1, 3, &ScenarioRunner::DoDblClick},
    {"type", 2, 2, &ScenarioRunner::DoType},
    {"key", 2, 2, &ScenarioRunner::DoKey},
    {"set", 2, 2, &ScenarioRunner::DoSet},
    {"select", 1, 2, &ScenarioRunner::DoSelect},
    {"menu", 2, 2, &ScenarioRunner::DoMenu},
    {"mouse", 4, 5, &ScenarioRunner::DoMouse},
    {"answer", 1, 1, &ScenarioRunner::DoAnswer},
    {"file", 1, 1, &ScenarioRunner::DoFile},
    {"close", 1, 1, &ScenarioRunner::DoClose},
    {"focus", 1, 1, &ScenarioRunner::DoFocus},
    {"screenshot", 1, 2, &ScenarioRunner::DoScreenshot},
    {"expect", 3, -1, &ScenarioRunner::CheckProperty},
    {"expect-message", 1, 2, &ScenarioRunner::CheckMessage},
    {"expect-no-message", 0, 0, &ScenarioRunner::CheckNoMessage},
    {"expect-frames", 1, -1, &ScenarioRunner::CheckFrames},
    {"expect-no-frames", 0, 0, &ScenarioRunner::CheckNoFrames},
    {"expect-file", 3, -1, &ScenarioRunner::CheckFile},
};

// Without a toolkit there is nothing to take a picture of; the line passes so that one
// scenario serves both kinds of run.
std::string ScenarioStage::Screenshot(Window&, const std::string&) {
  return {};
}

ScenarioRunner::ScenarioRunner(ScenarioStage& stage, ScenarioHost& host)
    : stage_(stage), host_(host) {}

ScenarioRunner::~ScenarioRunner() {
  stage_.Messages().OnUnexpected = nullptr;
  stage_.Files().OnUnexpected = nullptr;
  stage_.SetModalDriver(nullptr);
}

RunResult ScenarioRunner::Run(const Script& script) {
  script_ = &script;
  pc_ = 0;
  steps_ = 0;
  failure_.clear();
  stage_.Messages().OnUnexpected = [this](const ShownMessage& m) {
    Fail("unexpected message box \"" + m.text + "\" (title \"" + m.title + "\")");
  };
  stage_.Files().OnUnexpected = [this](const std::string& filter) {
    Fail("unexpected file dialog (filter \"" + filter + "\")");
  };
  stage_.SetModalDriver([this](Window& w) { DriveModal(w); });
  RunUntil(nullptr);
  if (!Failed()) CheckLeftovers();
  return RunResult{!Failed(), steps_, failure_};
}

void ScenarioRunner::RunUntil(Window* modal) {
  const auto& lines = script_->lines;
  while (!Failed() && pc_ < lines.size()) {
    if (modal && !(modal->Loaded() && modal->IsShown())) return;
    Execute(lines[pc_++]);
  }
}

// The program opened a modal window inside an action: the following lines are the user's
// dealings with it, and the action resumes once it is gone.
void ScenarioRunner::DriveModal(Window& window) {
  modal_stack_.push_back(&window);
  RunUntil(&window);
  modal_stack_.pop_back();
  if (!Failed() && window.Loaded() && window.IsShown()) {
    Fail("the scenario ended while " + window.Name() + " was open as a modal window");
  }
}

void ScenarioRunner::Execute(const ScenarioLine& line) {
  line_ = line.number;
  ++steps_;
  const std::string& verb = line.tokens.front().text;
  const Verb* found = nullptr;
  for (const Verb& v : kVerbs) {
    if (verb == v.name) found = &v;
  }
  if (!found || line.tokens.front().quoted) {
    Fail("unknown verb " + verb);
    return;
  }
  Args args(line.tokens.begin() + 1, line.tokens.end());
  const int n = static_cast<int>(args.size());
  if (n < found->min_args || (found->max_args >= 0 && n > found->max_args)) {
    Fail("wrong number of words after " + verb);
    return;
  }
  try {
    (this->*(found->run))(args);
  } catch (const std::exception& e) {
    Fail(std::string("error: ") + e.what());
  }
  CollectFrames();
  stage_.Settle();
}

void ScenarioRunner::Fail(std::string message) {
  if (Failed()) return;  // the first failure is the one that counts
  failure_ = script_->file + ":" + std::to_string(line_) + ": " + message;
}

void ScenarioRunner::CollectFrames() {
  for (const velmark::Frame& f : host_.TakeFrames()) frames_.push_back(f);
}

void ScenarioRunner::CheckLeftovers() {
  const std::size_t answers = stage_.Messages().Pending();
  if (answers > 0) {
    line_ = answer_lines_[answer_lines_.size() - answers];
    Fail("answer given, but no message box asked for it");
    return;
  }
  const std::size_t files = stage_.Files().Pending();
  if (files > 0) {
    line_ = file_lines_[file_lines_.size() - files];
    Fail("file given, but no file dialog asked for it");
  }
}

Window* ScenarioRunner::WindowOf(const Address& a, bool for_action) {
  Window* w = host_.FindWindow(a.window, a.unit);
  if (!w) {
    Address only = a;
    only.control.clear();
    only.index = -1;
    Fail("no window " + only.Text());
    return nullptr;
  }
  if (!for_action) return w;
  if (!w->Loaded() || !w->IsShown()) {
    Fail("window " + w->Name() + " is not shown");
    return nullptr;
  }
  if (!modal_stack_.empty() && w != modal_stack_.back()) {
    Fail(w->Name() + " is behind the modal window " + modal_stack_.back()->Name());
    return nullptr;
  }
  return w;
}

Control* ScenarioRunner::ControlOf(const std::string& text, bool for_action) {
  auto a = ParseAddress(text);
  if (!a || !a->HasControl()) {
    Fail("bad control address " + text);
    return nullptr;
  }
  Window* w = WindowOf(*a, for_action);
  if (!w) return nullptr;
  Control* c = w->Find(a->control, a->index);
  if (!c) {
    Fail("no control " + a->Text());
    return nullptr;
  }
  if (!for_action) return c;
  // Popup menus are hidden controls that are still chosen from.
  if (c->Kind() != ControlKind::Menu && !c->EffectiveVisible()) {
    Fail(c->Address() + " is hidden");
    return nullptr;
  }
  if (!c->EffectiveEnabled()) {
    Fail(c->Address() + " is disabled");
    return nullptr;
  }
  return c;
}

// ---- Actions

void ScenarioRunner::DoStart(const Args&) {
  host_.Start();
}

void ScenarioRunner::DoClock(const Args& a) {
  auto ms = ToNumber(a[0].text);
  if (!ms || *ms < 0) return Fail("clock needs milliseconds, saw " + a[0].text);
  stage_.Clock().Advance(*ms);
}

void ScenarioRunner::DoFocus(const Args& a) {
  if (Control* c = ActionTarget(a[0].text)) c->SetFocus();
}

void ScenarioRunner::DoClick(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  if (c->TakesFocus()) c->SetFocus();
  switch (c->Kind()) {
    case ControlKind::Label:
      return static_cast<Label*>(c)->UserClick();
    case ControlKind::Image:
      return static_cast<Image*>(c)->UserClick();
    case ControlKind::Button:
      return static_cast<Button*>(c)->UserClick();
    case ControlKind::PictureBox:
      return static_cast<PictureBox*>(c)->UserClick();
    case ControlKind::CheckBox:
      return static_cast<CheckBox*>(c)->UserClick();
    case ControlKind::OptionButton:
      return static_cast<OptionButton*>(c)->UserClick();
    default:
      return Fail(std::string("cannot click a ") + ControlKindName(c->Kind()));
  }
}

void ScenarioRunner::DoDblClick(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  std::optional<long long> row;
  if (a.size() == 3 && a[1].text == "row") row = ToNumber(a[2].text);
  if (a.size() != 1 && !row) return Fail("dblclick takes \"row R\" after the address");
  if (c->TakesFocus()) c->SetFocus();
  switch (c->Kind()) {
    case ControlKind::Grid: {
      auto* g = static_cast<Grid*>(c);
      return g->UserDblClick(row ? static_cast<int>(*row) : g->Row());
    }
    case ControlKind::ListBox:
    case ControlKind::ComboBox: {
      auto* l = static_cast<ListControl*>(c);
      if (row) l->UserSelect(static_cast<int>(*row));
      return l->UserDblClick();
    }
    case ControlKind::Label:
      return static_cast<Label*>(c)->UserDblClick();
    case ControlKind::Image:
      return static_cast<Image*>(c)->UserDblClick();
    case ControlKind::PictureBox:
      return static_cast<PictureBox*>(c)->UserDblClick();
    default:
      return Fail(std::string("cannot double-click a ") + ControlKindName(c->Kind()));
  }
}

void ScenarioRunner::DoType(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  if (c->Kind() != ControlKind::TextBox) return Fail("can only type into a text box");
  c->SetFocus();
  static_cast<TextBox*>(c)->UserType(a[1].text);
}

void ScenarioRunner::DoKey(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  if (c->Kind() != ControlKind::TextBox) return Fail("keys go to a text box");
  std::optional<long long> code = ToNumber(a[1].text);
  for (const NamedKey& k : kNamedKeys) {
    if (a[1].text == k.name) code = k.code;
  }
  if (!code) return Fail("unknown key " + a[1].text);
  c->SetFocus();
  static_cast<TextBox*>(c)->UserKey(static_cast<int>(*code));
}

void ScenarioRunner::DoSet(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  const std::string& v = a[1].text;
  c->SetFocus();
  switch (c->Kind()) {
    case ControlKind::TextBox:
      return static_cast<TextBox*>(c)->UserReplace(v);
    case ControlKind::Slider:
    case ControlKind::UpDown: {
      auto n = ToNumber(v);
      if (!n) return Fail("set needs a whole number, saw " + v);
      return static_cast<RangeControl*>(c)->UserSetValue(static_cast<int>(*n));
    }
    case ControlKind::CheckBox: {
      auto* box = static_cast<CheckBox*>(c);
      auto n = ToNumber(v);
      if (!n || (*n != 0 && *n != 1)) return Fail("a check box is set to 0 or 1");
      if (box->Value() != *n) box->UserClick();
      return;
    }
    default:
      return Fail(std::string("cannot set a ") + ControlKindName(c->Kind()));
  }
}

void ScenarioRunner::DoSelect(const Args& a) {
  auto addr = ParseAddress(a[0].text);
  const bool has_index = a.size() == 2;
  long long index = -1;
  if (has_index && !NumberOf(a[1].text, index)) {
    return Fail("select needs an entry number, saw " + a[1].text);
  }
  // An option array is selected by the element's index.
  if (addr && addr->HasControl() && addr->index < 0 && has_index) {
    Window* w = host_.FindWindow(addr->window, addr->unit);
    if (w && !w->Find(addr->control) && w->Find(addr->control, static_cast<int>(index))) {
      addr->index = static_cast<int>(index);
      Control* c = ActionTarget(addr->Text());
      if (!c) return;
      if (c->Kind() != ControlKind::OptionButton) return Fail("select of an array needs options");
      c->SetFocus();
      return static_cast<OptionButton*>(c)->UserClick();
    }
  }
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  c->SetFocus();
  if (c->Kind() == ControlKind::OptionButton && !has_index) {
    return static_cast<OptionButton*>(c)->UserClick();
  }
  if ((c->Kind() == ControlKind::ComboBox || c->Kind() == ControlKind::ListBox) && has_index) {
    return static_cast<ListControl*>(c)->UserSelect(static_cast<int>(index));
  }
  Fail("select needs a list with an entry number, or an option");
}

void ScenarioRunner::DoMenu(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  auto i = ToNumber(a[1].text);
  if (c->Kind() != ControlKind::Menu || !i) return Fail("menu needs a menu and an item number");
  static_cast<Menu*>(c)->UserChoose(static_cast<int>(*i));
}

void ScenarioRunner::DoMouse(const Args& a) {
  Control* c = ActionTarget(a[0].text);
  if (!c) return;
  auto* mouse = dynamic_cast<MouseEvents*>(c);
  if (!mouse) return Fail(std::string("a ") + ControlKindName(c->Kind()) + " has no mouse events");
  auto x = ToReal(a[2].text);
  auto y = ToReal(a[3].text);
  const bool has_button = a.size() == 5;
  long long button = 0;
  if (!x || !y || (has_button && !NumberOf(a[4].text, button))) {
    return Fail("mouse needs X Y [BUTTON] as numbers");
  }
  const std::string& what = a[1].text;
  if (what == "down") {
    int b = has_button ? static_cast<int>(button) : kLeftButton;
    held_buttons_ |= b;
    if (mouse->OnMouseDown) mouse->OnMouseDown(b, 0, *x, *y);
  } else if (what == "move") {
    int b = has_button ? static_cast<int>(button) : held_buttons_;
    if (mouse->OnMouseMove) mouse->OnMouseMove(b, 0, *x, *y);
  } else if (what == "up") {
    int b = has_button ? static_cast<int>(button) : kLeftButton;
    held_buttons_ &= ~b;
    if (mouse->OnMouseUp) mouse->OnMouseUp(b, 0, *x, *y);
  } else {
    Fail("mouse takes down, move or up, saw " + what);
  }
}

void ScenarioRunner::DoAnswer(const Args& a) {
  static constexpr std::pair<const char*, MsgAnswer> kAnswers[] = {
      {"yes", MsgAnswer::Yes}, {"no", MsgAnswer::No}, {"ok", MsgAnswer::Ok}};
  for (const auto& [name, answer] : kAnswers) {
    if (a[0].text == name) {
      stage_.Messages().Queue(answer);
      answer_lines_.push_back(line_);
      return;
    }
  }
  Fail("answer takes yes, no or ok, saw " + a[0].text);
}

void ScenarioRunner::DoFile(const Args& a) {
  if (!a[0].quoted && a[0].text == "cancel") {
    stage_.Files().Queue(std::nullopt);
  } else {
    std::filesystem::path p(a[0].text);
    if (p.is_relative()) p = host_.DataFolder() / p;
    stage_.Files().Queue(p.string());
  }
  file_lines_.push_back(line_);
}

void ScenarioRunner::DoClose(const Args& a) {
  auto addr = ParseAddress(a[0].text);
  if (!addr || addr->HasControl()) return Fail("close needs a window, saw " + a[0].text);
  if (Window* w = WindowOf(*addr, true)) w->UserClose();
}

// `screenshot "FILE.png" [WINDOW]`: the active window, or the one named.
void ScenarioRunner::DoScreenshot(const Args& a) {
  Window* w = stage_.ActiveWindow();
  if (a.size() > 1) {
    auto addr = ParseAddress(a[1].text);
    if (!addr || addr->HasControl()) return Fail("screenshot needs a window, saw " + a[1].text);
    w = WindowOf(*addr, false);
    if (!w) return;  // WindowOf has said why
  }
  if (!w) return Fail("no active window to take a picture of");
  std::string error = stage_.Screenshot(*w, a[0].text);
  if (!error.empty()) Fail("screenshot: " + error);
}

}  // namespace velmark::ui
