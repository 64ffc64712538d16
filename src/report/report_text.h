#pragma once
// The terminal forms of a dump and of a diff.

#include <string>
#include <vector>

#include "report/parameters.h"
#include "report/report_diff.h"

namespace velmark {

// One parameter a line, "label  text", the texts aligned in one column; a blank line between
// the unit-wide settings, each channel and the routing.
std::string DumpText(const ParameterList& params);

// One line per difference: "Out 2 EQ band 3 gain: +2.5 dB → -1 dB" ("(none)" for a side
// without the key).
std::string DiffText(const std::vector<Difference>& diff);

}  // namespace velmark
