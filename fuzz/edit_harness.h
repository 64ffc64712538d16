#pragma once
// A headless program with one USB unit on-line and its edit window, built as the editor tests
// build it: the transaction engine over any serial port, scripted platform services that answer
// every message box like a cautious user, and the window created and shown as the device list
// opens it.

#include <algorithm>
#include <string>

#include "commands/core.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "link/rx_tx.h"
#include "model/defaults.h"
#include "model/program_state.h"
#include "ui/headless.h"

namespace velmark::fuzz {

class EditHarness {
 public:
  explicit EditHarness(SerialPort& port)
      : link(st, port, hp.messages), core{st, link, hp.platform, windows} {
    windows.core = &core;
    st.LinkStarted = true;
    st.ComPort = 1;
    st.DeviceTable[0] = {true, false, 0, true};
    st.NeedsConnect[0] = false;
    st.DeviceName[0] = " VELMARK ";
    st.DeviceTypeName = " VELMARK ";
    std::copy(DefaultImage.begin(), DefaultImage.end(), st.DeviceImages[0].begin());
    st.DeviceRecords[0].CurrentProgramName = "Program Empty   ";
  }

  // What the device list does to open unit 0: show its window, then count it as open.
  FrmKVRxxxA& Open() {
    FrmKVRxxxA& w = windows.Window(0);
    w.Show();
    st.OpenWindowCount += 1;
    st.DeviceTable[0].WindowOpen = true;
    return w;
  }

  ui::HeadlessPlatform hp;
  ProgramState st;
  RxTx link;
  EditWindowTable windows;
  Core core;
};

// A harness whose edit window stays open from one input to the next, as a user keeps a window
// open while loading one configuration after another: building the program and its window
// costs far more than most inputs' own work. Reset() puts back what every input starts from:
// unit 0 current and no channel linked. The window shows the configuration the last input left
// (the one it was opened on, for the first input); Opened() is that first image.
class OpenedWindow {
 public:
  // `port` must answer as it will for the inputs before this is built: the window loads on it.
  OpenedWindow(SerialPort& port, bool demo, const std::string& data_folder)
      : h(port), w(OpenOn(h, demo, data_folder)), opened_(h.st.DeviceImages[0]) {}

  void Reset() {
    h.hp.messages.ClearShown();  // what the platform noted of earlier inputs
    h.hp.files.ClearRequests();
    h.st.CurUnit = 0;
    h.st.LinkMask[0] = 0;
    h.st.LinkFlag[0].fill(0);
  }
  const ParamImage& Opened() const { return opened_; }

  EditHarness h;
  FrmKVRxxxA& w;

 private:
  // Demo mode and the data folder are set before the window loads, as the program sets them.
  static FrmKVRxxxA& OpenOn(EditHarness& h, bool demo, const std::string& data_folder) {
    h.st.DemoMode = demo;
    h.st.DataFolder = data_folder;
    return h.Open();
  }

  const ParamImage opened_;
};

// What must hold in an edit window and its unit's record after any input: every range control
// within its range, every list index naming an entry, no text showing a number that is not one,
// every record value finite and every type index inside its name table.
void CheckEditWindow(const ui::Window& window, const ProgramState& st, int unit);

}  // namespace velmark::fuzz
