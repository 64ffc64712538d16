#pragma once
// What every builder, the decoder and the window logic work with: the program state, the
// transaction engine, the platform services and the edit windows' controls.

#include "editor/edit_controls.h"
#include "link/rx_tx.h"
#include "model/program_state.h"
#include "ui/services.h"

namespace velmark {

// Hands out the controls of a unit's edit window, creating the window on first use.
class EditWindowSource {
 public:
  virtual ~EditWindowSource() = default;
  virtual EditControls& EditControlsOf(int unit) = 0;
};

struct Core {
  ProgramState& st;
  RxTx& link;
  ui::Platform& ui;
  EditWindowSource& windows;

  // The edit window of the current unit.
  EditControls& Win() { return windows.EditControlsOf(st.CurUnit); }
  DeviceSettings& Rec() { return st.Rec(); }
  ParamImage& Img() { return st.Img(); }
  int Channel() const { return st.Channel(); }
  // Sends one packet for the current unit; returns Failed.
  bool Send(std::uint8_t command, const FrameData& data) {
    return link.TransmitPacket(st.CurUnit, command, data);
  }
};

// Holds a program flag for the length of a scope (UpdatingControls, SendSuppressed, …).
class FlagGuard {
 public:
  FlagGuard(bool& flag, bool value = true) : flag_(flag), old_(flag) { flag_ = value; }
  ~FlagGuard() { flag_ = old_; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace velmark
