#pragma once
// Copying every processing setting of one channel onto another of the same kind in CurUnit.
// The unit copies on one CmdCopyChannel; the program then repeats the copy in its record,
// image, edit window and responses with sending suppressed, so that nothing else goes out.
// Name, link flag and output routing stay the destination's own.

#include "commands/core.h"

namespace velmark {

// Input s onto input t (0..3). Returns Failed: true when the command failed or the channels are
// not two different inputs; then nothing changes locally.
bool CopyInputChannel(Core& core, int s, int t);
// Output s onto output t (4..7), crossover filters included; same result.
bool CopyOutputChannel(Core& core, int s, int t);

}  // namespace velmark
