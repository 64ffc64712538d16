// velmark-cli: the serial line and the units on it from a shell — ports, presence tests, the
// unit search, single frames, a unit's configuration, and the program's init.cfg.

#include <iostream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "cli_verbs.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = velmark::cli::ParseCli(args);
  if (!parsed.error.empty()) {
    std::cerr << "velmark-cli: " << parsed.error << " (velmark-cli help)\n";
    return velmark::cli::kExitUsage;
  }
  return velmark::cli::RunVerb(parsed.options);
}
