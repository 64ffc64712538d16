// Storing a program from the store window: the frames, the record, the list and the name box.

#include "programs/program_list.h"
#include "programs/unit_programs.h"
#include "programs_fixture.h"

namespace velmark::testing {
namespace {

Frame F(std::initializer_list<int> cmd_and_data) {
  std::array<std::uint8_t, 9> b{};
  std::copy(cmd_and_data.begin(), cmd_and_data.end(), b.begin());
  return BuildFrame(0, b[0], FrameData{b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8]});
}

TEST_F(ProgramsTest, StoreAbcIntoMemoryThreeSendsNameNumberAndCommand) {
  store.Show();
  store.Combo1.UserSelect(2);
  store.Text1.UserReplace("ABC");
  hp.messages.Queue(ui::MsgAnswer::Yes);
  Click(store, kActionButton);
  const std::vector<Frame> expected = {
      F({0x18, 0x03, 0x40, 4, 0, 'A', 'B', 'C', ' '}),
      F({0x18, 0x03, 0x44, 4, 0, ' ', ' ', ' ', ' '}),
      F({0x18, 0x03, 0x48, 4, 0, ' ', ' ', ' ', ' '}),
      F({0x18, 0x03, 0x4C, 4, 0, ' ', ' ', ' ', ' '}),
      F({0x18, 0x03, 0x5F, 1, 0, 2, 0, 0, 0}),
      F({0x28, 2}),
  };
  EXPECT_EQ(Sent(), expected);
  EXPECT_EQ(st.DeviceRecords[0].ProgramName[2], "ABC             ");
  EXPECT_EQ(st.DeviceRecords[0].ProgramSlot[2], 2);
  EXPECT_EQ(st.DeviceImages[0][ProgramNumberAddr], 2);
  EXPECT_EQ(store.List1.List(2), "03: ABC             ");
  EXPECT_EQ(windows.Window(0).Caption(), "USB  VELMARK  - program loaded: ABC             ");
  EXPECT_FALSE(store.Loaded());
  EXPECT_EQ(EepromFile().substr(0, 10), "1,44,0,0,\r");
}

TEST_F(ProgramsTest, NamesAreCheckedBeforeAnythingIsSent) {
  struct Case {
    std::string typed;
    bool refused;
    std::string stored;
  };
  const Case cases[] = {
      {" ", true, ""},
      {"", true, ""},
      {"  ", false, "                "},
      {"0123456789ABCDEF", false, "0123456789ABCDEF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("name \"" + c.typed + "\"");
    port.calls.clear();
    store.Show();
    store.Text1.SetText(c.typed);
    hp.messages.Queue(c.refused ? ui::MsgAnswer::Ok : ui::MsgAnswer::Yes);
    Click(store, kActionButton);
    const ui::ShownMessage& m = hp.messages.Shown().back();
    if (c.refused) {
      EXPECT_EQ(m.text, "Please input the Name !");
      EXPECT_EQ(m.title, "Edit Names");
      EXPECT_TRUE(port.calls.empty());
      EXPECT_TRUE(store.Loaded());
      store.Unload();
    } else {
      EXPECT_EQ(m.text, "               Are you sure ? ");
      ASSERT_EQ(port.calls.size(), 6u);
      EXPECT_EQ(st.DeviceRecords[0].ProgramName[0], c.stored);
      EXPECT_EQ(std::string(port.calls[3].frame.begin() + 8, port.calls[3].frame.begin() + 12),
                c.stored.substr(12));
    }
  }
}

TEST_F(ProgramsTest, NameBoxRefusesCharactersOutsideTheSingleByteSet) {
  store.Show();
  hp.messages.Queue(ui::MsgAnswer::Ok);
  store.Text1.UserType("Ab\xC3\xA9");  // "Abé"
  EXPECT_EQ(store.Text1.Text(), "");
  hp.messages.Queue(ui::MsgAnswer::Ok);
  store.Text1.UserReplace("\xC3\xA9t\xC3\xA9");  // a pasted text starting with é
  EXPECT_EQ(store.Text1.Text(), "");
  ASSERT_EQ(hp.messages.Shown().size(), 2u);
  EXPECT_EQ(hp.messages.Shown()[0].text,
            "Please use the following symbols: 0 - 9£¬A - Z£¬a - z£¬< >£¬()£¬-_+=... ASCII Chars");
  EXPECT_EQ(hp.messages.Shown()[0].icon, ui::MsgIcon::Information);
}

TEST_F(ProgramsTest, DoubleClickCopiesTheNameAndChoosesTheMemory) {
  store.Show();
  EXPECT_EQ(store.Text1.Text(), "Live            ");
  store.List1.UserSelect(2);
  store.List1.UserDblClick();
  EXPECT_EQ(store.Text1.Text(), "Old             ");
  EXPECT_EQ(store.Combo1.ListIndex(), 2);
  EXPECT_EQ(store.List1.ToolTip(), "Double click to copy name");
}

TEST_F(ProgramsTest, StoreStopsAtTheFirstFailedWrite) {
  int n = 0;
  port.responder = [&n](Frame&) { return ++n == 3 ? SerialStatus::Timeout : SerialStatus::Ok; };
  hp.messages.Queue(ui::MsgAnswer::Ok);  // the communication problem
  ProgramProgress none;
  const StoreOutcome out = StoreProgram(st, link, 5, "Gig", none);
  EXPECT_TRUE(out.link_failed);
  EXPECT_EQ(port.calls.size(), 3u);  // the third name write failed: no number, no command
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Eeprom.txt"));
  EXPECT_TRUE(st.NeedsConnect[0]);
}

TEST_F(ProgramsTest, DemoStoreSendsNothingButUpdatesRecordImageAndDump) {
  st.DemoMode = true;
  st.DeviceImages[0][0] = 7;
  ProgramProgress none;
  const StoreOutcome out = StoreProgram(st, link, 31, "Demo", none);
  EXPECT_TRUE(out.Stored());
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(st.DeviceRecords[0].ProgramSlot[31], 31);
  EXPECT_EQ(std::string(st.DeviceImages[0].begin() + 768, st.DeviceImages[0].begin() + 784),
            "Demo            ");
  EXPECT_EQ(EepromFile().substr(0, 10), "7,44,0,0,\r");
}

}  // namespace
}  // namespace velmark::testing
