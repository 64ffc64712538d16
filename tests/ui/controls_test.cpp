// Event semantics of the toolkit-neutral controls: what a program write raises, what a person's
// action raises, and what a disabled control ignores.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace velmark::ui {
namespace {

TEST(RangeControl, ProgramWriteRaisesChangeOnceAndOnlyOnChange) {
  Slider s;
  s.SetRange(0, 300);
  int changes = 0;
  s.OnChange = [&] { ++changes; };
  s.SetValue(120);
  s.SetValue(120);
  EXPECT_EQ(changes, 1);
  s.SetValue(999);  // clamped to 300: a change
  s.SetValue(400);  // clamped to 300 again: none
  EXPECT_EQ(s.Value(), 300);
  EXPECT_EQ(changes, 2);
  s.SetValue(-5);
  EXPECT_EQ(s.Value(), 0);
  EXPECT_EQ(changes, 3);
}

TEST(RangeControl, NarrowingTheRangeMovesTheValueAndRaisesChange) {
  UpDown u;
  u.SetRange(0, 340);
  u.SetValue(300);
  int changes = 0;
  u.OnChange = [&] { ++changes; };
  u.SetRange(0, 270);
  EXPECT_EQ(u.Value(), 270);
  EXPECT_EQ(changes, 1);
  u.SetRange(0, 300);  // value still inside: nothing
  EXPECT_EQ(changes, 1);
}

// The pattern every window handler follows: return at once while the program fills controls.
TEST(RangeControl, GuardedHandlerStaysQuietWhileTheFlagIsHeld) {
  bool updating = false;
  std::vector<int> sent;
  Slider s;
  s.SetRange(0, 60);
  s.OnChange = [&] {
    if (updating) return;
    sent.push_back(s.Value());
  };
  updating = true;
  s.SetValue(30);
  updating = false;
  s.UserSetValue(31);
  s.SetValue(32);  // a program write without the flag counts like a user's
  EXPECT_EQ(sent, (std::vector<int>{31, 32}));
}

TEST(CheckBox, ClickFollowsEveryChangeOfValue) {
  CheckBox c;
  std::vector<int> seen;
  c.OnClick = [&] { seen.push_back(c.Value()); };
  c.SetValue(5);  // any non-zero value is 1
  c.SetValue(1);
  c.UserClick();
  c.UserClick();
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
}

TEST(OptionGroup, SelectingOneClearsTheOthersAndClicksOnlyTheNewOne) {
  OptionGroup group;
  OptionButton opt[3];
  std::vector<int> clicks;
  for (int i = 0; i < 3; ++i) {
    opt[i].SetGroup(group);
    opt[i].OnClick = [&clicks, i] { clicks.push_back(i); };
  }
  opt[0].SetValue(true);
  opt[2].UserClick();
  opt[2].UserClick();      // already selected: no click
  opt[2].SetValue(false);  // clearing raises nothing
  EXPECT_EQ(clicks, (std::vector<int>{0, 2}));
  EXPECT_FALSE(opt[0].Value());
  EXPECT_FALSE(opt[1].Value());
  EXPECT_FALSE(opt[2].Value());
  opt[1].UserClick();
  EXPECT_TRUE(opt[1].Value());
  EXPECT_EQ(clicks.back(), 1);
}

TEST(Controls, DisabledControlOrContainerIgnoresUserActions) {
  Frame page;
  CheckBox check;
  Slider slider;
  Label label;
  check.SetContainer(&page);
  slider.SetContainer(&page);
  label.SetContainer(&page);
  int events = 0;
  check.OnClick = [&] { ++events; };
  slider.OnChange = [&] { ++events; };
  label.OnClick = [&] { ++events; };
  page.SetEnabled(false);
  check.UserClick();
  slider.UserSetValue(3);
  label.UserClick();
  EXPECT_EQ(events, 0);
  EXPECT_FALSE(check.EffectiveEnabled());
  check.SetValue(1);  // the program may still write
  EXPECT_EQ(events, 1);
  page.SetEnabled(true);
  label.UserClick();
  EXPECT_EQ(events, 2);
}

struct TypingCase {
  const char* name;
  std::string start;
  int max_length;
  std::vector<int> keys;
  std::string expected;
};

class TextBoxTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TextBoxTyping, KeysEndInTheExpectedText) {
  const TypingCase& c = GetParam();
  TextBox box;
  box.SetMaxLength(c.max_length);
  box.SetText(c.start);
  for (int key : c.keys) box.UserKey(key);
  EXPECT_EQ(box.Text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBoxTyping,
    ::testing::Values(TypingCase{"append", "12", 0, {'.', '5'}, "12.5"},
                      TypingCase{"backspace", "-12", 0, {kKeyBackspace, kKeyBackspace}, "-"},
                      TypingCase{"backspace_on_empty", "", 0, {kKeyBackspace}, ""},
                      TypingCase{"enter_inserts_nothing", "7", 0, {kKeyEnter}, "7"},
                      TypingCase{"limit_holds_back", "ABCDE", 6, {'F', 'G', 'H'}, "ABCDEF"},
                      TypingCase{
                          "limit_then_backspace", "ABCDEF", 6, {kKeyBackspace, 'Z'}, "ABCDEZ"},
                      TypingCase{"ctrl_v_inserts_nothing", "1", 0, {22, 3}, "1"},
                      TypingCase{"non_ascii", "", 0, {-0xE9}, "\xC3\xA9"},
                      TypingCase{"backspace_whole_char", "a\xC3\xA9", 0, {kKeyBackspace}, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextBox, KeyPressHandlerMayReplaceOrDiscardTheKey) {
  TextBox box;
  box.OnKeyPress = [](int& key) {
    if (key == ',') key = '.';  // the locale's separator
    if (key == 'x') key = 0;    // discarded
    if (key >= 'a' && key <= 'z') key = '?';
  };
  box.UserType("1,5xq");
  EXPECT_EQ(box.Text(), "1.5?");
}

TEST(TextBox, EnterReachesTheHandlerAndBackspaceEditsBeforeTheCaret) {
  TextBox box;
  int enters = 0;
  box.OnKeyPress = [&](int& key) {
    if (key == kKeyEnter) ++enters;
  };
  box.UserType("1234");
  box.SetCaret(2);
  box.UserKey(kKeyBackspace);
  box.UserKey('9');
  box.UserKey(kKeyEnter);
  EXPECT_EQ(box.Text(), "1934");
  EXPECT_EQ(box.Caret(), 2);
  EXPECT_EQ(enters, 1);
}

TEST(TextBox, ChangeFiresOncePerEffectiveEditWithTheCaretInPlace) {
  TextBox box;
  box.SetText("abc");
  std::vector<std::pair<std::string, int>> changes;
  box.OnChange = [&] { changes.emplace_back(box.Text(), box.Caret()); };
  box.SetCaret(1);
  box.UserKey('X');
  box.SetText("aXbc");  // same text: no change
  box.UserKey(kKeyEnter);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], (std::pair<std::string, int>{"aXbc", 2}));
}

TEST(TextBox, TypingReplacesTheSelection) {
  TextBox box;
  box.SetText("-12.5");
  box.SetSelection(1, 2);
  EXPECT_EQ(box.SelText(), "12");
  box.UserKey('7');
  EXPECT_EQ(box.Text(), "-7.5");
  box.SetSelection(0, 4);
  box.UserKey(kKeyBackspace);
  EXPECT_EQ(box.Text(), "");
}

TEST(TextBox, LimitHoldsBackTypingAndPastingButNotTheProgram) {
  TextBox box;
  box.SetMaxLength(6);
  box.SetText("1234567");
  EXPECT_EQ(box.Text(), "1234567");
  box.UserReplace("ABCDEFGH");
  EXPECT_EQ(box.Text(), "ABCDEF");
  box.UserReplace("ABCDE\xC3\xA9");  // the limit never splits a character
  EXPECT_EQ(box.Text(), "ABCDE");
}

TEST(TextBox, KeyDownSeesCapitalsBeforeKeyPress) {
  TextBox box;
  std::vector<int> order;
  box.OnKeyDown = [&](int& code, int) { order.push_back(code); };
  box.OnKeyPress = [&](int& key) { order.push_back(-key); };
  box.UserType("a1");
  EXPECT_EQ(order, (std::vector<int>{'A', -'a', '1', -'1'}));
}

TEST(TextBox, KeysOfDecodesUtf8WithNonAsciiNegative) {
  EXPECT_EQ(KeysOf("A\xC2\xA3\xE2\x82\xAC"), (std::vector<int>{'A', -0xA3, -0x20AC}));
}

TEST(ListControl, SelectRaisesClickOnChangeAndFollowsRemoval) {
  ComboBox combo;
  for (const char* t : {"NONE", "COM 1", "COM 2"}) combo.AddItem(t);
  int clicks = 0;
  combo.OnClick = [&] { ++clicks; };
  combo.UserSelect(2);
  combo.UserSelect(2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(combo.Text(), "COM 2");
  combo.RemoveItem(0);
  EXPECT_EQ(combo.ListIndex(), 1);
  combo.RemoveItem(1);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_THROW(combo.SetListIndex(5), std::out_of_range);
}

class CountingView : public ControlView {
 public:
  void Refresh(Control&) override { ++refreshes; }
  int refreshes = 0;
};

TEST(PictureBox, DisplayListKeepsLinesWithPenAndWidthAndTellsTheView) {
  PictureBox pic;
  CountingView view;
  pic.SetView(&view);
  pic.SetScale(1584, 600);
  pic.SetPenColour(MakeColour(255, 128, 0));
  pic.SetDrawWidth(2);
  pic.Line(0, 300, 1584, 300);
  pic.Line(0, 0, 10, 10, kWhite);
  ASSERT_EQ(pic.DisplayList().size(), 2u);
  EXPECT_EQ(pic.DisplayList()[0], (DrawnLine{0, 300, 1584, 300, 33023, 2}));
  EXPECT_EQ(pic.DisplayList()[1].colour, kWhite);
  const int before = view.refreshes;
  pic.Cls();
  EXPECT_TRUE(pic.DisplayList().empty());
  EXPECT_GT(view.refreshes, before);
}

TEST(Grid, DoubleClickSelectsTheRowFirst) {
  Grid grid;
  grid.SetRows(3);
  grid.SetTextMatrix(2, 0, "ID:03  VELMARK  - On-line");
  int seen_row = -1;
  grid.OnDblClick = [&] { seen_row = grid.Row(); };
  grid.UserDblClick(2);
  EXPECT_EQ(seen_row, 2);
  EXPECT_THROW(grid.UserDblClick(3), std::out_of_range);
  grid.SetRows(1);
  EXPECT_EQ(grid.Row(), 0);
}

TEST(Menu, ChoosingADisabledOrHiddenItemDoesNothing) {
  Menu menu;
  menu.SetItems({"Bell", "Low Shelf", "High Shelf"});
  std::vector<int> chosen;
  menu.OnClick = [&](int i) { chosen.push_back(i); };
  menu.SetItemEnabled(1, false);
  menu.UserChoose(0);
  menu.UserChoose(1);
  menu.UserChoose(2);
  EXPECT_EQ(chosen, (std::vector<int>{0, 2}));
  EXPECT_THROW(menu.UserChoose(3), std::out_of_range);
}

}  // namespace
}  // namespace velmark::ui
