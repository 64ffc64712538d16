#include "sim/unit_commands.h"

#include <algorithm>
#include <array>

#include "sim/command_handlers.h"

namespace velmark {
namespace {

namespace h = sim_handlers;

constexpr std::array<CommandEntry, 33> kCommands = {{
    {CmdPoll, h::Acknowledge},
    {CmdGain, h::Gain},
    {CmdDelay, h::Delay},
    {CmdPolarity, h::Polarity},
    {CmdCrossover, h::Crossover},
    {CmdEqBand, h::EqBand},
    {CmdEqBypass, h::EqBypass},
    {CmdLimiter, h::Limiter},
    {CmdInputRouting, h::InputRouting},
    {CmdMute, h::Mute},
    {CmdCompressor, h::Compressor},
    {CmdStatusPoll, h::StatusPoll},
    {CmdStatusDone, h::Acknowledge},
    {CmdChannelName, h::ChannelName},
    {CmdApplyImage, h::Acknowledge},  // the parameters already are the unit's state
    {CmdReadMemory, h::ReadMemory},
    {CmdWriteMemory, h::WriteMemory},
    {CmdReadBlock, h::ReadBlock},
    {CmdNoiseGate, h::NoiseGate},
    {CmdInputSource, h::InputSource},
    {CmdNoiseGenerator, h::NoiseGenerator},
    {CmdSystemSetting, h::SystemSetting},
    {CmdReadProgramStates, h::ProgramStates},
    {CmdCopyChannel, h::CopyChannel},
    {CmdReadVersion, h::Version},
    {CmdSetDefault, h::SetDefault},
    {CmdLinkMask, h::LinkMask},
    {CmdStoreProgram, h::StoreProgram},
    {CmdAuxGain, h::AuxGain},
    {CmdOutputRouting, h::OutputRouting},
    {CmdRecallProgram, h::RecallProgram},
    {CmdPing, h::Ping},
    {CmdRelease, h::Release},
}};

constexpr bool InCodeOrder() {
  for (std::size_t i = 1; i < kCommands.size(); ++i) {
    if (kCommands[i - 1].code >= kCommands[i].code) return false;
  }
  return true;
}
static_assert(InCodeOrder(), "the command table is searched by code");

}  // namespace

std::span<const CommandEntry> CommandTable() {
  return kCommands;
}

CommandHandler FindHandler(std::uint8_t code) {
  const auto it =
      std::lower_bound(kCommands.begin(), kCommands.end(), code,
                       [](const CommandEntry& e, std::uint8_t c) { return e.code < c; });
  return it != kCommands.end() && it->code == code ? it->handler : nullptr;
}

}  // namespace velmark
