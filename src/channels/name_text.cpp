#include "channels/name_text.h"

namespace velmark {

std::string NameText(std::string_view bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> NameBytes(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // Only the two-byte sequences of U+0080..U+00FF have a one-byte code.
    if ((c != 0xC2 && c != 0xC3) || i + 1 >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[++i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    out += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
  }
  return out;
}

}  // namespace velmark
