// Recalling a program: what decides that nothing is sent, the unit's "empty" answer, and a
// whole recall against the simulated unit.

#include "model/defaults.h"
#include "programs/eeprom_txt.h"
#include "programs/unit_programs.h"
#include "programs_fixture.h"
#include "sim/sim_line.h"

namespace velmark::testing {
namespace {

TEST_F(ProgramsTest, RecallOfAnEmptyMemoryNeverContactsTheUnit) {
  read.Show();
  read.List1.UserSelect(1);  // memory 2: state 255
  hp.messages.Queue(ui::MsgAnswer::Ok);
  Click(read, kActionButton);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(hp.messages.Shown().back().text, "Program empty");
  EXPECT_EQ(hp.messages.Shown().back().title, "Recall Program");
  EXPECT_EQ(hp.messages.Shown().back().icon, ui::MsgIcon::Critical);
}

TEST_F(ProgramsTest, UnitAnsweringEmptyStopsTheRecall) {
  port.responder = ScriptedPort::Answer({255});
  const ParamImage before = st.DeviceImages[0];
  read.Show();
  read.List1.UserSelect(2);
  hp.messages.Queue(ui::MsgAnswer::Yes);
  hp.messages.Queue(ui::MsgAnswer::Ok);
  Click(read, kActionButton);
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame[3], CmdRecallProgram);
  EXPECT_EQ(port.calls[0].frame[4], 2);
  EXPECT_EQ(hp.messages.Shown().back().text, "Preset empty");
  EXPECT_EQ(st.DeviceImages[0], before);
  EXPECT_FALSE(read.Label2.Visible());
}

// A unit that is off-line is never addressed and the engine reports success without a reply:
// the buffer still holds an older exchange, which must not become the image.
TEST_F(ProgramsTest, RecallOfAnOfflineUnitKeepsTheImage) {
  st.DeviceTable[0].Online = false;
  link.RxBuffer.fill(255);
  const ParamImage before = st.DeviceImages[0];
  ProgramProgress none;
  EXPECT_EQ(RecallProgram(st, link, 2, none), RecallOutcome::Recalled);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(st.DeviceImages[0], before);
}

TEST_F(ProgramsTest, DemoRecallDecodesTheUnchangedImage) {
  st.DemoMode = true;
  st.LinkMask[0] = 0x0F;
  const ParamImage before = st.DeviceImages[0];
  read.Show();
  read.List1.UserSelect(0);
  hp.messages.Queue(ui::MsgAnswer::Yes);
  Click(read, kActionButton);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(st.DeviceImages[0], before);
  EXPECT_EQ(st.LinkMask[0], 0);
  EXPECT_EQ(windows.Window(0).Caption(), "USB  VELMARK  - program loaded: Live            ");
}

TEST(EepromTxt, TwoHundredLinesOfFourBytes) {
  ParamImage img{};
  std::copy(DefaultImage.begin(), DefaultImage.end(), img.begin());
  img[796] = 200, img[799] = 255;
  const std::string text = EepromText(img);
  EXPECT_EQ(text.substr(0, 11), "1,44,0,0,\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 200);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 200);
  const std::string last =
      "200," + std::to_string(img[797]) + "," + std::to_string(img[798]) + ",255,\r\n";
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

// The whole round trip against the simulated unit: store a configuration, change the unit,
// recall the memory, and the window shows the stored values again.
TEST(RecallOnSimulatedUnit, ReadsTheMemoryBackAndShowsIt) {
  ui::HeadlessPlatform hp;
  hp.messages.OnUnexpected = [](const ui::ShownMessage& m) { ADD_FAILURE() << m.text; };
  ProgramState st;
  SimLine line(SimBus::Usb());
  RxTx link(st, line, hp.messages);
  EditWindows windows;
  Core core{st, link, hp.platform, windows};
  windows.core = &core;
  TempDir dir;
  st.DataFolder = dir.path().string();
  st.LinkStarted = true;
  st.ComPort = 1;
  st.DeviceTable[0] = {true, false, 0, true};
  std::copy(DefaultImage.begin(), DefaultImage.end(), st.DeviceImages[0].begin());
  FrmKVRxxxA& w = windows.Window(0);
  w.Show();
  st.DeviceTable[0].WindowOpen = true;

  ProgramProgress none;
  ASSERT_TRUE(StoreProgram(st, link, 4, "Hall", none).Stored());
  ParamBytes changed = line.Unit(0)->Memory().Params();
  changed[0] = 9;  // the unit's current configuration moves on
  line.Unit(0)->Memory().SetParams(changed);
  st.DeviceImages[0][0] = 9;
  st.LinkMask[0] = 0x03;

  FrmRead read(core, [&](int u) { return &windows.Window(u); });
  read.Show();
  read.List1.UserSelect(4);
  hp.messages.Queue(ui::MsgAnswer::Yes);
  line.ClearSent();
  static_cast<ui::Label*>(read.Find("LblShowCursor", kActionButton))->UserClick();

  const std::vector<Frame>& sent = line.Sent();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0], BuildFrame(0, CmdRecallProgram, FrameData{4}));
  EXPECT_EQ(sent[1], BuildFrame(0, CmdReadBlock, FrameData{0, 0, 64, 0x03, 0x20}));
  EXPECT_EQ(st.DeviceImages[0][0], DefaultImage[0]);
  EXPECT_EQ(std::string(st.DeviceImages[0].begin() + 768, st.DeviceImages[0].begin() + 784),
            "Hall            ");
  EXPECT_EQ(st.LinkMask[0], 0);
  EXPECT_EQ(w.Caption(), "USB  VELMARK  - program loaded: Hall            ");
  // Decoding sent only the link mask, and it said 0.
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2][3], CmdLinkMask);
  EXPECT_EQ(sent[2][11], 0);
  const ParamBytes in_unit = line.Unit(0)->Memory().Params();
  EXPECT_TRUE(std::equal(in_unit.begin(), in_unit.end(), st.DeviceImages[0].begin()));
}

}  // namespace
}  // namespace velmark::testing
