#pragma once
// The simulated units' memories on disk, so that stored programs and settings survive a restart.
//
// File layout (little-endian counts): the 8 bytes "VELMSIM1", the unit count (4 bytes), then per
// unit its ID, its link mask, its 32 program states and its whole memory, and last a 64-bit
// FNV-1a checksum of everything before it. A file is written to a temporary name beside the
// target and renamed over it, so a crash never leaves half a file behind.

#include <filesystem>
#include <optional>
#include <string>

#include "sim/sim_bus.h"

namespace velmark {

// Writes every unit of the bus. Nothing on success, else the reason.
std::optional<std::string> SaveUnitState(const std::filesystem::path& path, const SimBus& bus);

struct StateLoad {
  int restored = 0;     // units of the bus found in the file and restored
  std::string warning;  // set when the file exists but could not be used
};

// Restores the units of the bus whose IDs are in the file; units the file does not hold stay as
// they are. A missing file is no error (a first run). A damaged or short file changes nothing
// and gives a warning.
StateLoad LoadUnitState(const std::filesystem::path& path, SimBus& bus);

}  // namespace velmark
