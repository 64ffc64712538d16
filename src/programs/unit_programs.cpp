#include "programs/unit_programs.h"

#include <algorithm>

#include "link/frames.h"
#include "link/unit_reader.h"
#include "programs/eeprom_txt.h"

namespace velmark {
namespace {

constexpr int kNameWriteBytes = 4;

bool ValidMemory(int k) {
  return k >= 0 && k < kProgramCount;
}

// Whether the engine will put anything on the line for this unit. When it will not, it reports
// success without touching RxBuffer, so nothing may be taken from the buffer.
bool LinkWillSend(const ProgramState& st, int unit) {
  return !st.DemoMode && st.LinkStarted && !st.SendSuppressed &&
         st.DeviceTable[ProgramState::Checked(unit)].Online;
}

bool WriteMemory(RxTx& link, int unit, int addr, std::uint8_t count, const std::uint8_t* bytes) {
  FrameData d{static_cast<std::uint8_t>(addr / 256), static_cast<std::uint8_t>(addr % 256), count};
  std::copy(bytes, bytes + count, d.begin() + 4);
  return link.TransmitPacket(unit, CmdWriteMemory, d);
}

// Steps 5 to 7 of a store: the name in four writes, the program number, the store command.
bool SendStore(ProgramState& st, RxTx& link, int k, ProgramProgress& progress) {
  const int u = st.CurUnit;
  const ParamImage& img = st.Img();
  for (int f = 0; f < kProgramNameLength; f += kNameWriteBytes) {
    if (WriteMemory(link, u, kNameFieldAddr + f, kNameWriteBytes, &img[kProgramNameAddr + f])) {
      return false;
    }
    progress.Advance();
  }
  if (WriteMemory(link, u, kProgramNumberUnitAddr, 1, &img[ProgramNumberAddr])) return false;
  progress.Advance();
  if (link.TransmitPacket(u, CmdStoreProgram, static_cast<std::uint8_t>(k))) return false;
  progress.Advance();
  return true;
}

}  // namespace

std::string PaddedProgramName(const std::string& name) {
  std::string padded = name.substr(0, kProgramNameLength);
  padded.resize(kProgramNameLength, ' ');
  return padded;
}

StoreOutcome StoreProgram(ProgramState& st, RxTx& link, int k, const std::string& name,
                          ProgramProgress& progress) {
  StoreOutcome out;
  if (!ValidMemory(k)) {
    out.link_failed = true;
    return out;
  }
  DeviceSettings& rec = st.Rec();
  ParamImage& img = st.Img();
  rec.ProgramName[k] = PaddedProgramName(name);
  std::copy(rec.ProgramName[k].begin(), rec.ProgramName[k].end(), img.begin() + kProgramNameAddr);
  progress.Start(kStoreSteps);
  img[ProgramNumberAddr] = static_cast<std::uint8_t>(k);
  rec.ProgramSlot[k] = k;
  if (!SendStore(st, link, k, progress)) {
    out.link_failed = true;
    return out;
  }
  rec.CurrentProgramName = rec.ProgramName[k];
  out.dump_error = WriteEepromTxt(st.DataFolder, img);
  return out;
}

RecallOutcome RecallProgram(ProgramState& st, RxTx& link, int k, ProgramProgress& progress) {
  if (!ValidMemory(k)) return RecallOutcome::LinkFailed;
  const int u = st.CurUnit;
  progress.Start(kRecallSteps);
  progress.Advance();
  const bool sends = LinkWillSend(st, u);
  if (link.TransmitPacket(u, CmdRecallProgram, static_cast<std::uint8_t>(k))) {
    return RecallOutcome::LinkFailed;
  }
  if (sends && link.Reply(4) == kEmptyProgramAnswer) return RecallOutcome::Empty;
  progress.Advance();
  if (sends) {
    if (link.ReadBlock(u, CmdReadBlock, 0, kParamBlockAddr, kParamBytes)) {
      // The unit runs the recalled program already; the image still holds the old one, and
      // every later edit would be built on it. Only a complete read makes them agree again.
      link.ReportFailedRead(u);
      return RecallOutcome::LinkFailed;
    }
    std::copy_n(link.RxBuffer.begin(), kParamBytes, st.Img().begin());
  }
  st.LinkMask[ProgramState::Checked(u)] = 0;
  st.Rec().CurrentProgramName = st.Rec().ProgramName[k];
  return RecallOutcome::Recalled;
}

std::string ProgramLoadedCaption(const ProgramState& st, int unit, const std::string& name) {
  const int u = ProgramState::Checked(unit);
  const std::string tail = st.DeviceTypeName + " - program loaded: " + name;
  if (st.ConnectionType == kRs485) return "ID:" + TwoDigitText(st.DeviceTable[u].Id) + " " + tail;
  return "USB " + tail;
}

}  // namespace velmark
