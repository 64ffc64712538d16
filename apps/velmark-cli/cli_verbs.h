#pragma once
// The verbs of velmark-cli. Each prints its result on stdout and returns the exit status;
// a failure is one line on stderr.

#include <string>

#include "cli_options.h"
#include "model/image.h"

namespace velmark::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunVerb(const CliOptions& options);

// Reads the unit the options name as `read` does (its name, then its whole configuration):
// fills `image` and `unit_text` ("the USB unit on COM3"), or returns the one-line error.
std::string ReadUnitImage(const CliOptions& o, ParamImage& image, std::string& unit_text);

}  // namespace velmark::cli
