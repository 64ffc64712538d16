#include "report/report_diff.h"

#include <unordered_map>

namespace velmark {

std::vector<Difference> DiffParameters(const ParameterList& a, const ParameterList& b) {
  std::unordered_map<std::string, const Parameter*> in_b, in_a;
  for (const Parameter& p : b) in_b.emplace(p.key, &p);
  for (const Parameter& p : a) in_a.emplace(p.key, &p);
  std::vector<Difference> out;
  for (const Parameter& p : a) {
    const auto it = in_b.find(p.key);
    if (it == in_b.end()) {
      out.push_back({p.key, p.label, p, std::nullopt});
    } else if (it->second->value != p.value || it->second->shown != p.shown) {
      out.push_back({p.key, p.label, p, *it->second});
    }
  }
  for (const Parameter& p : b) {
    if (!in_a.contains(p.key)) out.push_back({p.key, p.label, std::nullopt, p});
  }
  return out;
}

}  // namespace velmark
