#pragma once
// The memory of a simulated unit, addressed exactly as the program addresses it:
//
//   0..63          system page: name 0..15, input sources 16..17, delay unit 18, password
//                  enabled 22, panel lock 23, password codes 24..29, noise generators 32..35;
//                  the other bytes are the unit's own and read as 0
//   64..863        the current parameters: unit address 64 + a holds image address a (0..799)
//   864..1791      reserved, reads as 0
//   1792 + 800·k   program memory k (0..31), 800 bytes: the parameters it stored, turned so that
//                  their name comes first. Byte j of the memory holds parameter byte
//                  (768 + j) mod 800, so the 16-byte name (parameters 768..783) reads at
//                  1792 + 800·k and the 800 bytes hold the stored parameters exactly once.
//                  An empty memory reads as 0.
//
// Memory writes reach 0..863 only; a program memory changes only when a program is stored.
// Beside the bytes the unit keeps one state byte per program memory (the memory's own number
// when it is in use, kEmptyProgramState when it is empty) and the link mask.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/image.h"
#include "model/tables.h"

namespace velmark {

// System page.
inline constexpr int kSystemPageSize = 64;
inline constexpr int kSysName = 0;          // 16 ASCII characters
inline constexpr int kSysInputSource = 16;  // pair A/B; C/D at 17
inline constexpr int kSysDelayUnit = 18;
inline constexpr int kSysPasswordOn = 22;
inline constexpr int kSysLockOn = 23;
inline constexpr int kSysPassword = 24;    // six character codes, 24..29
inline constexpr int kSysNoiseType = 32;   // pair A/B; C/D at 34
inline constexpr int kSysNoiseLevel = 33;  // pair A/B; C/D at 35

inline constexpr int kProgramMemoryBase = 1792;
inline constexpr int kProgramMemorySize = kParamBytes;
inline constexpr int kUnitMemorySize = kProgramMemoryBase + kProgramCount * kProgramMemorySize;
inline constexpr int kWritableEnd = kUnitParamBase + kParamBytes;  // first address past 863
inline constexpr std::uint8_t kEmptyProgramState = 255;

// The name a fresh unit carries, padded to 16 characters.
inline constexpr std::string_view kFreshUnitName = " VELMARK        ";
static_assert(kFreshUnitName.size() == kProgramNameLength);

using ParamBytes = std::array<std::uint8_t, kParamBytes>;

constexpr int ProgramMemoryAddr(int k) {
  return kProgramMemoryBase + kProgramMemorySize * k;
}

class UnitMemory {
 public:
  // A fresh unit: the default configuration, the fresh name, every program memory empty.
  UnitMemory();

  // Any address; 0 outside memory.
  std::uint8_t At(int addr) const;

  // Current parameter byte at image address 0..799, and system byte 0..63. The index must be
  // in range: callers check indices taken from a packet first.
  std::uint8_t& Param(int image_addr) { return bytes_[kUnitParamBase + image_addr]; }
  std::uint8_t Param(int image_addr) const { return bytes_[kUnitParamBase + image_addr]; }
  // Big-endian word at image addresses a, a + 1.
  int ParamWord(int image_addr) const { return Param(image_addr) * 256 + Param(image_addr + 1); }
  std::uint8_t& System(int index) { return bytes_[index]; }
  std::uint8_t System(int index) const { return bytes_[index]; }

  ParamBytes Params() const;
  void SetParams(const ParamBytes& params);

  // Copies [addr, addr + out.size()); false, with nothing copied, when the range leaves memory.
  bool Read(int addr, std::span<std::uint8_t> out) const;
  // Writes inside 0..863; false, with nothing written, when any byte would fall outside.
  bool Write(int addr, std::span<const std::uint8_t> bytes);

  // Copies the current parameters into memory k and marks it in use; false for k outside 0..31.
  bool StoreProgram(int k);
  // Makes memory k the current configuration; false when k is outside 0..31 or the memory is
  // empty (nothing changes then).
  bool RecallProgram(int k);
  // The parameters memory k holds; nothing when it is empty or k is out of range.
  std::optional<ParamBytes> StoredProgram(int k) const;
  // kEmptyProgramState for k outside 0..31.
  std::uint8_t ProgramState(int k) const;
  bool ProgramInUse(int k) const;

  std::uint8_t LinkMask() const { return link_mask_; }
  void SetLinkMask(std::uint8_t mask) { link_mask_ = mask; }

  // Whole-memory access for state files and tests.
  std::span<const std::uint8_t, kUnitMemorySize> Bytes() const { return bytes_; }
  std::span<std::uint8_t, kUnitMemorySize> MutableBytes() { return bytes_; }
  std::span<const std::uint8_t, kProgramCount> States() const { return states_; }
  std::span<std::uint8_t, kProgramCount> MutableStates() { return states_; }

 private:
  std::array<std::uint8_t, kUnitMemorySize> bytes_{};
  std::array<std::uint8_t, kProgramCount> states_{};
  std::uint8_t link_mask_ = 0;
};

}  // namespace velmark
