// velmark-cli: the serial line and the units on it from a shell — ports, presence tests, the
// unit search, single frames, a unit's configuration, and the program's init.cfg.

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli_options.h"
#include "cli_verbs.h"
#include "model/tables.h"
#include "velmark_version.h"

// The version window and the installed package must name the same release.
static_assert(std::string_view(kVelmarkVersion) == velmark::kProgramVersion,
              "project(VERSION) in CMakeLists.txt and kProgramVersion differ");

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    std::cout << "velmark-cli " << kVelmarkVersion << "\n";
    return velmark::cli::kExitOk;
  }
  const auto parsed = velmark::cli::ParseCli(args);
  if (!parsed.error.empty()) {
    std::cerr << "velmark-cli: " << parsed.error << " (velmark-cli help)\n";
    return velmark::cli::kExitUsage;
  }
  return velmark::cli::RunVerb(parsed.options);
}
