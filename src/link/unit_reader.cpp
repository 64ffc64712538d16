#include "link/unit_reader.h"

#include <algorithm>

#include "model/image.h"

namespace velmark {
namespace {

// The 16 characters of a name block as they are: blanks and all.
std::string NameFromBuffer(const RxTx& link) {
  return std::string(link.RxBuffer.begin(), link.RxBuffer.begin() + kProgramNameLength);
}

std::string EmptyProgramNameText() {
  std::string name;
  for (auto c : EmptyProgramName) name += c;
  return name;
}

// Step 3: the system page, unit addresses 16..35, goes to image 817..836 and into the record.
void TakeSystemPage(ProgramState& st, const RxTx& link, int unit) {
  ParamImage& img = st.DeviceImages[unit];
  std::copy(link.RxBuffer.begin() + 16, link.RxBuffer.begin() + 36, img.begin() + kInputSourceAddr);
  DeviceSettings& rec = st.DeviceRecords[unit];
  rec.InputSourceAB = img[InputSourceAddr(0)];
  rec.InputSourceCD = img[InputSourceAddr(1)];
  rec.DelayUnit = img[kDelayUnitAddr];
  rec.PasswordOn = img[kPasswordOnAddr];
  rec.LockOn = img[kLockOnAddr];
  for (int j = 0; j < kPasswordLength; ++j) rec.PasswordCode[j] = img[kPasswordCodeAddr + j];
  for (int pair = 0; pair < 2; ++pair) {
    rec.NoiseType[pair] = img[NoiseTypeAddr(pair)];
    rec.NoiseLevel[pair] = img[NoiseLevelAddr(pair)];
  }
}

}  // namespace

std::string ReadingLabel(int id) {
  return "Reading device [ID:" + TwoDigitText(id) + "], please wait.....";
}

std::string VersionText(int a, int b, int c) {
  return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c);
}

bool ReadUnitName(ProgramState& st, RxTx& link, int unit) {
  std::string& name = st.DeviceName[unit];
  name.clear();
  for (int a : {0, 8}) {
    if (link.TransmitPacket(unit, CmdReadMemory, static_cast<std::uint8_t>(a / 256),
                            static_cast<std::uint8_t>(a % 256), 8)) {
      return false;
    }
    for (int i = 4; i <= 11; ++i) name += static_cast<char>(link.Reply(i));
  }
  return true;
}

bool ReadUnitNames(ProgramState& st, RxTx& link, ReadProgress& progress) {
  bool all = true;
  for (int c = 0; c <= st.LastDeviceIndex && c < kUnitCount; ++c) {
    progress.ShowLabel(ReadingLabel(st.DeviceTable[c].Id));
    const bool named = ReadUnitName(st, link, c);
    st.NameUnknown[c] = !named;
    // Half a name would be the first eight characters and nothing after them.
    if (!named) st.DeviceName[c] = st.DeviceTypeName;
    st.NeedsConnect[c] = false;
    all = all && named;
  }
  return all;
}

bool ReadUnitConfig(ProgramState& st, RxTx& link, int unit, ReadProgress& progress) {
  ParamImage& img = st.DeviceImages[ProgramState::Checked(unit)];
  DeviceSettings& rec = st.DeviceRecords[unit];

  // 1. Parameters. A failure here only loses them; the read goes on, but is not complete.
  const bool params_read = !link.ReadBlock(unit, CmdReadBlock, 0, kParamBlockAddr, kParamBytes);
  if (params_read) std::copy_n(link.RxBuffer.begin(), kParamBytes, img.begin());
  progress.Advance();

  // 2. Firmware version; from here on each failure ends the read.
  st.FirmwareVersion[unit] = st.DefaultVersion;
  if (link.TransmitPacket(unit, CmdReadVersion)) return false;
  st.FirmwareVersion[unit] = VersionText(link.Reply(4), link.Reply(5), link.Reply(6));
  progress.Advance();

  // 3. Name and system page.
  if (link.ReadBlock(unit, CmdReadBlock, 0, kNameBlockAddr, kNameBlockCount)) return false;
  progress.Advance();
  st.DeviceName[unit] = NameFromBuffer(link);
  TakeSystemPage(st, link, unit);

  // 4. States of the 32 program memories, eight per request.
  for (int f = 0; f < kProgramCount; f += 8) {
    if (link.TransmitPacket(unit, CmdReadProgramStates, static_cast<std::uint8_t>(f))) {
      return false;
    }
    for (int k = 0; k < 8; ++k) rec.ProgramSlot[f + k] = link.Reply(4 + k);
    progress.Advance();
  }

  // 5. Names of the memories in use.
  for (int k = 0; k < kProgramCount; ++k) {
    if (rec.ProgramSlot[k] >= kProgramInUseBelow) {
      rec.ProgramName[k] = EmptyProgramNameText();
    } else {
      if (link.ReadBlock(unit, CmdReadBlock, 0, kProgramNameBase + kProgramNameStride * k,
                         kProgramNameLength)) {
        return false;
      }
      rec.ProgramName[k] = NameFromBuffer(link);
    }
    progress.Advance();
  }

  // 6. Name of the current configuration.
  if (link.ReadBlock(unit, CmdReadBlock, 0, kCurrentNameAddr, kProgramNameLength)) return false;
  rec.CurrentProgramName = NameFromBuffer(link);
  progress.Advance();

  // 7. Link mask.
  if (link.TransmitPacket(unit, CmdLinkMask, 0)) return false;
  st.LinkMask[unit] = link.Reply(11);
  progress.Advance();
  return params_read;
}

}  // namespace velmark
