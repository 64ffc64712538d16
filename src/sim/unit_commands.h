#pragma once
// The simulated unit's command set: one handler per command code, found through a table.
//
// A handler acts on the unit and returns what it answers. Every index taken from a packet
// (channel, band, filter, selector, address, count) is checked first; a request that names
// something the unit does not have changes nothing and is still acknowledged. Commands that
// return nothing acknowledge by echoing their data bytes; so does a code the unit does not know.

#include <cstdint>
#include <span>
#include <vector>

#include "link/frames.h"

namespace velmark {

class SimUnit;

// What a unit sends back for one request.
struct Answer {
  bool silent = false;              // nothing is sent (the release command)
  FrameData data{};                 // reply bytes r4..r11
  std::vector<std::uint8_t> block;  // bytes that follow the reply frame (block read)
};

// Largest block one block read returns: the program's receive buffer.
inline constexpr int kMaxBlockBytes = 801;

using CommandHandler = Answer (*)(SimUnit& unit, const FrameData& d);

struct CommandEntry {
  std::uint8_t code;
  CommandHandler handler;
};

// Every command the unit knows, in code order.
std::span<const CommandEntry> CommandTable();

// The handler of a code, or nullptr for a code the unit does not know.
CommandHandler FindHandler(std::uint8_t code);

}  // namespace velmark
