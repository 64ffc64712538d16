#include "cli_programs.h"

#include <charconv>
#include <iostream>
#include <optional>

#include "cli_verbs.h"
#include "link/unit_reader.h"
#include "programs/name_rule.h"
#include "programs/program_list.h"
#include "programs/unit_programs.h"

namespace velmark::cli {
namespace {

int Fail(int status, const std::string& line) {
  std::cerr << "velmark-cli: " << line << "\n";
  return status;
}

// Memory 1..32 as typed, as the index 0..31.
std::optional<int> MemoryIndex(const std::string& text) {
  int n = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end || n < 1 || n > kProgramCount) {
    return std::nullopt;
  }
  return n - 1;
}

// The name box's rules: not empty, not a single blank, at most 16 plain ASCII characters.
std::string NameError(const std::string& name) {
  if (name.empty() || name == " ") return "the name is empty";
  if (name.size() > static_cast<std::size_t>(kProgramNameLength))
    return "the name is over 16 characters";
  for (char c : name) {
    if (!NameTextAllowed(std::string(1, c)) || static_cast<unsigned char>(c) < 32) {
      return "the name may hold only ASCII characters";
    }
  }
  return {};
}

// What the program reads when it opens a unit: the program states and names, the parameters.
bool ReadUnit(ProgramState& st, RxTx& link) {
  ReadProgress none;
  st.CurUnit = 0;
  return link.PingUnit(st.DeviceTable[0].Id) && ReadUnitName(st, link, 0) &&
         ReadUnitConfig(st, link, 0, none);
}

std::string MemoryText(int k) {
  return "memory " + std::to_string(k + 1);
}

constexpr const char* kNoAnswer = "the unit did not answer";
constexpr const char* kStopped = "the unit stopped answering";

}  // namespace

int StoreVerb(const CliOptions& o, ProgramState& st, RxTx& link) {
  const std::optional<int> k = MemoryIndex(o.args[0]);
  if (!k) return Fail(kExitUsage, "a memory is 1..32, saw " + o.args[0]);
  const std::string& name = o.args[1];
  if (const std::string error = NameError(name); !error.empty()) return Fail(kExitUsage, error);
  if (!ReadUnit(st, link)) return Fail(kExitFailed, kNoAnswer);
  st.DataFolder = o.data.string();
  ProgramProgress none;
  const StoreOutcome out = StoreProgram(st, link, *k, name, none);
  if (out.link_failed) return Fail(kExitFailed, std::string(kStopped) + " during the store");
  if (!out.dump_error.empty()) {
    return Fail(kExitFailed, "stored, but Eeprom.txt could not be written: " + out.dump_error);
  }
  std::cout << "stored \"" << st.Rec().ProgramName[*k] << "\" in " << MemoryText(*k) << "\n";
  return kExitOk;
}

int RecallVerb(const CliOptions& o, ProgramState& st, RxTx& link) {
  const std::optional<int> k = MemoryIndex(o.args[0]);
  if (!k) return Fail(kExitUsage, "a memory is 1..32, saw " + o.args[0]);
  if (!ReadUnit(st, link)) return Fail(kExitFailed, kNoAnswer);
  if (!ProgramInUse(st.Rec(), *k)) return Fail(kExitFailed, MemoryText(*k) + " is empty");
  ProgramProgress none;
  switch (RecallProgram(st, link, *k, none)) {
    case RecallOutcome::Recalled:
      std::cout << "recalled \"" << st.Rec().ProgramName[*k] << "\" from " << MemoryText(*k)
                << "\n";
      return kExitOk;
    case RecallOutcome::Empty:
      return Fail(kExitFailed, "the unit reports " + MemoryText(*k) + " empty");
    case RecallOutcome::LinkFailed:
      break;
  }
  return Fail(kExitFailed, std::string(kStopped) + " during the recall");
}

int ProgramsVerb(const CliOptions&, ProgramState& st, RxTx& link) {
  if (!ReadUnit(st, link)) return Fail(kExitFailed, kNoAnswer);
  const DeviceSettings& rec = st.Rec();
  for (int k = 0; k < kProgramCount; ++k) {
    std::cout << TwoDigitText(k + 1) << (ProgramInUse(rec, k) ? "  in use  \"" : "  empty   \"")
              << rec.ProgramName[k] << "\"\n";
  }
  return kExitOk;
}

}  // namespace velmark::cli
