#pragma once
// Resetting a unit to its factory configuration ("Set Default") and filling a demo unit with it.

#include "commands/core.h"

namespace velmark {

inline constexpr const char* kSetDefaultTitle = "Set Default";
inline constexpr const char* kSetDefaultQuestion =
    "Overwrite the current configuration with the Default configuration, do you want to "
    "continue?";
inline constexpr const char* kFactoryPresetName = "Factory Preset";

// For CurUnit: asks first; on Yes sends CmdSetDefault and, when the unit took it, puts the
// default parameters into image addresses 0..799 (system and host areas untouched) and decodes
// the image with sends suppressed. True when the defaults were applied; false when the user
// said No or the packet failed (nothing local changed then). The window rebuilds its pages
// afterwards.
bool SetDefault(Core& core);

// The factory state of demo unit `unit`: default parameters, both input pairs on "Analog
// Input", delays in metres, no lock or password, the factory password, every program memory
// empty. Nothing is decoded or sent.
void LoadFactoryPreset(ProgramState& st, int unit);

}  // namespace velmark
