#pragma once
// Command line of velmark-sim, parsed into a plain struct; errors are returned as text.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/meters.h"
#include "sim/sim_bus.h"

namespace velmark {

struct SimOptions {
  std::string link;  // --link PATH: symbolic link to the pseudo-terminal
  BusMode mode = BusMode::Usb;
  std::vector<int> ids;  // RS-485 unit IDs; {1} when none are given
  std::string state_file;
  std::string log_file;
  int baud = 9600;
  int latency_ms = 2;
  bool pacing = true;
  std::uint64_t seed = 1;
  double drop = 0.0;
  double garble = 0.0;
  std::optional<std::uint8_t> mute_cmd;
  std::optional<long> stall_after;
  std::optional<long> hangup_after;
  std::optional<long> faults_after;          // --drop and --garble start after this many requests
  std::optional<SourceLevels> input_levels;  // dBu of inputs A..D
  BlockReplyStyle block_reply = BlockReplyStyle::Framed;
  bool help = false;
};

struct ParsedOptions {
  std::optional<SimOptions> options;  // empty when the command line is wrong
  std::string error;
};

// The arguments after the program name.
ParsedOptions ParseSimOptions(std::span<const std::string_view> args);

std::string SimUsage();

// The bus the options describe: fresh units, line faults, block-reply style, muted command and
// input levels set.
SimBus BuildBus(const SimOptions& options);

// "velmark-sim: serving USB unit on /dev/pts/5 (link ./COM3)"; with bare block replies
// "velmark-sim: serving USB unit (block reads answered bare) on /dev/pts/5"
std::string ServingLine(const SimOptions& options, const std::string& slave_path);

}  // namespace velmark
