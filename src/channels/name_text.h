#pragma once
// Between a channel name's bytes (the unit's single-byte set, taken as ISO 8859-1) and the UTF-8
// texts of the name boxes. Every byte round-trips: NameBytes(NameText(b)) == b.

#include <optional>
#include <string>
#include <string_view>

namespace velmark {

// The bytes as a text box shows them, blanks kept.
std::string NameText(std::string_view bytes);
// A box's text as bytes; none when it holds a character without a one-byte code (or is not
// UTF-8 at all).
std::optional<std::string> NameBytes(std::string_view text);

}  // namespace velmark
