// Reading units on the simulated line: the names at connection, the whole configuration when a
// unit is opened, and what a failure at any step leaves behind.

#include "link/unit_reader.h"

#include <gtest/gtest.h>

#include "link_fixture.h"
#include "sim/unit_memory.h"

namespace velmark {
namespace {

using apptest::CountingProgress;
using apptest::LinkFixture;

constexpr std::string_view kEmptyName = "Program Empty   ";

TEST(ReadUnitConfig, AllProgramsEmptyTakesSixPacketsAndThreeBlockReads) {
  LinkFixture f(SimBus::Usb());
  f.Found(0, 0);
  SimUnit& unit = *f.line.Sim().Unit(0);
  unit.Memory().Param(LevelAddr[2] + 1) = 77;
  unit.Memory().System(kSysDelayUnit) = 1;
  unit.Memory().System(kSysPassword + 2) = 11;
  unit.Memory().System(kSysNoiseLevel + 2) = 33;
  unit.Memory().SetLinkMask(0x81);
  CountingProgress progress;
  ASSERT_TRUE(ReadUnitConfig(f.st, f.link, 0, progress));

  EXPECT_EQ(f.Sent(CmdReadBlock), 3);
  EXPECT_EQ(static_cast<int>(f.line_sent().size()) - f.Sent(CmdReadBlock), 6);
  EXPECT_EQ(progress.advances, kConfigReadSteps);
  const ParamImage& img = f.st.DeviceImages[0];
  EXPECT_TRUE(std::equal(img.begin(), img.begin() + kParamBytes, unit.Memory().Params().begin()));
  EXPECT_EQ(f.st.FirmwareVersion[0], "3.1.2");
  EXPECT_EQ(f.st.DeviceName[0], kFreshUnitName) << "names keep their blanks here";
  const DeviceSettings& rec = f.st.DeviceRecords[0];
  EXPECT_EQ(rec.DelayUnit, 1);
  EXPECT_EQ(img[kDelayUnitAddr], 1);
  EXPECT_EQ(rec.PasswordCode[2], 11);
  EXPECT_EQ(rec.NoiseLevel[1], 33);
  for (int k = 0; k < kProgramCount; ++k) {
    EXPECT_EQ(rec.ProgramSlot[k], kEmptyProgramState);
    EXPECT_EQ(rec.ProgramName[k], kEmptyName);
  }
  EXPECT_EQ(rec.CurrentProgramName, "Default         ");
  EXPECT_EQ(f.st.LinkMask[0], 0x81);
  EXPECT_FALSE(f.st.ConfigRead[0]) << "the edit window marks the configuration read";
}

TEST(ReadUnitConfig, AProgramInUseGetsItsNameReadAt5792) {
  LinkFixture f(SimBus::Rs485(std::vector<int>{9}));
  f.Found(4, 9);
  SimUnit& unit = *f.line.Sim().Unit(9);
  unit.Memory().SetParams([] {
    ParamBytes p{};
    const std::string_view name = "Stage left      ";
    std::copy(name.begin(), name.end(), p.begin() + kProgramNameAddr);
    return p;
  }());
  ASSERT_TRUE(unit.Memory().StoreProgram(5));
  unit.SetVersion({4, 10, 0});
  CountingProgress progress;
  ASSERT_TRUE(ReadUnitConfig(f.st, f.link, 4, progress));
  EXPECT_EQ(f.Sent(CmdReadBlock), 4);
  const Frame& name_read = f.line_sent()[7];
  EXPECT_EQ(name_read[2], 9);
  EXPECT_EQ(name_read[3], CmdReadBlock);
  EXPECT_EQ(name_read[5] * 256 + name_read[6], 5792);
  EXPECT_EQ(name_read[7] * 256 + name_read[8], 16);
  const DeviceSettings& rec = f.st.DeviceRecords[4];
  EXPECT_EQ(rec.ProgramSlot[5], 5);
  EXPECT_EQ(rec.ProgramName[5], "Stage left      ");
  EXPECT_EQ(rec.ProgramName[6], kEmptyName);
  EXPECT_EQ(f.st.FirmwareVersion[4], "4.10.0");
  EXPECT_EQ(progress.advances, kConfigReadSteps);
}

// A memory is in use while its state byte is below 64: its name is read only then, whatever
// the other bits of the byte say.
TEST(ReadUnitConfig, StateBytesJustBelowAndAtSixtyFourDecideWhichNamesAreRead) {
  struct Case {
    std::uint8_t state;
    bool in_use;
  };
  const Case cases[] = {{0, true},   {1, true},   {62, true},   {63, true},
                        {64, false}, {65, false}, {128, false}, {255, false}};
  LinkFixture f(SimBus::Usb());
  f.Found(0, 0);
  SimUnit& unit = *f.line.Sim().Unit(0);
  for (int k = 0; k < kProgramCount; ++k) {
    unit.Memory().MutableStates()[k] = cases[k % std::size(cases)].state;
  }
  CountingProgress progress;
  ASSERT_TRUE(ReadUnitConfig(f.st, f.link, 0, progress));
  const DeviceSettings& rec = f.st.DeviceRecords[0];
  int in_use = 0;
  for (int k = 0; k < kProgramCount; ++k) {
    const Case& c = cases[k % std::size(cases)];
    SCOPED_TRACE(static_cast<int>(c.state));
    EXPECT_EQ(rec.ProgramSlot[k], c.state);
    EXPECT_EQ(rec.ProgramName[k] == kEmptyName, !c.in_use);
    in_use += c.in_use;
  }
  // The parameter block, the current name and one name read per memory in use.
  EXPECT_EQ(f.Sent(CmdReadBlock), 3 + in_use);
}

// Exchange n fails: the read stops there (except after the parameter block), nothing is shown,
// and what was read before stays. No failed read counts as complete.
TEST(ReadUnitConfig, EachFailedStepEndsTheReadSilentlyAndKeepsWhatWasRead) {
  struct Case {
    int fail_at;
    int exchanges;  // exchanges made in all
    int advances;
    const char* version;
    bool params_read;
    bool name_read;
  };
  const Case cases[] = {
      {0, 9, kConfigReadSteps, "3.1.2", false, true},  // parameters lost, the rest read
      {1, 2, 1, "2.0.8", true, false},                 // no version: the read ends
      {2, 3, 2, "3.1.2", true, false},                 // system page
      {4, 5, 4, "3.1.2", true, true},                  // second program-state read
      {7, 8, 39, "3.1.2", true, true},                 // current name
      {8, 9, 40, "3.1.2", true, true},                 // link mask
  };
  for (const Case& c : cases) {
    LinkFixture f(SimBus::Usb());
    f.Found(0, 0);
    f.line.Sim().Unit(0)->Memory().Param(100) = 42;
    f.st.DeviceName[0] = "before";
    f.st.DeviceRecords[0].CurrentProgramName = "before";
    f.line.fail_at = c.fail_at;
    CountingProgress progress;
    EXPECT_FALSE(ReadUnitConfig(f.st, f.link, 0, progress)) << c.fail_at;
    EXPECT_EQ(f.line.exchanges, c.exchanges) << c.fail_at;
    EXPECT_EQ(progress.advances, c.advances) << c.fail_at;
    EXPECT_EQ(f.st.FirmwareVersion[0], c.version) << c.fail_at;
    EXPECT_EQ(f.st.DeviceImages[0][100] == 42, c.params_read) << c.fail_at;
    EXPECT_EQ(f.st.DeviceName[0] == kFreshUnitName, c.name_read) << c.fail_at;
    EXPECT_TRUE(f.hp.messages.Shown().empty());
    EXPECT_TRUE(f.st.DeviceTable[0].Online) << "nothing is reported before an edit window";
  }
}

TEST(ReadUnitNames, ReadsEveryFoundUnitInTwoHalvesAndShowsItsId) {
  LinkFixture f(SimBus::Rs485(std::vector<int>{3, 17}));
  f.Found(0, 3);
  f.Found(1, 17);
  SimUnit& u17 = *f.line.Sim().Unit(17);
  const std::string_view name = "  Front fill 17 ";
  std::copy(name.begin(), name.end(), u17.Memory().MutableBytes().begin());
  CountingProgress progress;
  ASSERT_TRUE(ReadUnitNames(f.st, f.link, progress));
  EXPECT_EQ(progress.labels,
            (std::vector<std::string>{"Reading device [ID:03], please wait.....",
                                      "Reading device [ID:17], please wait....."}));
  EXPECT_EQ(f.st.DeviceName[0], kFreshUnitName);
  EXPECT_EQ(f.st.DeviceName[1], name);
  EXPECT_FALSE(f.st.NeedsConnect[0]);
  EXPECT_FALSE(f.st.NeedsConnect[1]);
  ASSERT_EQ(f.line_sent().size(), 4u);
  EXPECT_EQ(f.line_sent()[3][2], 17);
  EXPECT_EQ(f.line_sent()[3][3], CmdReadMemory);
  EXPECT_EQ(f.line_sent()[3][5], 8);
}

// A unit that answers the search but not the name read is listed under the type name, and the
// units after it are still read; either half of the name failing counts.
TEST(ReadUnitNames, AFailedNameReadKeepsTheUnitAndTheRestOfTheBus) {
  for (const int fail_at : {2, 3}) {
    LinkFixture f(SimBus::Rs485(std::vector<int>{3, 17, 20}));
    f.st.DeviceTypeName = " VELMARK ";
    f.Found(0, 3);
    f.Found(1, 17);
    f.Found(2, 20);
    f.line.fail_at = fail_at;
    CountingProgress progress;
    EXPECT_FALSE(ReadUnitNames(f.st, f.link, progress));
    EXPECT_EQ(f.Sent(CmdReadMemory), 5 + (fail_at == 3)) << fail_at;
    EXPECT_EQ(f.st.DeviceName[1], " VELMARK ") << fail_at;
    EXPECT_TRUE(f.st.NameUnknown[1]);
    EXPECT_EQ(f.st.DeviceName[2], kFreshUnitName);
    EXPECT_FALSE(f.st.NameUnknown[0] || f.st.NameUnknown[2]);
    for (int u = 0; u < 3; ++u) EXPECT_FALSE(f.st.NeedsConnect[u]) << u;
  }
}

TEST(ReadUnitConfig, InDemoModeNothingIsSentOrChanged) {
  LinkFixture f(SimBus::Usb());
  f.Found(0, 0);
  f.st.DemoMode = true;
  CountingProgress progress;
  ReadUnitConfig(f.st, f.link, 0, progress);
  EXPECT_TRUE(f.line_sent().empty());
}

}  // namespace
}  // namespace velmark
