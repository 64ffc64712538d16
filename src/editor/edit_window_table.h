#pragma once
// Edit windows created on first use, at most one per unit: the window source of a Core that
// runs without the Program (benchmarks, tests). The Program keeps its own table, since it also
// wires each window to the windows above it.

#include <array>
#include <cstddef>
#include <memory>

#include "commands/core.h"
#include "editor/frm_kvr.h"

namespace velmark {

class EditWindowTable : public EditWindowSource {
 public:
  // Set before the first window is asked for.
  Core* core = nullptr;

  EditControls& EditControlsOf(int unit) override { return Window(unit); }
  FrmKVRxxxA& Window(int unit) {
    auto& slot = windows_.at(static_cast<std::size_t>(ProgramState::Checked(unit)));
    if (!slot) slot = std::make_unique<FrmKVRxxxA>(*core, unit);
    return *slot;
  }

 private:
  std::array<std::unique_ptr<FrmKVRxxxA>, kUnitCount> windows_{};
};

}  // namespace velmark
