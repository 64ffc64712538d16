#pragma once
// The command line of the scenario program: which program host to build, how it reaches its
// units, and the scenario files to run.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmark::ui {

enum class SimulatedLine { None, Usb, Rs485 };

// How the simulated units answer a block read: reply frame and block, or the block alone.
enum class SimulatedBlockReply { Framed, Bare };

// A command the simulated units never answer: on every unit, or on the one with bus ID `id`.
struct MutedCommand {
  std::uint8_t code = 0;
  int id = -1;  // -1: every unit
  bool operator==(const MutedCommand&) const = default;
};

struct ScenarioOptions {
  std::string port;                         // --port COMn: a real serial port
  SimulatedLine sim = SimulatedLine::None;  // --sim usb | --sim rs485 IDS
  std::vector<int> sim_ids;                 // the bus IDs of the simulated RS-485 units
  bool demo = false;                        // --demo: no unit on the line
  std::filesystem::path data;               // --data DIR: the data folder (default: a fresh one)
  bool gallery = false;                     // --gallery: the control gallery instead of the program
  bool qt = false;                          // --qt: show the windows on the Qt binding
  std::vector<std::string> files;           // the scenarios, run one after another

  // With --sim: --block-reply STYLE and the repeatable --mute CODE[@ID].
  SimulatedBlockReply sim_block_reply = SimulatedBlockReply::Framed;
  std::vector<MutedCommand> sim_muted;
};

struct OptionsResult {
  ScenarioOptions options;
  std::string error;  // empty when the command line was understood
};

// `args` without the program name. IDS is a comma-separated list of 1..32 ("3,17"). CODE is
// 0..255, decimal or 0x hex; ID must be a unit of the simulated line (0 on USB). --block-reply
// and --mute need --sim.
OptionsResult ParseScenarioOptions(const std::vector<std::string>& args);

inline constexpr const char* kScenarioUsage =
    "usage: velmark-scenario [--gallery | --port COMn | --sim usb | --sim rs485 IDS | --demo]\n"
    "                        [--block-reply framed|bare] [--mute CODE[@ID]]...   (with --sim)\n"
    "                        [--data DIR] [--qt] SCENARIO.scn...\n";

}  // namespace velmark::ui
