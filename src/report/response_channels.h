#pragma once
// Which curve a response export writes. Channels are named as the edit window's tabs name
// them: the inputs "A".."D" (channels 0..3) and the outputs "1".."4" (channels 4..7).
//
// An output "with input X" is the output's own response (high-pass, low-pass and its EQ) plus
// input X's EQ, added in dB: the equalisation a signal from X meets on its way to that output.
// Levels, delays, routing levels and the dynamics stages are not part of any exported curve.

#include <optional>
#include <string>
#include <string_view>

#include "model/responses.h"

namespace velmark {

// "A".."D", "1".."4"; an empty text for a channel outside 0..7.
std::string ChannelTabName(int ch);
// "In A" .. "In D", "Out 1" .. "Out 4".
std::string ChannelLongName(int ch);
// The channel of a tab name (a..d as well); nothing for any other word.
std::optional<int> ParseChannelTabName(std::string_view word);

struct ResponseChoice {
  int channel = 0;
  std::optional<int> input;  // 0..3, only with an output channel
};

// The curve of the choice from the stored channel sums (see above). The caller checks the
// choice; a channel outside 0..7 gives a flat curve.
Curve ExportedCurve(const UnitResponses& responses, const ResponseChoice& choice);

}  // namespace velmark
