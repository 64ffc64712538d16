#include "ui/scenario_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

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

bool ParseWhole(std::string_view text, int lo, int hi, int& out) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  int value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || ptr != text.data() + text.size() || value < lo || value > hi) {
    return false;
  }
  out = value;
  return true;
}

// "0x19" (every unit) or "25@3" (the unit with ID 3); the ID is checked once the line is known.
bool ParseMute(const std::string& text, MutedCommand& mute) {
  const std::string_view all(text);
  const std::size_t at = all.find('@');
  int code = 0;
  if (!ParseWhole(all.substr(0, at), 0, 255, code)) return false;
  mute.code = static_cast<std::uint8_t>(code);
  mute.id = -1;
  return at == std::string_view::npos || ParseWhole(all.substr(at + 1), 0, 32, mute.id);
}

// The simulated line's options make sense only with --sim, and a muted unit must be on it.
std::string CheckSimulatedLine(const ScenarioOptions& o, bool block_reply_given) {
  if (o.sim == SimulatedLine::None) {
    if (block_reply_given) return "--block-reply needs --sim";
    if (!o.sim_muted.empty()) return "--mute needs --sim";
    return {};
  }
  for (const MutedCommand& m : o.sim_muted) {
    if (m.id < 0) continue;
    const auto& ids = o.sim_ids;
    const bool present = o.sim == SimulatedLine::Usb
                             ? m.id == 0
                             : std::find(ids.begin(), ids.end(), m.id) != ids.end();
    if (!present) return "--mute: no simulated unit has ID " + std::to_string(m.id);
  }
  return {};
}

}  // namespace

OptionsResult ParseScenarioOptions(const std::vector<std::string>& args) {
  OptionsResult r;
  ScenarioOptions& o = r.options;
  int hosts = 0;
  bool block_reply_given = false;
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
    } else if (a == "--block-reply") {
      block_reply_given = true;
      if (!next(value)) {
        r.error = "--block-reply needs framed or bare";
      } else if (value == "framed") {
        o.sim_block_reply = SimulatedBlockReply::Framed;
      } else if (value == "bare") {
        o.sim_block_reply = SimulatedBlockReply::Bare;
      } else {
        r.error = "--block-reply needs framed or bare, saw " + value;
      }
    } else if (a == "--mute") {
      MutedCommand mute;
      if (!next(value) || !ParseMute(value, mute)) {
        r.error = "--mute needs CODE or CODE@ID (CODE 0..255 or 0x00..0xFF, ID 0..32)";
      } else {
        o.sim_muted.push_back(mute);
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
  } else if (std::string error = CheckSimulatedLine(o, block_reply_given); !error.empty()) {
    r.error = error;
  } else if (o.files.empty()) {
    r.error = "no scenario given";
  }
  return r;
}

}  // namespace velmark::ui
