#pragma once
// velmark-cli load: a preset file written into a unit as the edit window's Load button does.

#include <string>

#include "cli_options.h"
#include "link/rx_tx.h"
#include "programs/preset_image.h"

namespace velmark::cli {

// Why a preset file read gave no image: one line naming the file.
std::string PresetReadError(const PresetFile& file, const std::string& name);

// Writes the preset o.args[0] into unit 0 over `link` (progress on stderr); `unit_text` names
// the unit in messages. Returns the exit status.
int LoadPresetFile(const CliOptions& o, ProgramState& st, RxTx& link, const std::string& unit_text);

}  // namespace velmark::cli
