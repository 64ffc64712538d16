#include "sim/state_file.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmark {
namespace {

constexpr std::string_view kMagic = "VELMSIM1";
constexpr std::size_t kUnitRecordSize = 2 + kProgramCount + kUnitMemorySize;
constexpr std::size_t kMaxUnits = kMaxBusId + 1;

using Bytes = std::vector<std::uint8_t>;

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001B3ull;
  return hash;
}

void PutLe(Bytes& out, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t GetLe(const Bytes& in, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) value |= std::uint64_t{in[at + i]} << (8 * i);
  return value;
}

Bytes Encode(const SimBus& bus) {
  Bytes out(kMagic.begin(), kMagic.end());
  PutLe(out, bus.Units().size(), 4);
  for (const SimUnit& unit : bus.Units()) {
    const UnitMemory& m = unit.Memory();
    out.push_back(unit.Id());
    out.push_back(m.LinkMask());
    out.insert(out.end(), m.States().begin(), m.States().end());
    out.insert(out.end(), m.Bytes().begin(), m.Bytes().end());
  }
  PutLe(out, Fnv1a(out), 8);
  return out;
}

// Checks the whole file before anything is taken from it; the reason when it cannot be used.
std::optional<std::string> Validate(const Bytes& in) {
  constexpr std::size_t kHeader = kMagic.size() + 4;
  if (in.size() < kHeader + 8 || !std::equal(kMagic.begin(), kMagic.end(), in.begin())) {
    return "not a simulator state file";
  }
  const std::uint64_t count = GetLe(in, kMagic.size(), 4);
  if (count > kMaxUnits || in.size() != kHeader + count * kUnitRecordSize + 8) {
    return "wrong length (damaged or cut short)";
  }
  const std::size_t body = in.size() - 8;
  if (GetLe(in, body, 8) != Fnv1a(std::span(in.data(), body))) return "checksum mismatch";
  return std::nullopt;
}

std::optional<Bytes> ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::optional<std::string> SaveUnitState(const std::filesystem::path& path, const SimBus& bus) {
  const Bytes data = Encode(bus);
  std::filesystem::path temp = path;
  temp += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    file.flush();
    if (!file) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return "cannot write " + temp.string();
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return "cannot replace " + path.string() + ": " + ec.message();
  }
  return std::nullopt;
}

StateLoad LoadUnitState(const std::filesystem::path& path, SimBus& bus) {
  StateLoad result;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return result;
  const std::optional<Bytes> in = ReadAll(path);
  if (!in) {
    result.warning = path.string() + ": cannot be read; starting with fresh units";
    return result;
  }
  if (const std::optional<std::string> why = Validate(*in)) {
    result.warning = path.string() + ": " + *why + "; starting with fresh units";
    return result;
  }
  const std::size_t count = GetLe(*in, kMagic.size(), 4);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kMagic.size() + 4 + i * kUnitRecordSize;
    SimUnit* unit = bus.Find((*in)[at]);
    if (unit == nullptr) continue;
    UnitMemory& m = unit->Memory();
    m.SetLinkMask((*in)[at + 1]);
    const auto states = in->begin() + static_cast<std::ptrdiff_t>(at + 2);
    std::copy_n(states, kProgramCount, m.MutableStates().begin());
    std::copy_n(states + kProgramCount, kUnitMemorySize, m.MutableBytes().begin());
    ++result.restored;
  }
  return result;
}

}  // namespace velmark
