#include "programs/program_list.h"

#include "link/rx_tx.h"
#include "link/unit_reader.h"

namespace velmark {

namespace {
constexpr std::size_t kEntryPrefix = 4;  // "NN: "
}  // namespace

std::string ProgramEntryText(int k, const std::string& name) {
  return TwoDigitText(k + 1) + ": " + name;
}

std::string EntryName(const std::string& entry) {
  return entry.size() > kEntryPrefix ? entry.substr(kEntryPrefix) : std::string();
}

void FillProgramList(ui::ListControl& list, const DeviceSettings& rec) {
  list.Clear();
  for (int k = 0; k < kProgramCount; ++k) list.AddItem(ProgramEntryText(k, rec.ProgramName[k]));
}

bool ProgramInUse(const DeviceSettings& rec, int k) {
  return k >= 0 && k < kProgramCount && rec.ProgramSlot[k] < kProgramInUseBelow;
}

}  // namespace velmark
