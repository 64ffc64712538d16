#pragma once
// Reading units: at connection time only the 16-character name of every found unit, and the
// first time a unit is opened its whole configuration (parameter memory, firmware version,
// system page, program states and names, current program name, link mask).
//
// Each read goes through the transaction engine, so the program's flags decide whether
// anything is sent. A failed step ends the read without a word; what was read stays.

#include <string>

#include "link/rx_tx.h"
#include "model/program_state.h"

namespace velmark {

// What a read shows while it runs: the connection window's label and the device list's
// progress bar.
class ReadProgress {
 public:
  virtual ~ReadProgress() = default;
  // Shows the text in the window's label and repaints it.
  virtual void ShowLabel(const std::string& /*text*/) {}
  // Adds 1 to the progress bar.
  virtual void Advance() {}
};

// Steps of a complete ReadUnitConfig, each one advance of the bar.
inline constexpr int kConfigReadSteps = 41;

// Unit memory addresses the full read takes its blocks from.
inline constexpr int kNameBlockAddr = 0;  // name 0..15, system page 16..35, 12 more
inline constexpr int kNameBlockCount = 48;
inline constexpr int kParamBlockAddr = 64;     // parameters, image 0..799
inline constexpr int kCurrentNameAddr = 832;   // name of the current configuration
inline constexpr int kProgramNameBase = 1792;  // name of program memory k at + 800 k
inline constexpr int kProgramNameStride = 800;
inline constexpr int kProgramInUseBelow = 64;  // a state byte below 64: the memory is in use

// "Reading device [ID:07], please wait....."
std::string ReadingLabel(int id);

// Reads the name of unit `unit` with two 8-byte memory reads at 0 and 8. DeviceName is
// emptied first; false as soon as a read fails (the name then holds what was read).
bool ReadUnitName(ProgramState& st, RxTx& link, int unit);

// Reads the names of units 0..LastDeviceIndex, showing the label before each and clearing the
// unit's NeedsConnect after it. A unit that answered the search but not its name read stays
// listed, named with the device type name and marked NameUnknown; the other units are still
// read. True when every name was read.
bool ReadUnitNames(ProgramState& st, RxTx& link, ReadProgress& progress);

// The full read of unit `unit` into its image and record, advancing the bar after each step.
// True when every step succeeded: only then does the image hold the unit's own parameters and
// link mask. A failed parameter block lets the rest of the read go on, but the read is
// incomplete all the same. ConfigRead is not set here: the edit window sets it.
bool ReadUnitConfig(ProgramState& st, RxTx& link, int unit, ReadProgress& progress);

// "a.b.c" from reply bytes 4..6, each in decimal without leading zeros.
std::string VersionText(int a, int b, int c);

}  // namespace velmark
