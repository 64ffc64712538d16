#include "ui/scenario_parser.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace velmark::ui {

namespace {

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Reads a name at `pos`; empty when there is none.
std::string ReadName(const std::string& text, std::size_t& pos) {
  std::size_t start = pos;
  while (pos < text.size() && IsNameChar(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

// Reads "<open>digits<close>" at `pos` into `value`; false when the text is malformed.
bool ReadIndex(const std::string& text, std::size_t& pos, char open, char close, int& value) {
  if (pos >= text.size() || text[pos] != open) return true;  // no index: fine
  std::size_t end = text.find(close, pos);
  if (end == std::string::npos || end == pos + 1) return false;
  const char* first = text.data() + pos + 1;
  const char* last = text.data() + end;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || value < 0) return false;
  pos = end + 1;
  return true;
}

}  // namespace

std::optional<std::string> Tokenize(const std::string& line, std::vector<Token>& out) {
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      break;  // the rest is a comment
    } else if (c == '"') {
      Token t{"", true};
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          d = line[i++];
        } else if (d == '\\' && i < line.size() && line[i] == 'n') {
          d = '\n';  // messages with a line break
          ++i;
        }
        t.text += d;
      }
      if (!closed) return "string not closed";
      out.push_back(std::move(t));
    } else {
      Token t;
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
        t.text += line[i++];
      }
      out.push_back(std::move(t));
    }
  }
  return std::nullopt;
}

ParseResult ParseScript(const std::string& file, const std::string& text) {
  ParseResult result;
  result.script.file = file;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ScenarioLine parsed{number, {}};
    if (auto error = Tokenize(line, parsed.tokens)) {
      result.error = file + ":" + std::to_string(number) + ": " + *error;
      return result;
    }
    if (!parsed.tokens.empty()) result.script.lines.push_back(std::move(parsed));
  }
  return result;
}

std::string Address::Text() const {
  std::string out = window;
  if (unit >= 0) out += "[" + std::to_string(unit) + "]";
  if (HasControl()) out += "." + control;
  if (index >= 0) out += "(" + std::to_string(index) + ")";
  return out;
}

std::optional<Address> ParseAddress(const std::string& text) {
  Address a;
  std::size_t pos = 0;
  a.window = ReadName(text, pos);
  if (a.window.empty() || !ReadIndex(text, pos, '[', ']', a.unit)) return std::nullopt;
  if (pos == text.size()) return a;
  if (text[pos] != '.') return std::nullopt;
  ++pos;
  a.control = ReadName(text, pos);
  if (a.control.empty() || !ReadIndex(text, pos, '(', ')', a.index)) return std::nullopt;
  if (pos != text.size()) return std::nullopt;
  return a;
}

}  // namespace velmark::ui
