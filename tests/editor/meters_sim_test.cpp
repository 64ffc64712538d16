// The level meters against the in-process simulated unit: what its signal model reports is
// what the ladders show.

#include <gtest/gtest.h>

#include "edit_window_fixture.h"
#include "sim/sim_line.h"

namespace velmark::testing {
namespace {

constexpr ui::Colour G = kLampGreen, S = kLampOff;
using Ladder = std::array<ui::Colour, 7>;

TEST(MetersOnSimulatedUnit, LaddersFollowTheUnitsInputLevels) {
  ui::HeadlessPlatform hp;
  hp.messages.OnUnexpected = [](const ui::ShownMessage& m) { ADD_FAILURE() << m.text; };
  ProgramState st;
  SimLine line(SimBus::Usb());
  line.Unit(0)->Meters().SetMovement(false);  // +4, -2, -10, -20 dBu on A..D
  RxTx link(st, line, hp.messages);
  EditWindows windows;
  Core core{st, link, hp.platform, windows};
  windows.core = &core;
  st.LinkStarted = true;
  st.ComPort = 1;
  st.DeviceTable[0] = {true, false, 0, true};
  st.NeedsConnect[0] = false;
  std::copy(DefaultImage.begin(), DefaultImage.end(), st.DeviceImages[0].begin());

  FrmKVRxxxA& w = windows.Window(0);
  w.Show();
  st.OpenWindowCount += 1;
  st.DeviceTable[0].WindowOpen = true;
  hp.clock.Advance(2000 + 80);

  auto ladder = [&](int c) {
    Ladder out{};
    for (int k = 0; k < 7; ++k) out[k] = w.Shape1(7 * c + k).FillColor();
    return out;
  };
  EXPECT_EQ(ladder(0), (Ladder{G, G, G, S, S, S, S}));  // +4 dBu: above +3
  EXPECT_EQ(ladder(1), (Ladder{G, S, S, S, S, S, S}));  // -2 dBu: above -15
  EXPECT_EQ(ladder(3), (Ladder{S, S, S, S, S, S, S}));  // -20 dBu: below the scale
  long polls = 0;
  for (const Frame& f : line.Sent()) polls += f[3] == CmdStatusPoll;
  EXPECT_EQ(polls, 2);
}

}  // namespace
}  // namespace velmark::testing
