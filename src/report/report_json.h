#pragma once
// The JSON forms of a dump and of a diff (schema: docs/json-format.md). Numbers are JSON
// numbers, switches true/false, words strings; every object carries "format".

#include <string>
#include <vector>

#include "report/parameters.h"
#include "report/report_diff.h"

namespace velmark {

inline constexpr int kReportFormat = 1;  // raised only when a key or field changes meaning

std::string DumpJson(const ParameterList& params, const std::string& source);
std::string DiffJson(const std::vector<Difference>& diff, const std::string& a,
                     const std::string& b);

}  // namespace velmark
