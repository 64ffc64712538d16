#pragma once
// A response as the plain text that room-measurement and loudspeaker programs import: comment
// lines starting with "*", then one line per grid point, "frequency magnitude" separated by one
// space, frequency in whole Hz, magnitude in dB with four decimals and a point as the decimal
// separator whatever the locale. All 1584 grid points are written in grid order; 1000, 3000 and
// 10000 Hz are points of two grid segments each and appear twice with the same value.

#include <string>
#include <vector>

#include "model/responses.h"
#include "report/response_channels.h"

namespace velmark {

// The comment lines of an export: what it is, where it came from, which channel (with its
// stored name, printable ASCII only) and what the curve includes.
std::vector<std::string> ResponseComments(const std::string& source, const ResponseChoice& choice,
                                          const std::string& channel_name);

// `comments` become "* " + text lines, each cut at its first line break.
std::string ResponseCsv(const Curve& curve, const std::vector<std::string>& comments);

}  // namespace velmark
