#pragma once
// The device list: one grid row per unit with its ID, name and on-line state. Double-clicking
// a row opens the unit's edit window, reading the unit first when needed and reconnecting it
// when it went off-line. Closing the list only minimises it (or restores it) unless the
// program itself closes it for a new connection.

#include "link/unit_reader.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

inline constexpr const char* kListHeaderText = "ID Device - Name - Status";
inline constexpr const char* kListToolTip = "Double Click to edit parameters";
inline constexpr const char* kSearchingDeviceText = "Please wait, searching device......";
inline constexpr const char* kLoadingControlsText = "Please wait, loading controls ......";
inline constexpr const char* kReconnectQuestion =
    "Do you want connect this device, are you sure ? ";
inline constexpr const char* kReconnectTitle = "Connect device";
inline constexpr const char* kDisconnectedText = "Device disconnected";
inline constexpr const char* kDisconnectedTitle = "Communication problem";
inline constexpr const char* kReadIncompleteText =
    "The device could not be read completely. Double-click it to connect again.";
inline constexpr const char* kAlreadyOpenText = "The window is already open";
inline constexpr const char* kAlreadyOpenTitle = "Edit window";
inline constexpr int kListTimerMs = 300;
inline constexpr int kRowPauseMs = 50;
inline constexpr int kListColumnWidth = 2985;
inline constexpr int kReadProgressMax = 50;

class FrmSearchNet : public ui::Window, private ReadProgress {
 public:
  explicit FrmSearchNet(Program& program);

  ui::Label LblHeader;     // "ID Device - Name - Status"
  ui::Grid MSFlexGrid1;    // one row per unit index
  ui::Label LblSearching;  // "Please wait, searching device......"
  ui::Label LblLoading;    // "Please wait, loading controls ......"
  ui::ProgressBar ProgressBar1;
  ui::Timer Timer1;

  // Opens unit `row` (a unit index) as a double click on its row does.
  void OpenUnit(int row);

 protected:
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;

 private:
  void Timer1_Timer();
  void MSFlexGrid1_DblClick();
  // Step 1 of opening: asks, reopens the port, tests and re-reads the unit. False: stop.
  bool Reconnect(int row);
  void OpenSteps(int row);
  // The full read; false when it did not complete and the unit waits for a reconnection.
  bool ReadWholeUnit(int row);
  // A unit that could not be read completely: told once, marked for a reconnection.
  void MarkIncomplete(int row);
  void Advance() override { ProgressBar1.Advance(); }

  Program& program_;
};

}  // namespace velmark
