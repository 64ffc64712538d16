#pragma once
// The list of a unit's 32 program memories as the store and recall windows show it:
// "03: " + the memory's name, numbered from 1.

#include <string>

#include "model/settings.h"
#include "ui/controls.h"

namespace velmark {

// "NN: name" for memory k (0..31).
std::string ProgramEntryText(int k, const std::string& name);
// The name part of an entry: everything after its first four characters.
std::string EntryName(const std::string& entry);
// Clears the list and adds the 32 entries of the record.
void FillProgramList(ui::ListControl& list, const DeviceSettings& rec);
// True when memory k holds a program (state below 64) by the states read at connection.
bool ProgramInUse(const DeviceSettings& rec, int k);

}  // namespace velmark
