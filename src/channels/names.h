#pragma once
// Channel names: six single-byte characters per channel, stored at NameAddr[channel] of the
// unit's image and kept in ChannelNames. The bytes are the unit's own; the windows show them
// through NameCaption.

#include <string>
#include <string_view>

#include "commands/core.h"

namespace velmark {

// Centres `name` in six characters (an odd blank goes in front) and writes its six bytes into
// the image of CurUnit. A name longer than six is cut to its first six characters, as the name
// boxes never let a seventh through. Nothing happens for a channel outside 0..7.
void PadName(Core& core, std::string& name, int channel);

// For CurUnit: pads the eight stored names, writes them into the image, sends one
// CmdChannelName per channel 0..7 in order and, when all went out, shows the names (without
// leading and trailing blanks) on the tab, gain/delay, routing and matrix labels. Returns
// Failed: true when a name packet failed; the later channels are then not sent and the labels
// keep their old captions (names and image keep the new texts).
bool ApplyNames(Core& core);

// A name's bytes as a label shows them: leading and trailing blanks removed, each byte taken
// as the character of that code (ISO 8859-1) and written as UTF-8.
std::string NameCaption(std::string_view name);

}  // namespace velmark
