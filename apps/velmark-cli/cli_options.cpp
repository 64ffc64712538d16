#include "cli_options.h"

#include <algorithm>
#include <charconv>

#include "cli_dump.h"
#include "cli_response.h"
#include "link/port_naming.h"

namespace velmark::cli {
namespace {

constexpr const char* kVerbs[] = {"ports",  "ping", "scan",  "raw",    "info",    "read",
                                  "config", "help", "store", "recall", "programs"};

std::optional<long> ParseNumber(const std::string& text, int base) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// The text a response option fills, or null for any other word.
std::optional<std::string>* ResponseOption(CliOptions& o, const std::string& a) {
  if (a == "--channel") return &o.channel;
  if (a == "--with-input") return &o.with_input;
  if (a == "--csv") return &o.csv;
  if (a == "--png") return &o.png;
  if (a == "--svg") return &o.svg;
  return nullptr;
}

}  // namespace

const char* const kCliHelp =
    "Usage: velmark-cli VERB [ARGS] [--port COMn] [--usb | --rs485] [--id N] [--data DIR]\n"
    "\n"
    "Talks to VELMARK units on a serial line at 9600 baud, as the program does.\n"
    "\n"
    "verbs:\n"
    "  ports               every COM n (1..40) that resolves: its device, and whether it\n"
    "                      can be opened (and why not)\n"
    "  ping                the presence test: the USB unit (ID 0), or with --rs485 the unit\n"
    "                      --id N\n"
    "  scan                search the line: USB ID 0, or with --rs485 IDs 1..32 (200 ms\n"
    "                      each, 150 ms pause after a silent one)\n"
    "  raw CMD [D0..D7]    send one frame (bytes in decimal or 0x hex, missing ones 0) and\n"
    "                      print the 13-byte reply in hex\n"
    "  info                read the unit as the program does and print its name, firmware\n"
    "                      version, system settings, program memories, current program\n"
    "                      name and link mask\n"
    "  read FILE           read the whole configuration and write it as a 1651-byte preset\n"
    "                      file (the file is replaced only when the read is complete)\n"
    "  save FILE           the same as read FILE\n"
    "  load FILE           write a 1651-byte preset file into the unit: its parameters, the\n"
    "                      source of inputs A/B and the delay unit (a shorter file is\n"
    "                      refused and nothing is sent)\n"
    "  config --port COMn [--usb | --rs485]\n"
    "                      write init.cfg in the data folder: the port and connection type\n"
    "                      the program offers the next time it connects\n"
    "  store N NAME        store the unit's current configuration into program memory N\n"
    "                      (1..32) under NAME (at most 16 ASCII characters), and write\n"
    "                      Eeprom.txt in the data folder\n"
    "  recall N            load program memory N into the unit\n"
    "  programs            the unit's 32 program memories: in use or empty, and the name\n"
    "  dump [SOURCE] [--json]\n"
    "                      every parameter of a preset file or a unit in the words and\n"
    "                      units of the edit window, as text or JSON (docs/json-format.md);\n"
    "                      SOURCE: a preset file, COMn or COMn:ID (none: the unit of --port)\n"
    "  diff A B [--json]   each parameter that differs between two sources (preset files or\n"
    "                      units), with both values; status 0 equal, 1 different, 2 error;\n"
    "                      --git-driver takes the arguments git gives a diff command\n"
    "  response [SOURCE] [--channel X | --all] [--with-input X] (--csv | --png | --svg) FILE\n"
    "                      the frequency response of channel X (inputs A..D, outputs 1..4)\n"
    "                      of a preset file or a unit, as the edit window computes it: CSV\n"
    "                      text on the 1584-point grid, or the graph as a PNG or SVG picture;\n"
    "                      --all (the default) writes every channel, FILE-A.csv .. FILE-4.csv;\n"
    "                      --with-input X adds input X's EQ to output channels (outputs only)\n"
    "  help                this text\n"
    "\n"
    "options:\n"
    "  --port COMn         the port (default: the one in DATA/init.cfg)\n"
    "  --usb, --rs485      the connection type (default: the one in DATA/init.cfg, else USB)\n"
    "  --id N              the bus ID 1..32 of an RS-485 unit (ping, raw, info, read)\n"
    "  --data DIR          the data folder: init.cfg and the COM<n> links (default: .)\n"
    "  --version           the program's version\n"
    "\n"
    "COM names reach Linux devices through COM<n> links in the data folder, else through the\n"
    "machine's serial ports in a fixed order (see docs/serial-ports.md).\n"
    "Exit status: 0 on success, 1 when the line or a unit failed, 2 for a wrong command line.\n";

std::optional<std::uint8_t> ParseByte(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const auto v = hex ? ParseNumber(text.substr(2), 16) : ParseNumber(text, 10);
  if (!v || *v < 0 || *v > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*v);
}

ParsedCli ParseCli(const std::vector<std::string>& args) {
  ParsedCli out;
  CliOptions& o = out.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        out.error = a + " needs " + what;
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.verb = "help";
    } else if (a == "--port") {
      auto v = value("COMn");
      if (!v) return out;
      auto n = ParseComName(*v);
      if (!n) return {o, "--port needs a name COM1 .. COM255, saw " + *v};
      o.port = *n;
    } else if (a == "--rs485" || a == "--usb") {
      o.rs485 = a == "--rs485";
    } else if (a == "--id") {
      auto v = value("a bus ID 1..32");
      if (!v) return out;
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 1 || *n > 32) return {o, "--id needs a bus ID 1..32, saw " + *v};
      o.id = static_cast<int>(*n);
    } else if (a == "--data") {
      auto v = value("a folder");
      if (!v) return out;
      o.data = *v;
    } else if (auto* text = ResponseOption(o, a)) {
      auto v = value(a == "--channel" || a == "--with-input" ? "a channel A..D or 1..4" : "a file");
      if (!v) return out;
      *text = *v;
    } else if (a == "--all") {
      o.all_channels = true;
    } else if (a == "--json" || a == "--git-driver") {
      (a == "--json" ? o.json : o.git_driver) = true;
    } else if (a.rfind("--", 0) == 0) {
      return {o, "unknown option " + a};
    } else if (o.verb.empty()) {
      o.verb = a;
    } else {
      o.args.push_back(a);
    }
  }
  if (o.verb.empty()) return {o, "no verb given"};
  if (o.verb == "response") return {o, CheckResponseOptions(o)};
  if (o.channel || o.with_input || o.all_channels || o.csv || o.png || o.svg) {
    return {o, "--channel, --all, --with-input, --csv, --png and --svg are for response only"};
  }
  if (o.verb == "dump" || o.verb == "diff") return {o, CheckReportArgs(o)};
  if (o.json || o.git_driver) return {o, "--json and --git-driver are for dump and diff only"};
  // The preset verbs: one file each ("save" is "read" under the name the program's button has).
  if (o.verb == "load" || o.verb == "save") {
    if (o.args.size() == 1) return out;
    return {o, "wrong number of arguments for " + o.verb};
  }
  if (std::find(std::begin(kVerbs), std::end(kVerbs), o.verb) == std::end(kVerbs)) {
    return {o, "unknown verb " + o.verb};
  }
  const std::size_t max_args = o.verb == "raw"                          ? 9
                               : o.verb == "store"                      ? 2
                               : o.verb == "read" || o.verb == "recall" ? 1
                                                                        : 0;
  const std::size_t min_args = o.verb == "store"                                           ? 2
                               : o.verb == "raw" || o.verb == "read" || o.verb == "recall" ? 1
                                                                                           : 0;
  if (o.args.size() < min_args || o.args.size() > max_args) {
    return {o, "wrong number of arguments for " + o.verb};
  }
  if (o.verb == "config" && !o.port) return {o, "config needs --port COMn"};
  return out;
}

}  // namespace velmark::cli
