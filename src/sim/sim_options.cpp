#include "sim/sim_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>

namespace velmark {
namespace {

// Each option's action; a non-empty result is the error.
using OptionAction = std::string (*)(SimOptions& o, std::string_view value);

struct OptionSpec {
  std::string_view name;
  bool takes_value;
  OptionAction apply;
};

template <typename T>
std::optional<T> ParseInteger(std::string_view text, T lo, T hi) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc{} || end != text.data() + text.size() || value < lo || value > hi) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto comma = text.find(',');
    parts.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

std::string Bad(std::string_view option, std::string_view value, std::string_view wanted) {
  return std::string(option) + " " + std::string(value) + ": " + std::string(wanted);
}

std::string SetIds(SimOptions& o, std::string_view value) {
  o.ids.clear();
  for (std::string_view part : SplitCommas(value)) {
    const auto id = ParseInteger<int>(part, 1, kMaxBusId);
    if (!id) return Bad("--ids", value, "IDs are 1..32, separated by commas");
    if (std::find(o.ids.begin(), o.ids.end(), *id) != o.ids.end()) {
      return Bad("--ids", value, "an ID may appear only once");
    }
    o.ids.push_back(*id);
  }
  return {};
}

std::string SetProbability(double& out, std::string_view option, std::string_view value) {
  const auto p = ParseNumber(value);
  if (!p || *p < 0.0 || *p > 1.0) return Bad(option, value, "a probability 0..1");
  out = *p;
  return {};
}

std::string SetCount(std::optional<long>& out, std::string_view option, std::string_view value) {
  const auto n = ParseInteger<long>(value, 0, 1'000'000'000L);
  if (!n) return Bad(option, value, "a number of requests");
  out = *n;
  return {};
}

std::string SetLevels(SimOptions& o, std::string_view value) {
  const std::vector<std::string_view> parts = SplitCommas(value);
  SourceLevels levels{};
  if (parts.size() != levels.size()) return Bad("--input-levels", value, "four levels in dBu");
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto dbu = ParseNumber(parts[i]);
    if (!dbu || *dbu < -100.0 || *dbu > 30.0) {
      return Bad("--input-levels", value, "levels -100..30 dBu");
    }
    levels[i] = *dbu;
  }
  o.input_levels = levels;
  return {};
}

std::string SetBlockReply(SimOptions& o, std::string_view value) {
  if (value == "framed") {
    o.block_reply = BlockReplyStyle::Framed;
  } else if (value == "bare") {
    o.block_reply = BlockReplyStyle::Bare;
  } else {
    return Bad("--block-reply", value, "framed or bare");
  }
  return {};
}

constexpr std::array<OptionSpec, 19> kOptions = {{
    {"--link", true, [](SimOptions& o, std::string_view v) { return (o.link = v, std::string()); }},
    {"--usb", false,
     [](SimOptions& o, std::string_view) { return (o.mode = BusMode::Usb, std::string()); }},
    {"--rs485", false,
     [](SimOptions& o, std::string_view) { return (o.mode = BusMode::Rs485, std::string()); }},
    {"--ids", true, SetIds},
    {"--state", true,
     [](SimOptions& o, std::string_view v) { return (o.state_file = v, std::string()); }},
    {"--log", true,
     [](SimOptions& o, std::string_view v) { return (o.log_file = v, std::string()); }},
    {"--baud", true,
     [](SimOptions& o, std::string_view v) {
       const auto baud = ParseInteger<int>(v, 300, 115200);
       return baud ? (o.baud = *baud, std::string()) : Bad("--baud", v, "300..115200");
     }},
    {"--latency-ms", true,
     [](SimOptions& o, std::string_view v) {
       const auto ms = ParseInteger<int>(v, 0, 1000);
       return ms ? (o.latency_ms = *ms, std::string()) : Bad("--latency-ms", v, "0..1000 ms");
     }},
    {"--no-pacing", false,
     [](SimOptions& o, std::string_view) { return (o.pacing = false, std::string()); }},
    {"--seed", true,
     [](SimOptions& o, std::string_view v) {
       const auto seed = ParseInteger<std::uint64_t>(v, 0, UINT64_MAX);
       return seed ? (o.seed = *seed, std::string()) : Bad("--seed", v, "a whole number");
     }},
    {"--drop", true,
     [](SimOptions& o, std::string_view v) { return SetProbability(o.drop, "--drop", v); }},
    {"--garble", true,
     [](SimOptions& o, std::string_view v) { return SetProbability(o.garble, "--garble", v); }},
    {"--mute-cmd", true,
     [](SimOptions& o, std::string_view v) {
       const auto code = ParseInteger<int>(v, 0, 255);
       return code ? (o.mute_cmd = static_cast<std::uint8_t>(*code), std::string())
                   : Bad("--mute-cmd", v, "a command code 0..255 (0x50 or 80)");
     }},
    {"--stall-after", true,
     [](SimOptions& o, std::string_view v) { return SetCount(o.stall_after, "--stall-after", v); }},
    {"--hangup-after", true,
     [](SimOptions& o, std::string_view v) {
       return SetCount(o.hangup_after, "--hangup-after", v);
     }},
    {"--faults-after", true,
     [](SimOptions& o, std::string_view v) {
       return SetCount(o.faults_after, "--faults-after", v);
     }},
    {"--input-levels", true, SetLevels},
    {"--block-reply", true, SetBlockReply},
    {"--help", false,
     [](SimOptions& o, std::string_view) { return (o.help = true, std::string()); }},
}};

const OptionSpec* FindOption(std::string_view name) {
  if (name == "-h") name = "--help";
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string Finish(SimOptions& o, bool ids_given) {
  if (o.mode == BusMode::Usb && ids_given) return "--ids needs --rs485";
  if (o.mode == BusMode::Rs485 && o.ids.empty()) o.ids = {1};
  return {};
}

}  // namespace

ParsedOptions ParseSimOptions(std::span<const std::string_view> args) {
  SimOptions o;
  bool ids_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> value;
    if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string_view::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    const OptionSpec* option = FindOption(name);
    if (option == nullptr) return {std::nullopt, "unknown option " + std::string(args[i])};
    if (option->takes_value && !value) {
      if (i + 1 >= args.size()) return {std::nullopt, std::string(name) + " needs a value"};
      value = args[++i];
    } else if (!option->takes_value && value) {
      return {std::nullopt, std::string(name) + " takes no value"};
    }
    if (std::string error = option->apply(o, value.value_or("")); !error.empty()) {
      return {std::nullopt, error};
    }
    ids_given = ids_given || name == "--ids";
  }
  if (std::string error = Finish(o, ids_given); !error.empty()) return {std::nullopt, error};
  return {o, {}};
}

std::string SimUsage() {
  return R"(Usage: velmark-sim [options]
Serves simulated VELMARK units on a pseudo-terminal.
  --link PATH          make PATH (e.g. ./COM3 in the program's data folder) a link to the line
  --usb                one unit answering address 0 (default)
  --rs485              units on an RS-485 bus, each answering its own ID
  --ids LIST           IDs of the RS-485 units, e.g. 3,17 (default 1)
  --state FILE         load the units' memories at start, save them after each store and on exit
  --log FILE           append every request and reply, time-stamped, in hex
  --baud N             wire speed the bytes are paced at (default 9600)
  --latency-ms N       processing delay before a reply (default 2)
  --no-pacing          answer at once, without wire timing
  --input-levels LIST  signal on inputs A..D in dBu (default 4,-2,-10,-20)
  --block-reply STYLE  answer a block read framed (reply frame, then block; default) or bare
  --seed N             seed of the meters and the faults (default 1)
  --drop P             ignore a request with probability P
  --garble P           corrupt one reply byte with probability P
  --mute-cmd CODE      never answer command CODE (e.g. 0x12)
  --stall-after N      stop answering after N requests
  --hangup-after N     hang up the line after N requests, then serve on a new one
  --faults-after N     carry N requests faithfully before --drop and --garble start
  --help               this text
  --version            the program's version
)";
}

SimBus BuildBus(const SimOptions& o) {
  SimBus bus = o.mode == BusMode::Usb ? SimBus::Usb(o.seed) : SimBus::Rs485(o.ids, o.seed);
  bus.SetFaults(LineFaults{o.drop, o.garble, o.stall_after, o.seed, o.faults_after.value_or(0)});
  bus.SetBlockReply(o.block_reply);
  for (SimUnit& unit : bus.Units()) {
    if (o.mute_cmd) unit.MuteCommand(*o.mute_cmd);
    if (o.input_levels) {
      for (int i = 0; i < kInputCount; ++i) unit.Meters().SetInputLevel(i, (*o.input_levels)[i]);
    }
  }
  return bus;
}

std::string ServingLine(const SimOptions& o, const std::string& slave_path) {
  std::string line = "velmark-sim: serving ";
  if (o.mode == BusMode::Usb) {
    line += "USB unit";
  } else {
    line += o.ids.size() == 1 ? "RS-485 unit " : "RS-485 units ";
    for (std::size_t i = 0; i < o.ids.size(); ++i) {
      line += (i > 0 ? ", " : "") + std::to_string(o.ids[i]);
    }
  }
  if (o.block_reply == BlockReplyStyle::Bare) line += " (block reads answered bare)";
  line += " on " + slave_path;
  if (!o.link.empty()) line += " (link " + o.link + ")";
  return line;
}

}  // namespace velmark
