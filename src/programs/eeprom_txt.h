#pragma once
// Eeprom.txt: the text dump of a unit's parameter image written after every program store.
// 200 lines, line n holding image bytes 4n .. 4n + 3 in decimal, each followed by a comma,
// every line ending in CR LF.

#include <filesystem>
#include <string>

#include "model/image.h"

namespace velmark {

inline constexpr const char* kEepromTxtName = "Eeprom.txt";

std::string EepromText(const ParamImage& img);
// Replaces folder/Eeprom.txt as a whole; the error text, empty on success.
std::string WriteEepromTxt(const std::filesystem::path& folder, const ParamImage& img);

}  // namespace velmark
