#pragma once
// Two configurations compared parameter by parameter, by key.

#include <optional>
#include <vector>

#include "report/parameters.h"

namespace velmark {

struct Difference {
  std::string key;
  std::string label;
  std::optional<Parameter> a, b;  // a side is empty when only the other has the key
};

// The parameters whose value or window text differ, in the order of `a`, then those only `b`
// has, in its order.
std::vector<Difference> DiffParameters(const ParameterList& a, const ParameterList& b);

}  // namespace velmark
