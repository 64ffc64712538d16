// System settings, memory access, programs, link mask and the commands that only acknowledge.

#include <algorithm>
#include <array>

#include "model/defaults.h"
#include "sim/channel_copy.h"
#include "sim/command_handlers.h"

namespace velmark::sim_handlers {
namespace {

constexpr int kPairs = 2;
constexpr int kReadMemoryMax = 8;
constexpr int kWriteMemoryMax = 4;
constexpr std::uint8_t kPresentMark = 5;      // ping reply byte 11
constexpr std::uint8_t kRecallRefused = 255;  // recall reply byte 4 for an empty memory

// System setting selectors and the system byte each one sets.
struct SettingSlot {
  std::uint8_t selector;
  int system_index;
};
constexpr std::array<SettingSlot, 3> kSettings = {{
    {1, kSysDelayUnit},
    {3, kSysLockOn},
    {4, kSysPasswordOn},
}};

int AddressOf(std::uint8_t high, std::uint8_t low) {
  return high * 256 + low;
}

}  // namespace

Answer InputSource(SimUnit& unit, const FrameData& d) {
  if (d[0] < kPairs) unit.Memory().System(kSysInputSource + d[0]) = d[7];
  return Echo(d);
}

// d0 pair, d6 type, d7 level step.
Answer NoiseGenerator(SimUnit& unit, const FrameData& d) {
  if (d[0] < kPairs) {
    unit.Memory().System(kSysNoiseType + 2 * d[0]) = d[6];
    unit.Memory().System(kSysNoiseLevel + 2 * d[0]) = d[7];
  }
  return Echo(d);
}

Answer SystemSetting(SimUnit& unit, const FrameData& d) {
  for (const SettingSlot& slot : kSettings) {
    if (slot.selector == d[0]) unit.Memory().System(slot.system_index) = d[7];
  }
  return Echo(d);
}

// d0, d1 address; d2 count (the program asks for 8). Bytes past the count or past the end of
// memory read as 0.
Answer ReadMemory(SimUnit& unit, const FrameData& d) {
  const int addr = AddressOf(d[0], d[1]);
  const int count = std::min<int>(d[2], kReadMemoryMax);
  Answer answer{};
  for (int i = 0; i < count; ++i) answer.data[i] = unit.Memory().At(addr + i);
  return answer;
}

// d0, d1 address; d2 count 1..4; d4..d7 the bytes. A write that would reach past 863 is refused
// as a whole.
Answer WriteMemory(SimUnit& unit, const FrameData& d) {
  const int count = d[2];
  if (count >= 1 && count <= kWriteMemoryMax) {
    unit.Memory().Write(AddressOf(d[0], d[1]), std::span<const std::uint8_t>(&d[4], count));
  }
  return Echo(d);
}

// d1, d2 start; d3, d4 count. The reply frame is followed by exactly `count` bytes; a block that
// is empty, too large or not inside memory gets the reply frame alone.
Answer ReadBlock(SimUnit& unit, const FrameData& d) {
  Answer answer = Echo(d);
  const int start = AddressOf(d[1], d[2]);
  const int count = AddressOf(d[3], d[4]);
  if (count < 1 || count > kMaxBlockBytes) return answer;
  answer.block.resize(count);
  if (!unit.Memory().Read(start, answer.block)) answer.block.clear();
  return answer;
}

// States of programs d0 .. d0 + 7; a number past 31 reads as empty.
Answer ProgramStates(SimUnit& unit, const FrameData& d) {
  Answer answer{};
  for (int i = 0; i < 8; ++i) answer.data[i] = unit.Memory().ProgramState(d[0] + i);
  return answer;
}

Answer Version(SimUnit& unit, const FrameData& /*d*/) {
  Answer answer{};
  const FirmwareVersion v = unit.Version();
  answer.data[0] = v.major;
  answer.data[1] = v.minor;
  answer.data[2] = v.patch;
  return answer;
}

// d0 0 reads the mask into r11, d0 1 writes d7.
Answer LinkMask(SimUnit& unit, const FrameData& d) {
  Answer answer = Echo(d);
  if (d[0] == 0) answer.data[7] = unit.Memory().LinkMask();
  if (d[0] == 1) unit.Memory().SetLinkMask(d[7]);
  return answer;
}

// The configuration becomes program d0: its number byte says so, then it is copied.
Answer StoreProgram(SimUnit& unit, const FrameData& d) {
  if (d[0] < kProgramCount) {
    unit.Memory().Param(ProgramNumberAddr) = d[0];
    unit.Memory().StoreProgram(d[0]);
  }
  return Echo(d);
}

Answer RecallProgram(SimUnit& unit, const FrameData& d) {
  Answer answer = Echo(d);
  if (!unit.Memory().RecallProgram(d[0])) answer.data[0] = kRecallRefused;
  return answer;
}

Answer CopyChannel(SimUnit& unit, const FrameData& d) {
  velmark::CopyChannel(unit.Memory(), d[0], d[1]);
  return Echo(d);
}

// The parameters return to the factory configuration; the system page stays as it is.
Answer SetDefault(SimUnit& unit, const FrameData& d) {
  unit.Memory().SetParams(DefaultImage);
  return Echo(d);
}

Answer StatusPoll(SimUnit& unit, const FrameData& /*d*/) {
  Answer answer{};
  answer.data = unit.Meters().Poll(unit.Memory());
  return answer;
}

Answer Acknowledge(SimUnit& /*unit*/, const FrameData& d) {
  return Echo(d);
}

Answer Ping(SimUnit& /*unit*/, const FrameData& d) {
  Answer answer = Echo(d);
  answer.data[7] = kPresentMark;
  return answer;
}

// The program leaves; the unit says nothing.
Answer Release(SimUnit& /*unit*/, const FrameData& d) {
  Answer answer = Echo(d);
  answer.silent = true;
  return answer;
}

}  // namespace velmark::sim_handlers
