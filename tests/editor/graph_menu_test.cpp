// The response graph's context menu: the right button pops it up, "Export response…" writes
// CSV text or hands a picture to the platform by the chosen extension, "Copy picture" hands it
// to the clipboard; a cancelled dialog does nothing and a failure is one message box.

#include "editor/graph_menu.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "edit_window_fixture.h"
#include "link/temp_dir.h"

namespace velmark::testing {
namespace {

class GraphMenuTest : public EditWindowTest {
 protected:
  GraphMenuTest() : w(Open(0)) {
    w.SetPageTab(5);  // output 2
    port.calls.clear();
  }
  std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  FrmKVRxxxA& w;
  TempDir dir;
};

TEST_F(GraphMenuTest, RightButtonOnTheGraphPopsUpBothEntries) {
  w.Picture1.OnMouseDown(ui::kLeftButton, 0, 100, 100);
  EXPECT_EQ(hp.desktop.PoppedMenu(), nullptr);
  w.Picture1.OnMouseDown(ui::kRightButton, 0, 100, 100);
  ASSERT_EQ(hp.desktop.PoppedMenu(), &w.GraphMenu);
  ASSERT_EQ(w.GraphMenu.ItemCount(), 2);
  EXPECT_EQ(w.GraphMenu.ItemAt(kGraphMenuExport).caption, "Export response…");
  EXPECT_EQ(w.GraphMenu.ItemAt(kGraphMenuCopy).caption, "Copy picture");
  EXPECT_TRUE(port.calls.empty());
}

// What the dialog answers decides what is written and where.
TEST_F(GraphMenuTest, ExportFollowsTheChosenExtension) {
  struct Case {
    std::optional<std::string> answer;  // relative to the scratch folder
    std::string csv_file;               // the CSV file expected, or empty
    std::optional<ui::PictureFormat> picture;
  };
  const Case cases[] = {
      {"out2.csv", "out2.csv", std::nullopt},    {"plain", "plain.csv", std::nullopt},
      {"rew.txt", "rew.txt", std::nullopt},      {"graph.PNG", "", ui::PictureFormat::Png},
      {"graph.svg", "", ui::PictureFormat::Svg}, {std::nullopt, "", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancelled)"));
    const std::size_t pictures_before = hp.pictures.Calls().size();
    hp.files.Queue(c.answer ? std::optional((dir.path() / *c.answer).string()) : std::nullopt);
    w.GraphMenu.UserChoose(kGraphMenuExport);
    ASSERT_EQ(hp.files.Requests().back().filter, kGraphExportFilter);
    EXPECT_TRUE(hp.files.Requests().back().add_filter_suffix);
    if (!c.csv_file.empty()) {
      const std::string text = Read(dir.path() / c.csv_file);
      EXPECT_EQ(text.rfind("* VELMARK Control frequency response\n", 0), 0u);
      EXPECT_NE(text.find("* Channel: Out 2 \"Out 2\"\n"), std::string::npos);
      EXPECT_NE(text.find("\n20000 "), std::string::npos);
    }
    const auto& calls = hp.pictures.Calls();
    ASSERT_EQ(calls.size(), pictures_before + (c.picture ? 1 : 0));
    if (c.picture) {
      EXPECT_FALSE(calls.back().copy);
      EXPECT_EQ(calls.back().format, *c.picture);
      EXPECT_EQ(calls.back().path, (dir.path() / *c.answer).string());
      EXPECT_EQ(calls.back().width, w.FrameGraph.Width());
      EXPECT_GT(calls.back().lines, 1584u);  // grid and curve
      EXPECT_EQ(calls.back().labels, 5u + 14u);
    }
  }
  EXPECT_TRUE(hp.messages.Shown().empty());
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(GraphMenuTest, CopyHandsTheGraphToTheClipboard) {
  w.GraphMenu.UserChoose(kGraphMenuCopy);
  ASSERT_EQ(hp.pictures.Calls().size(), 1u);
  EXPECT_TRUE(hp.pictures.Calls()[0].copy);
  EXPECT_EQ(hp.pictures.Calls()[0].height, w.FrameGraph.Height());
  EXPECT_TRUE(hp.messages.Shown().empty());
}

// Each failure is one message naming what failed and why.
TEST_F(GraphMenuTest, FailuresAreShownInOneMessage) {
  struct Case {
    int item;
    std::string answer;
    std::string picture_error;
    std::string title, says;
  };
  const Case cases[] = {
      {kGraphMenuExport, "missing/folder/x.csv", "", kGraphExportTitle, "missing/folder/x.csv"},
      {kGraphMenuExport, "x.png", "disk full", kGraphExportTitle, "x.png: disk full."},
      {kGraphMenuCopy, "", "no clipboard", kGraphCopyTitle, "copied: no clipboard."}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    hp.pictures.error = c.picture_error;
    if (c.item == kGraphMenuExport) hp.files.Queue((dir.path() / c.answer).string());
    hp.messages.Queue(ui::MsgAnswer::Ok);
    const std::size_t before = hp.messages.Shown().size();
    w.GraphMenu.UserChoose(c.item);
    ASSERT_EQ(hp.messages.Shown().size(), before + 1);
    EXPECT_EQ(hp.messages.Shown().back().title, c.title);
    EXPECT_NE(hp.messages.Shown().back().text.find(c.says), std::string::npos)
        << hp.messages.Shown().back().text;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

}  // namespace
}  // namespace velmark::testing
