// A recall whose read-back of the 800 parameter bytes fails: the unit has taken the memory, the
// image has not, so the failure must be told and the unit marked for a reconnection — never a
// silent stop that leaves the window editing parameters the unit no longer holds.

#include "link/rx_tx.h"
#include "programs/unit_programs.h"
#include "programs_fixture.h"

namespace velmark::testing {
namespace {

TEST_F(ProgramsTest, AFailedReadBackAfterTheRecallIsToldAndMarksTheUnit) {
  st.ReportLinkErrors = true;
  port.responder = ScriptedPort::Answer({2});  // the recall acknowledged; no block follows
  hp.messages.Queue(ui::MsgAnswer::Ok);
  const ParamImage before = st.DeviceImages[0];
  ProgramProgress none;
  EXPECT_EQ(RecallProgram(st, link, 2, none), RecallOutcome::LinkFailed);
  ASSERT_EQ(port.calls.size(), 2u);
  EXPECT_EQ(port.calls[1].frame[3], CmdReadBlock);
  ASSERT_EQ(hp.messages.Shown().size(), 1u);
  EXPECT_EQ(hp.messages.Shown()[0].text, kLinkFailureText);
  EXPECT_TRUE(st.NeedsConnect[0]);
  EXPECT_FALSE(st.ConfigRead[0]);
  EXPECT_EQ(st.DeviceImages[0], before);
}

}  // namespace
}  // namespace velmark::testing
