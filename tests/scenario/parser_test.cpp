// The scenario language's words, strings and addresses, and the command line.

#include <gtest/gtest.h>

#include "ui/scenario_options.h"
#include "ui/scenario_parser.h"

namespace velmark::ui {
namespace {

TEST(Tokenize, WordsStringsEscapesAndComments) {
  std::vector<Token> t;
  ASSERT_FALSE(Tokenize(R"(type Gallery.Text1 "say \"hi\" \\ # not a comment"  # comment)", t));
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0], (Token{"type", false}));
  EXPECT_EQ(t[2], (Token{R"(say "hi" \ # not a comment)", true}));
  t.clear();
  ASSERT_FALSE(Tokenize(R"(expect-message "COM found:\nCOM3" "Search COM")", t));
  EXPECT_EQ(t[1], (Token{"COM found:\nCOM3", true}));
  EXPECT_EQ(t[2], (Token{"Search COM", true}));
  t.clear();
  ASSERT_FALSE(Tokenize(R"(expect W.C text "")", t));
  EXPECT_EQ(t.back(), (Token{"", true}));
  t.clear();
  EXPECT_EQ(Tokenize(R"(type W.C "open)", t), std::optional<std::string>("string not closed"));
}

TEST(ParseScript, KeepsLineNumbersAndSkipsBlankAndCommentLines) {
  auto r = ParseScript("a.scn", "# heading\n\nstart\r\n   \nclick W.C # go\n");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.script.lines.size(), 2u);
  EXPECT_EQ(r.script.lines[0].number, 3);
  EXPECT_EQ(r.script.lines[1].number, 5);
  EXPECT_EQ(r.script.lines[1].tokens.size(), 2u);
  auto bad = ParseScript("b.scn", "start\ntype W.C \"x\n");
  EXPECT_EQ(bad.error, "b.scn:2: string not closed");
}

struct AddressCase {
  const char* text;
  bool valid;
  const char* window;
  int unit;
  const char* control;
  int index;
};

TEST(ParseAddress, Forms) {
  const AddressCase cases[] = {
      {"FrmSelPort.Combo1", true, "FrmSelPort", -1, "Combo1", -1},
      {"FrmSelPort.Option2(1)", true, "FrmSelPort", -1, "Option2", 1},
      {"FrmKVRxxxA[3].Slider1(9)", true, "FrmKVRxxxA", 3, "Slider1", 9},
      {"FrmKVRxxxA[0]", true, "FrmKVRxxxA", 0, "", -1},
      {"MDIFrmMain", true, "MDIFrmMain", -1, "", -1},
      {"Frm.Label100(806)", true, "Frm", -1, "Label100", 806},
      {"Frm.", false, "", 0, "", 0},
      {"Frm.C(", false, "", 0, "", 0},
      {"Frm.C()", false, "", 0, "", 0},
      {"Frm.C(x)", false, "", 0, "", 0},
      {"Frm.C(-1)", false, "", 0, "", 0},
      {"Frm[].C", false, "", 0, "", 0},
      {"Frm.C(1)x", false, "", 0, "", 0},
      {".C", false, "", 0, "", 0},
  };
  for (const auto& c : cases) {
    auto a = ParseAddress(c.text);
    ASSERT_EQ(a.has_value(), c.valid) << c.text;
    if (!a) continue;
    EXPECT_EQ(a->window, c.window) << c.text;
    EXPECT_EQ(a->unit, c.unit) << c.text;
    EXPECT_EQ(a->control, c.control) << c.text;
    EXPECT_EQ(a->index, c.index) << c.text;
    EXPECT_EQ(a->Text(), c.text);
  }
}

TEST(ScenarioOptions, HostsAndFiles) {
  auto r = ParseScenarioOptions({"--sim", "rs485", "3,17", "--data", "/tmp/d", "a.scn", "b.scn"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.sim, SimulatedLine::Rs485);
  EXPECT_EQ(r.options.sim_ids, (std::vector<int>{3, 17}));
  EXPECT_EQ(r.options.data, "/tmp/d");
  EXPECT_EQ(r.options.files.size(), 2u);
  r = ParseScenarioOptions({"--gallery", "--qt", "g.scn"});
  EXPECT_TRUE(r.options.gallery && r.options.qt);
  r = ParseScenarioOptions({"--port", "COM3", "x.scn"});
  EXPECT_EQ(r.options.port, "COM3");

  const std::vector<std::vector<std::string>> bad = {
      {"--sim", "rs485", "0", "a.scn"}, {"--sim", "rs485", "3,", "a.scn"},
      {"--sim", "serial", "a.scn"},     {"--port", "ttyS0", "a.scn"},
      {"--gallery", "--demo", "a.scn"}, {"--gallery"},
      {"--frobnicate", "a.scn"},        {"--data"},
  };
  for (const auto& args : bad) EXPECT_NE(ParseScenarioOptions(args).error, "") << args[0];
}

TEST(ScenarioOptions, SimulatedLineStyleAndMutedCommands) {
  using Mutes = std::vector<MutedCommand>;
  const struct {
    std::vector<std::string> args;
    SimulatedBlockReply style;
    Mutes muted;
  } good[] = {
      {{"--sim", "usb", "a.scn"}, SimulatedBlockReply::Framed, {}},
      {{"--block-reply", "bare", "--sim", "usb", "--mute", "0x19", "a.scn"},
       SimulatedBlockReply::Bare,
       {{0x19, -1}}},
      {{"--sim", "rs485", "3,17", "--block-reply", "framed", "--mute", "25@17", "--mute", "0X50@3",
        "a.scn"},
       SimulatedBlockReply::Framed,
       {{25, 17}, {0x50, 3}}},
      {{"--sim", "usb", "--mute", "255@0", "a.scn"}, SimulatedBlockReply::Framed, {{255, 0}}},
  };
  for (const auto& c : good) {
    const auto r = ParseScenarioOptions(c.args);
    ASSERT_EQ(r.error, "") << c.args[1];
    EXPECT_EQ(r.options.sim_block_reply, c.style) << c.args[1];
    EXPECT_EQ(r.options.sim_muted, c.muted) << c.args[1];
  }

  const std::vector<std::vector<std::string>> bad = {
      {"--block-reply", "bare", "--demo", "a.scn"},
      {"--port", "COM3", "--mute", "25", "a.scn"},
      {"--sim", "usb", "--block-reply", "raw", "a.scn"},
      {"--sim", "usb", "--mute"},
      {"--sim", "usb", "--mute", "256", "a.scn"},
      {"--sim", "usb", "--mute", "0x1G", "a.scn"},
      {"--sim", "usb", "--mute", "25@", "a.scn"},
      {"--sim", "usb", "--mute", "25@3", "a.scn"},
      {"--sim", "rs485", "3,17", "--mute", "25@4", "a.scn"},
  };
  for (const auto& args : bad) {
    EXPECT_NE(ParseScenarioOptions(args).error, "") << args[0] << " " << args[args.size() - 2];
  }
}

}  // namespace
}  // namespace velmark::ui
