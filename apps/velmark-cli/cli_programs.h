#pragma once
// The program-memory verbs of velmark-cli: store N NAME, recall N, programs. Each reads the
// unit first, as the program does when it opens a unit, then works on unit 0 of the state.

#include "cli_options.h"
#include "link/rx_tx.h"
#include "model/program_state.h"

namespace velmark::cli {

int StoreVerb(const CliOptions& o, ProgramState& st, RxTx& link);
int RecallVerb(const CliOptions& o, ProgramState& st, RxTx& link);
int ProgramsVerb(const CliOptions& o, ProgramState& st, RxTx& link);

}  // namespace velmark::cli
