#pragma once
// The verbs of velmark-cli. Each prints its result on stdout and returns the exit status;
// a failure is one line on stderr.

#include "cli_options.h"

namespace velmark::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunVerb(const CliOptions& options);

}  // namespace velmark::cli
