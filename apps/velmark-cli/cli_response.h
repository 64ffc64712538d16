#pragma once
// velmark-cli response: the channel responses of a preset file or a unit as CSV text for
// measurement programs, or the edit window's graph as a PNG or SVG picture.

#include <string>

#include "cli_options.h"

namespace velmark::cli {

// Why the response options do not fit together; empty when they do.
std::string CheckResponseOptions(const CliOptions& o);

int ResponseVerb(const CliOptions& o);

}  // namespace velmark::cli
