// Preset save and load through the tool bar: what a load takes from a file and what it leaves,
// the frames it sends, the files it refuses, and the load against a simulated unit's memory.

#include <gtest/gtest.h>

#include "preset_fixture.h"
#include "programs/preset_upload.h"
#include "sim/sim_line.h"

namespace velmark::testing {
namespace {

constexpr int kSourceCD = 818, kLockByte = 822, kNoiseType = SystemAddr(32);

ParamImage Defaults() {
  ParamImage img{};
  CopyDefaultImage(img);
  return img;
}

// A valid image that differs from the defaults in every area a load takes and in bytes it
// must leave alone.
ParamImage ShowImage() {
  ParamImage img = Defaults();
  img[0] = 0x01;  // input A level word 280: -2 dB
  img[1] = 0x18;
  img[82] = 'K';  // input A's name
  img[InputSourceAddr(0)] = 2;
  img[kDelayUnitAddr] = 0;
  img[kSourceCD] = 1;
  img[kNoiseType] = 1;
  img[kHostAreaStart + 5] = 0x5A;
  img[kHostAreaStart + kHostAreaSize - 1] = 0xA5;
  return img;
}

bool TakenByLoad(int a) {
  return a < kParamBytes || a == InputSourceAddr(0) || a == kDelayUnitAddr || a >= kHostAreaStart;
}

// Saved with blanks and non-ASCII in the name, loaded over a different image: exactly the
// listed areas come back, the rest keeps the image's own values; the frames are the 200 writes,
// the apply, the link mask of the decode, then source A/B and delay unit.
TEST_F(PresetTest, SaveThenLoadRestoresTheListedAreasAndSendsTheWritesInOrder) {
  const ParamImage saved = ShowImage();
  st.DeviceImages[0] = saved;
  const fs::path file = File("preset/show 1 Bühne.C44");
  Save(file.string());
  ASSERT_EQ(apptest::ReadAll(file), std::string(saved.begin(), saved.end()));
  ASSERT_EQ(hp.files.Requests().size(), 1u);
  EXPECT_EQ(hp.files.Requests()[0].filter, "file preset (*.C44)|*.C44");
  EXPECT_EQ(fs::path(hp.files.Requests()[0].start_folder), data.path() / "preset");
  EXPECT_TRUE(hp.files.Requests()[0].overwrite_prompt);
  EXPECT_TRUE(port.calls.empty());

  ParamImage before = Defaults();
  before[kSourceCD] = 2;
  before[kLockByte] = 0;
  before[kNoiseType] = 0;
  st.DeviceImages[0] = before;
  Load(file.string());

  for (int a = 0; a < kImageSize; ++a) {
    ASSERT_EQ(st.DeviceImages[0][a], TakenByLoad(a) ? saved[a] : before[a]) << "address " << a;
  }
  const auto frames = Sent();
  ASSERT_EQ(frames.size(), 204u);
  for (int k = 0; k < kPresetWriteCount; ++k) {
    const int addr = 64 + 4 * k;
    const Frame& f = frames[k];
    ASSERT_EQ(f[3], CmdWriteMemory);
    ASSERT_EQ(f[4] * 256 + f[5], addr);
    ASSERT_EQ(f[6], 4);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(f[8 + i], saved[4 * k + i]) << addr;
  }
  EXPECT_EQ(frames[199][4] * 256 + frames[199][5], 860);
  EXPECT_EQ(frames[200], BuildFrame(0, CmdApplyImage, FrameData{}));
  EXPECT_EQ(frames[201][3], CmdLinkMask);
  EXPECT_EQ(frames[202], BuildFrame(0, CmdInputSource, {0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(frames[203], BuildFrame(0, CmdSystemSetting, {1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(st.DeviceRecords[0].InputSourceAB, 2);
  EXPECT_EQ(w.Caption(), "USB  VELMARK  - file loaded: show 1 Bühne.C44");
  EXPECT_EQ(w.ProgressBar1.Max(), 204);
  EXPECT_EQ(w.ProgressBar1.Value(), 201);
  EXPECT_FALSE(w.ProgressBar1.Visible());
  EXPECT_EQ(w.Pointer(), ui::MousePointer::Default);
}

// An existing longer file is replaced whole, not overwritten at its start.
TEST_F(PresetTest, SaveReplacesALongerFileWhole) {
  const fs::path file = File("old.C44");
  apptest::WriteAll(file, std::string(4000, 'x'));
  Save(file.string());
  EXPECT_EQ(fs::file_size(file), kPresetFileSize);
}

// Which files load: only those holding at least a whole image. A tiny file is passed over
// silently, a short one is refused by name and size; neither sends a byte nor creates a file.
TEST_F(PresetTest, OnlyFilesHoldingAWholeImageAreLoaded) {
  struct Case {
    std::optional<std::size_t> size;  // none: no such file
    bool cancel;
    std::string message;
    bool loads;
  };
  const Case cases[] = {
      {std::nullopt, true, "", false},
      {std::nullopt, false, " File not found. Try again.", false},
      {0, false, "", false},
      {9, false, "", false},
      {10, false, " The file is not a preset: 10 bytes instead of 1651.", false},
      {1650, false, " The file is not a preset: 1650 bytes instead of 1651.", false},
      {1651, false, "", true},
      {1700, false, "", true},  // a tail behind the image is not read
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    st.DeviceImages[0] = Defaults();
    port.calls.clear();
    const fs::path file = File("case " + std::to_string(i) + ".C44");
    const std::string bytes = c.size ? PatternBytes(*c.size, 7) : "";
    if (c.size) apptest::WriteAll(file, bytes);
    if (!c.message.empty()) hp.messages.Queue(ui::MsgAnswer::Ok);
    const std::size_t shown = hp.messages.Shown().size();
    Load(c.cancel ? std::nullopt : std::optional(file.string()));

    EXPECT_EQ(fs::exists(file), c.size.has_value());
    ASSERT_EQ(hp.messages.Shown().size(), shown + (c.message.empty() ? 0 : 1));
    if (!c.message.empty()) {
      EXPECT_EQ(hp.messages.Shown().back().text, c.message);
      EXPECT_EQ(hp.messages.Shown().back().title, " Error");
      EXPECT_EQ(hp.messages.Shown().back().icon, ui::MsgIcon::Exclamation);
    }
    EXPECT_EQ(CountSent(CmdWriteMemory), c.loads ? 200 : 0);
    if (c.loads) {
      const ParamImage& img = st.DeviceImages[0];
      EXPECT_EQ(std::string(img.begin(), img.begin() + kParamBytes), bytes.substr(0, kParamBytes));
    } else {
      EXPECT_TRUE(port.calls.empty());
      EXPECT_EQ(st.DeviceImages[0], Defaults());
    }
    EXPECT_EQ(w.Pointer(), ui::MousePointer::Default);
  }
}

TEST_F(PresetTest, DemoModeSendsNothingAndDecodesAtOnce) {
  const ParamImage saved = ShowImage();
  const fs::path file = File("demo.C44");
  apptest::WriteAll(file, std::string(saved.begin(), saved.end()));
  st.DemoMode = true;
  Load(file.string());
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(st.DeviceRecords[0].InputSourceAB, 2);
  EXPECT_EQ(st.DeviceRecords[0].DelayUnit, 0);
  EXPECT_DOUBLE_EQ(st.DeviceRecords[0].LevelGain[0], -2.0);
  EXPECT_EQ(w.Caption(), "USB  VELMARK  - file loaded: demo.C44");
}

// A write the unit does not answer ends the load there: no apply, no decode, no caption; the
// image already holds the file, the progress bar and pointers are back.
TEST_F(PresetTest, AFailedWriteStopsTheLoadAtThatWrite) {
  const ParamImage saved = ShowImage();
  const fs::path file = File("fail.C44");
  apptest::WriteAll(file, std::string(saved.begin(), saved.end()));
  constexpr int kFailingAddress = 64 + 4 * 57;
  port.responder = [](Frame& f) {
    const bool fail = f[3] == CmdWriteMemory && f[4] * 256 + f[5] == kFailingAddress;
    return fail ? SerialStatus::Timeout : SerialStatus::Ok;
  };
  hp.messages.Queue(ui::MsgAnswer::Ok);  // the communication problem
  const std::string caption = w.Caption();
  Load(file.string());
  ASSERT_FALSE(port.calls.empty());
  EXPECT_EQ(CountSent(CmdWriteMemory), 58);
  EXPECT_EQ(port.calls.back().frame[4] * 256 + port.calls.back().frame[5], kFailingAddress);
  EXPECT_EQ(CountSent(CmdApplyImage) + CountSent(CmdLinkMask) + CountSent(CmdInputSource), 0);
  EXPECT_EQ(st.DeviceImages[0][0], saved[0]);
  EXPECT_EQ(w.Caption(), caption);
  EXPECT_FALSE(w.ProgressBar1.Visible());
}

// Against a unit with its own memory: afterwards the unit holds the image's parameters and the
// two system settings the load took.
TEST_F(PresetTest, AfterALoadTheSimulatedUnitHoldsTheImage) {
  SimLine line(SimBus::Usb());
  ASSERT_EQ(line.Open("COM1", 9600), SerialStatus::Ok);
  port.responder = [&line](Frame& f) { return line.Transact(f, 300, true, false, 1); };
  const ParamImage saved = ShowImage();
  const fs::path file = File("sim.C44");
  apptest::WriteAll(file, std::string(saved.begin(), saved.end()));
  Load(file.string());
  const UnitMemory& memory = line.Unit(0)->Memory();
  const ParamBytes params = memory.Params();
  for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(params[a], st.DeviceImages[0][a]) << a;
  EXPECT_EQ(memory.System(kSysInputSource), 2);
  EXPECT_EQ(memory.System(kSysDelayUnit), 0);
}

}  // namespace
}  // namespace velmark::testing
