#include "ui/scenario_options.h"

#include <charconv>

namespace velmark::ui {

namespace {

bool ParseIds(const std::string& text, std::vector<int>& ids) {
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find(',', pos);
    if (end == std::string::npos) end = text.size();
    int id = 0;
    auto [ptr, ec] = std::from_chars(text.data() + pos, text.data() + end, id);
    if (ec != std::errc() || ptr != text.data() + end || id < 1 || id > 32) return false;
    ids.push_back(id);
    pos = end + 1;
  }
  return !ids.empty();
}

}  // namespace

OptionsResult ParseScenarioOptions(const std::vector<std::string>& args) {
  OptionsResult r;
  ScenarioOptions& o = r.options;
  int hosts = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto next = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string value;
    if (a == "--gallery") {
      o.gallery = true;
      ++hosts;
    } else if (a == "--demo") {
      o.demo = true;
      ++hosts;
    } else if (a == "--qt") {
      o.qt = true;
    } else if (a == "--port") {
      if (!next(o.port) || o.port.rfind("COM", 0) != 0) r.error = "--port needs COMn";
      ++hosts;
    } else if (a == "--data") {
      if (!next(value)) r.error = "--data needs a folder";
      o.data = value;
    } else if (a == "--sim") {
      ++hosts;
      if (!next(value)) {
        r.error = "--sim needs usb or rs485 IDS";
      } else if (value == "usb") {
        o.sim = SimulatedLine::Usb;
      } else if (value == "rs485") {
        o.sim = SimulatedLine::Rs485;
        std::string ids;
        if (!next(ids) || !ParseIds(ids, o.sim_ids)) r.error = "--sim rs485 needs IDS like 3,17";
      } else {
        r.error = "--sim needs usb or rs485 IDS";
      }
    } else if (a.rfind("--", 0) == 0) {
      r.error = "unknown option " + a;
    } else {
      o.files.push_back(a);
    }
    if (!r.error.empty()) return r;
  }
  if (hosts > 1) {
    r.error = "choose one of --gallery, --port, --sim and --demo";
  } else if (o.files.empty()) {
    r.error = "no scenario given";
  }
  return r;
}

}  // namespace velmark::ui
