#include "report/response_channels.h"

#include "model/tables.h"

namespace velmark {

std::string ChannelTabName(int ch) {
  if (ch < 0 || ch >= kChannelCount) return {};
  if (IsInputChannel(ch)) return std::string(1, static_cast<char>('A' + ch));
  return std::string(1, static_cast<char>('1' + ch - kInputCount));
}

std::string ChannelLongName(int ch) {
  if (ch < 0 || ch >= kChannelCount) return {};
  return (IsInputChannel(ch) ? "In " : "Out ") + ChannelTabName(ch);
}

std::optional<int> ParseChannelTabName(std::string_view word) {
  if (word.size() != 1) return std::nullopt;
  const char c = word[0];
  if (c >= 'A' && c <= 'D') return c - 'A';
  if (c >= 'a' && c <= 'd') return c - 'a';
  if (c >= '1' && c <= '4') return kInputCount + (c - '1');
  return std::nullopt;
}

Curve ExportedCurve(const UnitResponses& responses, const ResponseChoice& choice) {
  Curve out{};
  if (choice.channel < 0 || choice.channel >= kChannelCount) return out;
  out = responses.ChannelResponse[choice.channel];
  if (choice.input && *choice.input >= 0 && *choice.input < kInputCount) {
    const Curve& in = responses.ChannelResponse[*choice.input];
    for (int p = 0; p < kGridPoints; ++p) out[p] += in[p];
  }
  return out;
}

}  // namespace velmark
