// The scenario runner driving the control gallery: every verb, modal nesting, and how a failed
// line is reported.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ui/gallery_host.h"
#include "ui/scenario_runner.h"

namespace velmark::ui {
namespace {

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmark-runner-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    data_ = pattern;
    host_ = std::make_unique<GalleryHost>(stage_.GetPlatform(), data_);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(data_);
  }
  RunResult Run(const std::string& text) {
    auto parsed = ParseScript("t.scn", text);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    ScenarioRunner runner(stage_, *host_);
    return runner.Run(parsed.script);
  }
  GalleryWindow& Gallery() { return host_->Gallery(); }

  HeadlessStage stage_;
  std::filesystem::path data_;
  std::unique_ptr<GalleryHost> host_;
};

TEST_F(RunnerTest, ActionsAndChecksOnEveryKindOfControl) {
  auto r = Run(R"(
start
expect Gallery caption "VELMARK - Control gallery"
expect Gallery active true
expect Gallery.GainText text "-6"
type Gallery.GainText "12"
key Gallery.GainText Backspace
key Gallery.GainText Backspace
expect Gallery.GainText text "-6"
set Gallery.GainText ""
type Gallery.GainText "-12,4"
key Gallery.GainText Enter
expect Gallery.GainText text "-12"
expect Gallery.UpDown1 value 12
set Gallery.UpDown1 13
expect Gallery.GainText text "-13"
expect Gallery.GainText focus 0
expect Gallery.UpDown1 focus 1
select Gallery.Combo1 2
expect Gallery.LblStatus caption "Input: Noise Generator"
expect Gallery.Combo1 listindex 2
expect Gallery.Combo1 listcount 3
expect Gallery.Combo1 list 1 "Digital SP/DIF"
select Gallery.Option1 1
expect Gallery.Option1(0) value 0
expect Gallery.Option1(1) checked 1
click Gallery.Check1
expect Gallery.Check1 value 1
set Gallery.Check2 1
expect Gallery.LblStatus caption "Linked with output 2"
set Gallery.Slider1 0
expect Gallery.Slider1 value 0
expect Gallery.Picture1 lines 107
mouse Gallery.Picture1 down 100 100 2
menu Gallery.ShapeEq 1
expect Gallery.LblEQType caption "Type: Low Shelf"
expect Gallery.ShapeEq checked 1 1
expect Gallery.ShapeEq item 2 "High Shelf"
dblclick Gallery.List1 row 2
expect Gallery.Text1 text "Studio"
dblclick Gallery.Grid1 row 1
expect Gallery.Grid1 row 1
expect Gallery.Grid1 rows 3
expect Gallery.Grid1 cell 2 "ID:03  VELMARK  - Off-line"
expect Gallery.LblStatus caption "Unit 2 selected"
expect Gallery.Shape1(0) fillcolor 192,192,192
clock 2000
expect Gallery.Shape1(0) fillcolor 65280
expect Gallery.Timer1 interval 80
clock 320
expect Gallery.ProgressBar1 value 5
expect Gallery.Shape1(4) fillcolor 255,128,0
expect Gallery.ImageBtn(2) tooltip "Lock"
expect Gallery.FrameChannel left 120
expect Gallery.Check1 top 1800
)");
  EXPECT_TRUE(r.passed) << r.message;
  EXPECT_EQ(Gallery().GainChanges, 2);
}

TEST_F(RunnerTest, MessagesFramesAndFiles) {
  auto r = Run(R"(
start
click Gallery.Command1(0)
expect-frames F00500010006000000000000F7
expect-no-frames
set Gallery.Text1 ""
answer ok
click Gallery.Command1(0)
expect-message "Please input the Name !" "Edit Names"
expect-no-frames
answer ok
type Gallery.GainText "x"
expect-message "  Incorrect value" "Warning"
expect Gallery.GainText text "-6?"
expect-no-message
answer no
click Gallery.Command1(1)
expect-message "Reset all values?"
expect Gallery.Text1 text ""
answer yes
click Gallery.Command1(1)
expect-message "Reset all values?"
expect Gallery.Text1 text "Main left"
file "preset/a.C44"
click Gallery.ImageBtn(0)
expect-file "preset/a.C44" size 18
expect-file "preset/a.C44" bytes 0 4D 61 69 6E
expect-file "preset/a.C44" bytes 16 06 18
set Gallery.Text1 "Other"
file cancel
click Gallery.ImageBtn(1)
expect Gallery.Text1 text "Other"
file "preset/a.C44"
click Gallery.ImageBtn(1)
expect Gallery.Text1 text "Main left"
expect Gallery.LblStatus caption "Loaded Main left"
)");
  EXPECT_TRUE(r.passed) << r.message;
  ASSERT_EQ(stage_.Files().Requests().size(), 3u);
  EXPECT_EQ(stage_.Files().Requests()[0].start_folder, (data_ / "preset").string());
}

TEST_F(RunnerTest, ModalWindowRunsTheFollowingLinesUntilItCloses) {
  auto r = Run(R"(
start
click Gallery.ImageBtn(3)
expect GalleryAbout modal 1
expect GalleryAbout active 1
expect GalleryAbout.Label2 caption "3.1.2"
type GalleryAbout.Text1 "inside"
click GalleryAbout.BtnOk
expect GalleryAbout loaded 0
expect Gallery.LblStatus caption "Note: inside"
click Gallery.ImageBtn(3)
close GalleryAbout
expect Gallery.LblStatus caption "Note: "
)");
  EXPECT_TRUE(r.passed) << r.message;
}

struct FailureCase {
  const char* name;
  const char* script;
  const char* message;
};

class RunnerFailure : public RunnerTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunnerFailure, StopsAtTheLineWithWhatWasExpectedAndSeen) {
  auto r = Run(GetParam().script);
  EXPECT_FALSE(r.passed);
  EXPECT_EQ(r.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerFailure,
    ::testing::Values(
        FailureCase{"property", "start\n\nexpect Gallery.Text1 text \"Main\"\nclock 10\n",
                    "t.scn:3: expected Gallery.Text1 text \"Main\", saw \"Main left\""},
        FailureCase{"unexpected_box", "start\nclick Gallery.Command1(1)\nclock 1\n",
                    "t.scn:2: unexpected message box \"Reset all values?\" (title \"Reset\")"},
        FailureCase{"unused_answer", "start\nanswer yes\nclock 1\n",
                    "t.scn:2: answer given, but no message box asked for it"},
        FailureCase{"unexpected_file", "start\nclick Gallery.ImageBtn(1)\n",
                    "t.scn:2: unexpected file dialog (filter \"file preset (*.C44)|*.C44\")"},
        FailureCase{"frames", "start\nclick Gallery.Command1(0)\nexpect-no-frames\n",
                    "t.scn:3: expected no frames, saw F00500010006000000000000F7"},
        FailureCase{"frames_differ",
                    "start\nset Gallery.UpDown1 7\nclick Gallery.Command1(0)\n"
                    "expect-frames F00500010006000000000000F7\n",
                    "t.scn:4: expected F00500010006000000000000F7, saw "
                    "F00500010007000000000000F7"},
        FailureCase{"no_message", "start\nexpect-message \"Hello\"\n",
                    "t.scn:2: expected message box \"Hello\", saw none"},
        FailureCase{"ended_in_modal", "start\nclick Gallery.ImageBtn(3)\n",
                    "t.scn:2: the scenario ended while GalleryAbout was open as a modal window"},
        FailureCase{"behind_modal", "start\nclick Gallery.ImageBtn(3)\nclick Gallery.Check1\n",
                    "t.scn:3: Gallery is behind the modal window GalleryAbout"},
        FailureCase{"disabled",
                    "start\nclick Gallery.ImageBtn(2)\nexpect Gallery.FrameChannel enabled 0\n"
                    "type Gallery.Text1 \"x\"\n",
                    "t.scn:4: Gallery.Text1 is disabled"},
        FailureCase{"not_shown", "click Gallery.Check1\n", "t.scn:1: window Gallery is not shown"},
        FailureCase{"no_control", "start\nclick Gallery.Nothing(2)\n",
                    "t.scn:2: no control Gallery.Nothing(2)"},
        FailureCase{"no_window", "start\nexpect FrmKVRxxxA[2] caption \"\"\n",
                    "t.scn:2: no window FrmKVRxxxA[2]"},
        FailureCase{"unknown_verb", "start\nwiggle Gallery.Check1\n",
                    "t.scn:2: unknown verb wiggle"},
        FailureCase{"bad_kind", "start\ntype Gallery.Check1 \"x\"\n",
                    "t.scn:2: can only type into a text box"},
        FailureCase{"out_of_range", "start\nselect Gallery.Combo1 7\n",
                    "t.scn:2: error: list index 7"},
        FailureCase{"file_size",
                    "start\nfile \"x.bin\"\nclick Gallery.ImageBtn(0)\n"
                    "expect-file \"x.bin\" size 17\n",
                    "t.scn:4: expected \"x.bin\" size 17, saw 18"},
        FailureCase{"file_bytes",
                    "start\nfile \"x.bin\"\nclick Gallery.ImageBtn(0)\n"
                    "expect-file \"x.bin\" bytes 0x10 0607\n",
                    "t.scn:4: expected \"x.bin\" at 0x10: 06 07, saw 06 18"},
        FailureCase{"quit_refused", "start\nanswer no\nclose Gallery\nexpect Gallery loaded 0\n",
                    "t.scn:4: expected Gallery loaded \"0\", saw \"1\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunnerTest, ScreenshotWithoutToolkitPassesAndWritesNothing) {
  auto r = Run("start\nscreenshot \"" + (data_ / "x.png").string() + "\"\n");
  EXPECT_TRUE(r.passed) << r.message;
  EXPECT_FALSE(std::filesystem::exists(data_ / "x.png"));
}

TEST_F(RunnerTest, ScreenshotNeedsAnActiveWindow) {
  EXPECT_EQ(Run("screenshot \"x.png\"\n").message,
            "t.scn:1: no active window to take a picture of");
}

}  // namespace
}  // namespace velmark::ui
