#pragma once
// The two locks of a unit and its password: the panel lock toggled by the "Lock" tool button,
// the password lock toggled through the password window, and the checks and memory writes
// behind that window. Both locks live in the unit's system page (image 824 and 823) and in its
// record (LockOn, PasswordOn); the password is six character codes (image 825..830,
// PasswordCode).

#include <array>
#include <cstdint>
#include <string>

#include "commands/core.h"
#include "model/settings.h"
#include "model/tables.h"

namespace velmark {

// Six single-byte characters made from a typed password.
using PasswordBytes = std::array<std::uint8_t, kPasswordLength>;

// Blank 0, "0".."9" 1..10, "A".."Z" and "a".."z" alike 11..36; any other character 0.
int CheckNum(std::uint8_t c);

// Six blanks, then the characters of `text` (UTF-8) when it has at most six; a longer text
// stays six blanks. A character outside the single-byte set becomes one that no password
// allows, so that it is refused rather than cut into bytes.
PasswordBytes PasswordEntry(const std::string& text);

// True when all six bytes are characters a password may hold.
bool CheckCorrectPassword(const PasswordBytes& p);

// True when the entry is wrong: it matches neither the unit's password nor the master
// password, letter case aside. Stored codes above 36 (lower-case letters as the unit counts
// them) are taken minus 26.
bool VerifyPassword(const PasswordBytes& p, const DeviceSettings& rec);

// True when the new password and its confirmation give the same six codes.
bool VerifyNewPassword(const PasswordBytes& a, const PasswordBytes& b);

// "Lock": toggles CurUnit's panel lock, recaptions the button and sends the new state; on
// success the window's controls follow it. A failed packet puts the flag, its image byte and
// the caption back, so that the window never shows a lock the unit did not take.
void TogglePanelLock(Core& core);

// Toggles CurUnit's password lock and sends it; on success the window's controls follow it.
// Returns Failed; a failure puts the flag and its image byte back.
bool TogglePasswordLock(Core& core);

// Writes the six codes of a new password into CurUnit's memory, one byte per packet. Each code
// is taken into the record and the image once the unit has acknowledged it, so that a failure
// part-way never leaves a password here the unit does not hold. Returns Failed.
bool WriteNewPassword(Core& core, const PasswordBytes& p);

}  // namespace velmark
