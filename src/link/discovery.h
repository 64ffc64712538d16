#pragma once
// The unit search: opens the port and asks which units answer, filling the device table with
// the units found in the order they answered.

#include <string>

#include "link/rx_tx.h"
#include "link/unit_reader.h"
#include "model/program_state.h"
#include "ui/services.h"

namespace velmark {

// Pause after an RS-485 ID that did not answer.
inline constexpr int kSearchPauseMs = 150;
inline constexpr int kMaxSearchId = 32;

// "Searching device [ID:07], please wait....."
std::string SearchingLabel(int id);

// Every table entry empty (not in use, off-line, no window, Id 255), LastDeviceIndex -1, every
// unit to be connected and read again.
void ResetDeviceTable(ProgramState& st);

// Sets up the link for a search (SendSuppressed off, LinkStarted on, DemoMode off), reopens
// "COM<ComPort>" and searches: on USB the unit with ID 0; on RS-485 with several devices IDs
// 1..32 in order, showing the label before each and pausing after each silent one; on RS-485
// with one device SingleDeviceId. True when at least one unit answered.
bool SearchUnits(ProgramState& st, RxTx& link, ui::Clock& clock, ReadProgress& progress);

// Row text of a unit in the device list: "USB - name - On-line", "ID:03 - name - Off-line".
std::string DeviceRowText(const ProgramState& st, int unit, bool online);
// The same with another name in it.
std::string DeviceRowText(const ProgramState& st, int unit, bool online, const std::string& name);

}  // namespace velmark
