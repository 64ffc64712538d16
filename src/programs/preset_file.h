#pragma once
// The "Load" and "Save" tool buttons of the edit window: the unit's image to a preset file and
// back through the platform's file dialog. A load writes the file's parameter area into the
// unit, makes it apply them, decodes the image into the window and sends the two system
// settings the memory writes leave out; in demo mode it only decodes.

#include "editor/frm_kvr.h"

namespace velmark {

inline constexpr const char* kPresetFilter = "file preset (*.C44)|*.C44";
inline constexpr const char* kPresetFolderName = "preset";
inline constexpr const char* kPresetErrorTitle = " Error";
inline constexpr const char* kPresetNotFoundText = " File not found. Try again.";
inline constexpr int kPresetProgressMax = 204;

// " The file is not a preset: 1234 bytes instead of 1651."
std::string PresetSizeText(std::size_t size);
// " The preset could not be saved: " + why.
std::string PresetSaveFailedText(const std::string& why);

// Writes CurUnit's image to the file chosen in the save dialog; the dialog starts in the data
// folder's preset folder, which is created when missing.
void SavePreset(FrmKVRxxxA& w);
// Loads the file chosen in the open dialog into CurUnit and its edit window.
void LoadPreset(FrmKVRxxxA& w);

}  // namespace velmark
