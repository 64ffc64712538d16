// The unit search on the simulated line, the device list's row texts and the demo units.

#include "link/discovery.h"

#include <gtest/gtest.h>

#include "app/demo_units.h"
#include "link_fixture.h"
#include "model/defaults.h"

namespace velmark {
namespace {

using apptest::CountingProgress;
using apptest::LinkFixture;

TEST(SearchUnits, UsbFindsTheUnitWithId0) {
  LinkFixture f(SimBus::Usb());
  f.st.DemoMode = true;
  f.st.SendSuppressed = true;
  ResetDeviceTable(f.st);
  CountingProgress progress;
  ASSERT_TRUE(SearchUnits(f.st, f.link, f.hp.clock, progress));
  EXPECT_FALSE(f.st.DemoMode);
  EXPECT_FALSE(f.st.SendSuppressed);
  EXPECT_TRUE(f.st.LinkStarted);
  EXPECT_EQ(f.st.LastDeviceIndex, 0);
  EXPECT_EQ(f.st.DeviceTable[0].Id, 0);
  EXPECT_TRUE(f.st.DeviceTable[0].Online && f.st.DeviceTable[0].InUse);
  ASSERT_EQ(f.line_sent().size(), 1u);
  EXPECT_EQ(f.line_sent()[0], BuildFrame(0, CmdPing, {}));
  EXPECT_TRUE(progress.labels.empty());
}

TEST(SearchUnits, Rs485AsksEveryIdAndEntersTheUnitsInTheOrderTheyAnswered) {
  LinkFixture f(SimBus::Rs485(std::vector<int>{17, 3}));
  f.st.ConnectionType = kRs485;
  f.st.SeveralDevices = true;
  ResetDeviceTable(f.st);
  CountingProgress progress;
  ASSERT_TRUE(SearchUnits(f.st, f.link, f.hp.clock, progress));
  EXPECT_EQ(f.st.LastDeviceIndex, 1);
  EXPECT_EQ(f.st.DeviceTable[0].Id, 3);
  EXPECT_EQ(f.st.DeviceTable[1].Id, 17);
  EXPECT_FALSE(f.st.DeviceTable[2].InUse);
  EXPECT_EQ(f.line_sent().size(), 32u);
  ASSERT_EQ(progress.labels.size(), 32u);
  EXPECT_EQ(progress.labels[6], "Searching device [ID:07], please wait.....");
  EXPECT_EQ(f.hp.clock.NowMs(), 30 * kSearchPauseMs) << "a pause after each silent ID";
  EXPECT_EQ(DeviceRowText(f.st, 1, true), "ID:17 -  - On-line");
}

TEST(SearchUnits, Rs485WithOneDeviceAsksOnlyItsId) {
  LinkFixture f(SimBus::Rs485(std::vector<int>{3, 17}));
  f.st.ConnectionType = kRs485;
  f.st.SingleDeviceId = 17;
  ResetDeviceTable(f.st);
  CountingProgress progress;
  ASSERT_TRUE(SearchUnits(f.st, f.link, f.hp.clock, progress));
  EXPECT_EQ(f.st.LastDeviceIndex, 0);
  EXPECT_EQ(f.st.DeviceTable[0].Id, 17);
  EXPECT_EQ(f.line_sent().size(), 1u);
  f.st.SingleDeviceId = 5;
  ResetDeviceTable(f.st);
  EXPECT_FALSE(SearchUnits(f.st, f.link, f.hp.clock, progress));
  EXPECT_EQ(f.st.LastDeviceIndex, -1);
}

TEST(SearchUnits, APortThatDoesNotOpenFindsNothingAndSendsNothing) {
  LinkFixture f(SimBus::Usb());
  f.line.Sim().SetOpenFailure(SerialStatus::Permission);
  ResetDeviceTable(f.st);
  CountingProgress progress;
  EXPECT_FALSE(SearchUnits(f.st, f.link, f.hp.clock, progress));
  EXPECT_TRUE(f.line_sent().empty());
  EXPECT_EQ(f.st.LastDeviceIndex, -1);
}

TEST(ResetDeviceTable, EmptiesEveryEntry) {
  ProgramState st;
  st.DeviceTable[4] = DeviceEntry{true, true, 9, true};
  st.NeedsConnect[4] = false;
  st.ConfigRead[4] = true;
  st.LastDeviceIndex = 4;
  ResetDeviceTable(st);
  EXPECT_EQ(st.LastDeviceIndex, -1);
  EXPECT_EQ(st.DeviceTable[4].Id, kNoId);
  EXPECT_FALSE(st.DeviceTable[4].Online || st.DeviceTable[4].InUse || st.DeviceTable[4].WindowOpen);
  EXPECT_TRUE(st.NeedsConnect[4]);
  EXPECT_FALSE(st.ConfigRead[4]);
}

TEST(CreateDemoUnits, BuildsTheTableOfEachConnectionKind) {
  struct Case {
    int type;
    bool several;
    int last;
    int first_id;
    bool named;
  };
  for (const Case& c : {Case{kUsb, false, 0, 0, false}, Case{kUsb, true, 0, 0, false},
                        Case{kRs485, false, 0, 1, false}, Case{kRs485, true, 4, 1, true}}) {
    ProgramState st;
    st.ConnectionType = c.type;
    st.SeveralDevices = c.several;
    st.DeviceImages[0][MuteMaskAddr] = 0;
    CreateDemoUnits(st);
    EXPECT_EQ(st.LastDeviceIndex, c.last);
    for (int u = 0; u <= c.last; ++u) {
      const DeviceEntry& e = st.DeviceTable[u];
      EXPECT_TRUE(e.InUse);
      EXPECT_FALSE(e.Online || e.WindowOpen);
      EXPECT_EQ(e.Id, c.first_id + u);
      EXPECT_EQ(st.DeviceName[u], c.named ? " VELMARK " : "");
      EXPECT_EQ(st.DeviceImages[u][MuteMaskAddr], 0xF0) << "the factory preset";
      EXPECT_EQ(st.DeviceRecords[u].CurrentProgramName, "Factory Preset");
    }
    EXPECT_FALSE(st.DeviceTable[c.last + 1].InUse);
  }
}

TEST(DeviceRowText, ShowsTheIdWithTwoDigitsOnRs485Only) {
  ProgramState st;
  st.DeviceName[0] = "Main";
  st.DeviceTable[0].Id = 3;
  EXPECT_EQ(DeviceRowText(st, 0, true), "USB - Main - On-line");
  st.ConnectionType = kRs485;
  EXPECT_EQ(DeviceRowText(st, 0, false), "ID:03 - Main - Off-line");
}

}  // namespace
}  // namespace velmark
