#pragma once
// The unit's own channel copy: every processing setting of one channel onto another channel of
// the same kind. Names, link state and routing stay with the destination.

#include "sim/unit_memory.h"

namespace velmark {

// Copies channel `source` onto `target`: both inputs (0..3) or both outputs (4..7), different.
// Returns false, changing nothing, for any other pair.
bool CopyChannel(UnitMemory& memory, int source, int target);

}  // namespace velmark
