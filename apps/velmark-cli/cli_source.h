#pragma once
// Where a configuration comes from for dump, diff and response: a preset file, or a unit read
// over the serial line as the edit window's full read does.
//
// A SOURCE word is a preset file path, or "COMn" (the unit on that port; USB, or RS-485 when
// --rs485 is given or init.cfg says so) or "COMn:ID" (the RS-485 unit with that ID). When a verb
// takes a single SOURCE and none is given, --port COMn [--rs485 --id N] (or init.cfg) names the
// unit.

#include <string>

#include "cli_options.h"
#include "model/image.h"

namespace velmark::cli {

struct LoadedSource {
  ParamImage image{};  // the whole 1651-byte image
  std::string name;    // for messages and headers: file path or unit
  std::string error;   // empty on success: one line, no prefix
};

// Reads `word` (see above); an empty word means the unit named by the options.
LoadedSource LoadSource(const CliOptions& o, const std::string& word);

}  // namespace velmark::cli
