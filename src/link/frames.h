#pragma once
// 13-byte request and reply frames: F0 05 id cmd d0..d7 F7.

#include <array>
#include <cstdint>

#include "link/serial_port.h"

namespace velmark {

inline constexpr std::uint8_t kFrameStart = 0xF0;
inline constexpr std::uint8_t kFrameFixed = 0x05;
inline constexpr std::uint8_t kFrameEnd = 0xF7;

// Command codes (frame byte 3).
inline constexpr std::uint8_t CmdPoll = 0x00;
inline constexpr std::uint8_t CmdGain = 0x01;
inline constexpr std::uint8_t CmdDelay = 0x02;
inline constexpr std::uint8_t CmdPolarity = 0x03;
inline constexpr std::uint8_t CmdCrossover = 0x04;
inline constexpr std::uint8_t CmdEqBand = 0x05;
inline constexpr std::uint8_t CmdEqBypass = 0x06;
inline constexpr std::uint8_t CmdLimiter = 0x07;
inline constexpr std::uint8_t CmdInputRouting = 0x08;
inline constexpr std::uint8_t CmdMute = 0x09;
inline constexpr std::uint8_t CmdCompressor = 0x0A;
inline constexpr std::uint8_t CmdStatusPoll = 0x12;
inline constexpr std::uint8_t CmdStatusDone = 0x13;
inline constexpr std::uint8_t CmdChannelName = 0x14;
inline constexpr std::uint8_t CmdApplyImage = 0x16;
inline constexpr std::uint8_t CmdReadMemory = 0x17;
inline constexpr std::uint8_t CmdWriteMemory = 0x18;
inline constexpr std::uint8_t CmdReadBlock = 0x19;
inline constexpr std::uint8_t CmdNoiseGate = 0x1A;
inline constexpr std::uint8_t CmdInputSource = 0x1C;
inline constexpr std::uint8_t CmdNoiseGenerator = 0x1D;
inline constexpr std::uint8_t CmdSystemSetting = 0x1E;
inline constexpr std::uint8_t CmdReadProgramStates = 0x1F;
inline constexpr std::uint8_t CmdCopyChannel = 0x21;
inline constexpr std::uint8_t CmdReadVersion = 0x22;
inline constexpr std::uint8_t CmdSetDefault = 0x24;
inline constexpr std::uint8_t CmdLinkMask = 0x26;
inline constexpr std::uint8_t CmdStoreProgram = 0x28;
inline constexpr std::uint8_t CmdAuxGain = 0x29;
inline constexpr std::uint8_t CmdOutputRouting = 0x2B;
inline constexpr std::uint8_t CmdRecallProgram = 0x41;
inline constexpr std::uint8_t CmdPing = 0x50;
inline constexpr std::uint8_t CmdRelease = 0x8F;

using FrameData = std::array<std::uint8_t, 8>;  // d0..d7

// The release command always goes to address 0, whatever the unit's id.
Frame BuildFrame(std::uint8_t address, std::uint8_t command, const FrameData& data);

struct Timeout {
  int ms;
  int count;  // the count argument handed to Transact
};

// Time-out class of a command code: long, medium, poll, release or default.
Timeout CommandTimeout(std::uint8_t command);

// Fixed timings of the two operations that do not use the class table.
inline constexpr Timeout kPingTimeout{200, 0};
inline constexpr Timeout kBlockFrameTimeout{100, 0};
inline constexpr int kBlockDataTimeoutMs = 5000;

}  // namespace velmark
