#pragma once
// The scenario language's lines, tokens and control addresses. A line is a verb followed by
// words and double-quoted strings (with \" and \\); `#` at the start of a word begins a comment.

#include <optional>
#include <string>
#include <vector>

namespace velmark::ui {

struct Token {
  std::string text;
  bool quoted = false;
  bool operator==(const Token&) const = default;
};

struct ScenarioLine {
  int number = 0;  // 1-based line in the file
  std::vector<Token> tokens;
};

struct Script {
  std::string file;  // as named on the command line, for messages
  std::vector<ScenarioLine> lines;
};

struct ParseResult {
  Script script;
  std::string error;  // "FILE:LINE: ..." or empty
  bool ok() const { return error.empty(); }
};

// Splits one line into tokens; the error text when a string is not closed.
std::optional<std::string> Tokenize(const std::string& line, std::vector<Token>& out);
ParseResult ParseScript(const std::string& file, const std::string& text);

// Window.Control, Window.Control(i), Window[u].Control(i), or Window / Window[u] alone.
struct Address {
  std::string window;
  int unit = -1;  // -1: the active instance
  std::string control;
  int index = -1;  // -1: not an array element
  bool HasControl() const { return !control.empty(); }
  std::string Text() const;
};

std::optional<Address> ParseAddress(const std::string& text);

}  // namespace velmark::ui
