#include "model/program_state.h"

#include <stdexcept>

namespace velmark {

ProgramState::ProgramState()
    : DeviceTypeName(kDefaultUnitName),
      DefaultUnitName(kDefaultUnitName),
      DefaultVersion(kDefaultVersion),
      ProgramVersion(kProgramVersion) {
  CurPage.fill(kNoPage);
  WindowHandle.fill(kNoWindow);
  NeedsConnect.fill(true);
  FirmwareVersion.fill(std::string(kDefaultVersion));
}

int ProgramState::Checked(int unit) {
  if (unit < 0 || unit >= kUnitCount) throw std::out_of_range("unit index " + std::to_string(unit));
  return unit;
}

UnitResponses& ProgramState::Responses(int unit) {
  auto& slot = responses_[Checked(unit)];
  if (!slot) slot = std::make_unique<UnitResponses>();
  return *slot;
}

}  // namespace velmark
