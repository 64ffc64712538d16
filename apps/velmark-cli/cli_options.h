#pragma once
// The command line of velmark-cli, parsed into a plain struct; errors come back as text.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmark::cli {

struct CliOptions {
  std::string verb;                  // ports, ping, scan, raw, info, read, config, help, …
  std::vector<std::string> args;     // the words after the verb that are not options
  std::optional<int> port;           // --port COMn
  std::optional<bool> rs485;         // --rs485 (true) or --usb (false); none: from init.cfg
  std::optional<int> id;             // --id N, 1..32
  std::filesystem::path data = ".";  // --data DIR
  // response: --channel X or --all, --with-input X, and where to write it.
  std::optional<std::string> channel, with_input;
  bool all_channels = false;
  std::optional<std::string> csv, png, svg;  // --csv / --png / --svg FILE
  bool json = false;                         // dump, diff: --json, the JSON form instead of text
  bool git_driver = false;  // diff --git-driver: the arguments git gives a diff command
};

struct ParsedCli {
  CliOptions options;
  std::string error;  // empty when the command line was understood
};

ParsedCli ParseCli(const std::vector<std::string>& args);

// A byte given as decimal (0..255) or as 0x-prefixed hex.
std::optional<std::uint8_t> ParseByte(const std::string& text);

extern const char* const kCliHelp;

}  // namespace velmark::cli
