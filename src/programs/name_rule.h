#pragma once
// The character rule of the name boxes (program names, channel names): only characters of the
// single-byte set. Key codes outside it arrive negative (ui::TextBox), and a text whose first
// byte is not plain ASCII starts with such a character.

#include <string>

namespace velmark {

inline constexpr const char* kNameSymbolsText =
    "Please use the following symbols: 0 - 9£¬A - Z£¬a - z£¬< >£¬()£¬-_+=... ASCII Chars";
inline constexpr const char* kNameSymbolsTitle = "VELMARK";  // the program's title

// False for a typed key the box must discard.
bool NameKeyAllowed(int key);
// False for a text the box must clear: not empty and its first character outside the set.
bool NameTextAllowed(const std::string& text);

}  // namespace velmark
