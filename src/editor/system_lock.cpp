#include "editor/system_lock.h"

#include <cmath>

#include "editor/lock_state.h"
#include "link/frames.h"
#include "model/defaults.h"
#include "model/image.h"

namespace velmark {
namespace {

constexpr std::uint8_t kBlank = ' ';
// Stands in for a character outside the single-byte set: no password allows it.
constexpr std::uint8_t kRefusedChar = '?';
constexpr int kLastCode = 36;      // "Z"; the unit counts "a".."z" on from 37
constexpr int kCaseDistance = 26;  // from a lower-case letter's code to the upper-case one's
constexpr std::uint8_t kPanelLockSelector = 3, kPasswordLockSelector = 4;
constexpr int kSysPasswordCode = kPasswordCodeAddr - kSystemAreaStart;

int StoredCode(double code) {
  const int s = static_cast<int>(std::lround(code));
  return s > kLastCode ? s - kCaseDistance : s;
}

bool MatchesCodes(const PasswordBytes& p, const std::array<int, kPasswordLength>& codes) {
  for (int i = 0; i < kPasswordLength; ++i) {
    if (CheckNum(p[i]) != codes[i]) return false;
  }
  return true;
}

bool SendSetting(Core& core, std::uint8_t selector, std::uint8_t value) {
  return core.Send(CmdSystemSetting, FrameData{selector, 0, 0, 0, 0, 0, 0, value});
}

}  // namespace

int CheckNum(std::uint8_t c) {
  const int code = PasswordCharIndex(static_cast<char>(c));
  if (code < 0) return 0;
  return code > kLastCode ? code - kCaseDistance : code;
}

PasswordBytes PasswordEntry(const std::string& text) {
  PasswordBytes p;
  p.fill(kBlank);
  std::string chars;
  for (unsigned char byte : text) {
    if (byte < 0x80) {
      chars.push_back(static_cast<char>(byte));
    } else if ((byte & 0xC0) != 0x80) {  // the lead byte of a longer character
      chars.push_back(static_cast<char>(kRefusedChar));
    }
  }
  if (chars.size() > p.size()) return p;
  for (std::size_t j = 0; j < chars.size(); ++j) p[j] = static_cast<std::uint8_t>(chars[j]);
  return p;
}

bool CheckCorrectPassword(const PasswordBytes& p) {
  for (std::uint8_t c : p) {
    if (PasswordCharIndex(static_cast<char>(c)) < 0) return false;
  }
  return true;
}

bool VerifyPassword(const PasswordBytes& p, const DeviceSettings& rec) {
  std::array<int, kPasswordLength> unit{}, master{};
  for (int i = 0; i < kPasswordLength; ++i) {
    unit[i] = StoredCode(rec.PasswordCode[i]);
    master[i] = CheckNum(static_cast<std::uint8_t>(MasterPassword[i]));
  }
  return !MatchesCodes(p, unit) && !MatchesCodes(p, master);
}

bool VerifyNewPassword(const PasswordBytes& a, const PasswordBytes& b) {
  for (int i = 0; i < kPasswordLength; ++i) {
    if (CheckNum(a[i]) != CheckNum(b[i])) return false;
  }
  return true;
}

void TogglePanelLock(Core& core) {
  DeviceSettings& rec = core.Rec();
  std::uint8_t& byte = core.Img()[kLockOnAddr];
  const double was = rec.LockOn;
  const std::uint8_t was_byte = byte;
  rec.LockOn = was == 1.0 ? 0.0 : 1.0;
  byte = rec.LockOn == 1.0 ? 1 : 0;
  ShowLockButton(core.Win(), rec);
  if (!SendSetting(core, kPanelLockSelector, byte)) {
    ApplyLockState(core);
    return;
  }
  rec.LockOn = was;
  byte = was_byte;
  ShowLockButton(core.Win(), rec);
}

bool TogglePasswordLock(Core& core) {
  DeviceSettings& rec = core.Rec();
  std::uint8_t& byte = core.Img()[kPasswordOnAddr];
  const double was = rec.PasswordOn;
  const std::uint8_t was_byte = byte;
  rec.PasswordOn = was == 0.0 ? 1.0 : 0.0;
  byte = rec.PasswordOn == 1.0 ? 1 : 0;
  if (!SendSetting(core, kPasswordLockSelector, byte)) {
    ApplyLockState(core);
    return false;
  }
  rec.PasswordOn = was;
  byte = was_byte;
  return true;
}

bool WriteNewPassword(Core& core, const PasswordBytes& p) {
  for (int i = 0; i < kPasswordLength; ++i) {
    const auto c = static_cast<std::uint8_t>(CheckNum(p[i]));
    const auto address = static_cast<std::uint8_t>(kSysPasswordCode + i);
    if (core.Send(CmdWriteMemory, FrameData{0, address, 1, 0, c, 0, 0, 0})) return true;
    core.Rec().PasswordCode[i] = c;
    core.Img()[kPasswordCodeAddr + i] = c;
  }
  return false;
}

}  // namespace velmark
