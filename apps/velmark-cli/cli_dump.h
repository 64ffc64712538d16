#pragma once
// velmark-cli dump and diff: every parameter of a preset file or a unit, as text or JSON, and
// the parameters two of them set differently. diff exits 0 when they are equal, 1 when they
// differ and 2 on an error, so that scripts and git can use it.

#include <string>

#include "cli_options.h"

namespace velmark::cli {

// Why the words after dump or diff do not fit; empty when they do.
std::string CheckReportArgs(const CliOptions& o);

int ReportVerb(const CliOptions& o);

}  // namespace velmark::cli
