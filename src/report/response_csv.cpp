#include "report/response_csv.h"

#include <charconv>
#include <cmath>

#include "model/tables.h"

namespace velmark {
namespace {

// Four decimals from the number itself (std::to_chars never consults the locale); a value that
// rounds to zero is written without a sign.
void AppendDb(std::string& out, double db) {
  if (!std::isfinite(db)) db = 0.0;  // a stored sum is always finite; kept out of the file
  if (std::fabs(db) < 0.00005) db = 0.0;
  char buf[48];
  const auto r = std::to_chars(buf, buf + sizeof buf, db, std::chars_format::fixed, 4);
  out.append(buf, r.ptr);
}

// A text fit for one comment line: control bytes (and, for a stored name, any byte outside
// printable ASCII) as "?", surrounding spaces removed.
std::string CommentText(const std::string& text, bool ascii_only) {
  std::string out;
  for (unsigned char c : text) {
    const bool keep = c >= 32 && c != 127 && (!ascii_only || c < 127);
    out += keep ? static_cast<char>(c) : '?';
  }
  const auto first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<std::string> ResponseComments(const std::string& source, const ResponseChoice& choice,
                                          const std::string& channel_name) {
  std::string channel =
      ChannelLongName(choice.channel) + " \"" + CommentText(channel_name, true) + "\"";
  if (choice.input) channel += " with the EQ of " + ChannelLongName(*choice.input);
  const bool output = !IsInputChannel(choice.channel);
  return {"VELMARK Control frequency response", "Source: " + CommentText(source, false),
          "Channel: " + channel,
          std::string("Includes: ") + (output ? "high-pass, low-pass and EQ" : "EQ") +
              (choice.input ? " of both channels" : "") +
              "; no levels, delays, routing or dynamics",
          "Frequency [Hz] Magnitude [dB]"};
}

std::string ResponseCsv(const Curve& curve, const std::vector<std::string>& comments) {
  std::string out;
  out.reserve(comments.size() * 40 + kGridPoints * 16);
  for (const std::string& c : comments) {
    out += "* ";
    out.append(c, 0, c.find_first_of("\r\n"));
    out += '\n';
  }
  char buf[16];
  for (int p = 0; p < kGridPoints; ++p) {
    const auto r = std::to_chars(buf, buf + sizeof buf, FreqGrid[p]);
    out.append(buf, r.ptr);
    out += ' ';
    AppendDb(out, curve[p]);
    out += '\n';
  }
  return out;
}

}  // namespace velmark
