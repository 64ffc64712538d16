#pragma once
// The store and recall windows over the edit-window fixture: unit 0 (USB) with the factory
// image, its edit window open, memories 1 and 3 in use, Eeprom.txt going to a scratch folder.

#include <fstream>
#include <sstream>

#include "editor/edit_window_fixture.h"
#include "link/temp_dir.h"
#include "programs/frm_read.h"
#include "programs/frm_store.h"
#include "programs/program_window_parts.h"

namespace velmark::testing {

class ProgramsTest : public EditWindowTest {
 protected:
  ProgramsTest()
      : store(core, [this](int u) { return &windows.Window(u); }),
        read(core, [this](int u) { return &windows.Window(u); }) {
    st.DataFolder = dir.path().string();
    st.DeviceTypeName = " VELMARK ";
    DeviceSettings& rec = st.DeviceRecords[0];
    rec.ProgramSlot.fill(255);
    rec.ProgramName.fill("Program Empty   ");
    rec.ProgramSlot[0] = 0;
    rec.ProgramName[0] = "Live            ";
    rec.ProgramSlot[2] = 2;
    rec.ProgramName[2] = "Old             ";
    Open(0);
    port.calls.clear();
  }

  std::vector<Frame> Sent() const {
    std::vector<Frame> out;
    for (const TransactCall& c : port.calls) out.push_back(c.frame);
    return out;
  }

  std::string EepromFile() const {
    std::ifstream in(dir.path() / "Eeprom.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  void Click(ui::Window& w, int button) {
    static_cast<ui::Label*>(w.Find("LblShowCursor", button))->UserClick();
  }

  TempDir dir;
  FrmStore store;
  FrmRead read;
};

}  // namespace velmark::testing
