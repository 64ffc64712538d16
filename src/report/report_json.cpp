#include "report/report_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace velmark {
namespace {

using Json = nlohmann::ordered_json;

// Whole numbers as JSON integers (1000, not 1000.0); the others in the shortest form that
// reads back as the same double.
Json ValueJson(const ParamValue& value) {
  if (const auto* word = std::get_if<std::string>(&value)) return *word;
  if (const auto* on = std::get_if<bool>(&value)) return *on;
  const double x = std::get<double>(value);
  if (x == std::trunc(x) && std::fabs(x) < 1e15) return static_cast<long long>(x);
  return x;
}

Json ParameterJson(const Parameter& p) {
  return Json{{"key", p.key},
              {"label", p.label},
              {"value", ValueJson(p.value)},
              {"unit", p.unit},
              {"text", ParameterText(p)}};
}

Json SideJson(const std::optional<Parameter>& p) {
  if (!p) return nullptr;
  return Json{{"value", ValueJson(p->value)}, {"text", ParameterText(*p)}};
}

// Names and words are valid UTF-8 already; a broken byte would be replaced, never thrown on.
std::string Text(const Json& j) {
  return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string DumpJson(const ParameterList& params, const std::string& source) {
  Json list = Json::array();
  for (const Parameter& p : params) list.push_back(ParameterJson(p));
  return Text(Json{{"format", kReportFormat}, {"source", source}, {"parameters", list}});
}

std::string DiffJson(const std::vector<Difference>& diff, const std::string& a,
                     const std::string& b) {
  Json list = Json::array();
  for (const Difference& d : diff) {
    list.push_back(
        Json{{"key", d.key}, {"label", d.label}, {"a", SideJson(d.a)}, {"b", SideJson(d.b)}});
  }
  return Text(Json{{"format", kReportFormat},
                   {"a", a},
                   {"b", b},
                   {"equal", diff.empty()},
                   {"differences", list}});
}

}  // namespace velmark
