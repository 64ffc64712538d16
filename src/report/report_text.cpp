#include "report/report_text.h"

#include <algorithm>

namespace velmark {
namespace {

std::string Group(const std::string& key) {
  return key.substr(0, key.find('.'));
}

std::string SideText(const std::optional<Parameter>& p) {
  return p ? ParameterText(*p) : "(none)";
}

}  // namespace

std::string DumpText(const ParameterList& params) {
  std::size_t width = 0;
  for (const Parameter& p : params) width = std::max(width, p.label.size());
  std::string out;
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Parameter& p = params[i];
    if (i > 0 && Group(p.key) != Group(params[i - 1].key)) out += "\n";
    out += p.label + std::string(width + 2 - p.label.size(), ' ') + ParameterText(p) + "\n";
  }
  return out;
}

std::string DiffText(const std::vector<Difference>& diff) {
  std::string out;
  for (const Difference& d : diff) {
    out += d.label + ": " + SideText(d.a) + " \u2192 " + SideText(d.b) + "\n";
  }
  return out;
}

}  // namespace velmark
