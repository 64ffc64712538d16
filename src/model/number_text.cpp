#include "model/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velmark {

std::string NumberText(double value, bool decimal_comma) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string text = buf;
  if (text.find('e') != std::string::npos) {
    // Only values far outside the program's ranges get here; show them in full.
    std::snprintf(buf, sizeof buf, "%.15f", value);
    text = buf;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  if (decimal_comma) {
    for (char& c : text) {
      if (c == '.') c = ',';
    }
  }
  return text;
}

std::optional<double> ParseNumber(std::string_view text, bool decimal_comma) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string clean;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
  bool digits = false, separator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      clean += c;
      digits = true;
    } else if ((c == '.' || (decimal_comma && c == ',')) && !separator) {
      clean += '.';
      separator = true;
    } else {
      break;
    }
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (!digits || i != text.size()) return std::nullopt;
  return std::strtod(clean.c_str(), nullptr);
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

}  // namespace velmark
