#include "sim/unit_memory.h"

#include <algorithm>

#include "model/defaults.h"

namespace velmark {
namespace {

// Position inside a program memory of parameter byte `param`: the name comes first.
constexpr int kNameFirstShift = kProgramNameAddr;

constexpr int ProgramOffsetOf(int param) {
  return (param - kNameFirstShift + kParamBytes) % kParamBytes;
}
static_assert(ProgramOffsetOf(kProgramNameAddr) == 0 && ProgramOffsetOf(0) == 32);

bool InRange(int addr, std::size_t count, int end) {
  return addr >= 0 && count <= static_cast<std::size_t>(end) &&
         static_cast<std::size_t>(addr) <= static_cast<std::size_t>(end) - count;
}

}  // namespace

UnitMemory::UnitMemory() {
  std::copy(kFreshUnitName.begin(), kFreshUnitName.end(), bytes_.begin() + kSysName);
  // Password "000000" as character codes; the noise generators sit at -20 dB, white.
  for (int i = 0; i < kPasswordLength; ++i) {
    bytes_[kSysPassword + i] = static_cast<std::uint8_t>(FactoryPasswordCodes[i]);
  }
  bytes_[kSysNoiseLevel] = 20;
  bytes_[kSysNoiseLevel + 2] = 20;
  SetParams(DefaultImage);
  states_.fill(kEmptyProgramState);
}

std::uint8_t UnitMemory::At(int addr) const {
  return addr >= 0 && addr < kUnitMemorySize ? bytes_[addr] : std::uint8_t{0};
}

ParamBytes UnitMemory::Params() const {
  ParamBytes params{};
  std::copy_n(bytes_.begin() + kUnitParamBase, kParamBytes, params.begin());
  return params;
}

void UnitMemory::SetParams(const ParamBytes& params) {
  std::copy(params.begin(), params.end(), bytes_.begin() + kUnitParamBase);
}

bool UnitMemory::Read(int addr, std::span<std::uint8_t> out) const {
  if (!InRange(addr, out.size(), kUnitMemorySize)) return false;
  std::copy_n(bytes_.begin() + addr, out.size(), out.begin());
  return true;
}

bool UnitMemory::Write(int addr, std::span<const std::uint8_t> bytes) {
  if (!InRange(addr, bytes.size(), kWritableEnd)) return false;
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + addr);
  return true;
}

bool UnitMemory::StoreProgram(int k) {
  if (k < 0 || k >= kProgramCount) return false;
  const int base = ProgramMemoryAddr(k);
  for (int a = 0; a < kParamBytes; ++a) bytes_[base + ProgramOffsetOf(a)] = Param(a);
  states_[k] = static_cast<std::uint8_t>(k);
  return true;
}

std::optional<ParamBytes> UnitMemory::StoredProgram(int k) const {
  if (!ProgramInUse(k)) return std::nullopt;
  const int base = ProgramMemoryAddr(k);
  ParamBytes params{};
  for (int a = 0; a < kParamBytes; ++a) params[a] = bytes_[base + ProgramOffsetOf(a)];
  return params;
}

bool UnitMemory::RecallProgram(int k) {
  const std::optional<ParamBytes> stored = StoredProgram(k);
  if (!stored) return false;
  SetParams(*stored);
  return true;
}

std::uint8_t UnitMemory::ProgramState(int k) const {
  return k >= 0 && k < kProgramCount ? states_[k] : kEmptyProgramState;
}

bool UnitMemory::ProgramInUse(int k) const {
  return ProgramState(k) < 64;
}

}  // namespace velmark
