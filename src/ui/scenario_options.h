#pragma once
// The command line of the scenario program: which program host to build, how it reaches its
// units, and the scenario files to run.

#include <filesystem>
#include <string>
#include <vector>

namespace velmark::ui {

enum class SimulatedLine { None, Usb, Rs485 };

struct ScenarioOptions {
  std::string port;                         // --port COMn: a real serial port
  SimulatedLine sim = SimulatedLine::None;  // --sim usb | --sim rs485 IDS
  std::vector<int> sim_ids;                 // the bus IDs of the simulated RS-485 units
  bool demo = false;                        // --demo: no unit on the line
  std::filesystem::path data;               // --data DIR: the data folder (default: a fresh one)
  bool gallery = false;                     // --gallery: the control gallery instead of the program
  bool qt = false;                          // --qt: show the windows on the Qt binding
  std::vector<std::string> files;           // the scenarios, run one after another
};

struct OptionsResult {
  ScenarioOptions options;
  std::string error;  // empty when the command line was understood
};

// `args` without the program name. IDS is a comma-separated list of 1..32 ("3,17").
OptionsResult ParseScenarioOptions(const std::vector<std::string>& args);

inline constexpr const char* kScenarioUsage =
    "usage: velmark-scenario [--gallery | --port COMn | --sim usb | --sim rs485 IDS | --demo]\n"
    "                        [--data DIR] [--qt] SCENARIO.scn...\n";

}  // namespace velmark::ui
