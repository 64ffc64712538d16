#pragma once
// Edit windows over a headless platform: a program state with units on-line, the transaction
// engine over a scripted port that answers every request (status polls with the bytes the test
// sets), and one FrmKVRxxxA per unit, created on first use as the main window does.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commands/core.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "link/frames.h"
#include "model/defaults.h"
#include "support/scripted_port.h"
#include "ui/headless.h"

namespace velmark::testing {

using EditWindows = EditWindowTable;

class EditWindowTest : public ::testing::Test {
 protected:
  EditWindowTest() : link(st, port, hp.messages), core{st, link, hp.platform, windows} {
    windows.core = &core;
    st.LinkStarted = true;
    st.ComPort = 1;
    port.responder = [this](Frame& f) {
      if (f[3] == CmdStatusPoll) std::copy(status.begin(), status.end(), f.begin() + 4);
      return fail_polls && (f[3] == CmdStatusPoll) ? SerialStatus::Timeout : SerialStatus::Ok;
    };
    hp.messages.OnUnexpected = [](const ui::ShownMessage& m) {
      ADD_FAILURE() << "unexpected message box: \"" << m.text << "\" (" << m.title << ")";
    };
    for (int u = 0; u < 3; ++u) AddUnit(u, u == 0 ? 0 : u);
  }

  // A found unit with the factory configuration, read and on-line.
  void AddUnit(int unit, int id) {
    st.DeviceTable[unit] = {true, false, id, true};
    st.NeedsConnect[unit] = false;
    st.DeviceName[unit] = " VELMARK ";
    std::copy(DefaultImage.begin(), DefaultImage.end(), st.DeviceImages[unit].begin());
    st.DeviceRecords[unit].CurrentProgramName = "Program Empty   ";
  }

  // What the device list does to open a unit: show its window, then count it as open.
  FrmKVRxxxA& Open(int unit) {
    FrmKVRxxxA& w = windows.Window(unit);
    w.Show();
    st.OpenWindowCount += 1;
    st.DeviceTable[unit].WindowOpen = true;
    return w;
  }

  int CountSent(std::uint8_t command) const {
    return static_cast<int>(
        std::count_if(port.calls.begin(), port.calls.end(),
                      [&](const TransactCall& c) { return c.frame[3] == command; }));
  }

  ui::HeadlessPlatform hp;
  ProgramState st;
  ScriptedPort port;
  RxTx link;
  EditWindows windows;
  Core core;
  std::array<std::uint8_t, 8> status{};  // the unit's status bytes, one per channel
  bool fail_polls = false;
};

// Counts the repaints a control asks for.
class CountingView : public ui::ControlView {
 public:
  void Refresh(ui::Control&) override { ++refreshes; }
  int refreshes = 0;
};

}  // namespace velmark::testing
