#include "cli_source.h"

#include <charconv>
#include <optional>

#include "cli_presets.h"
#include "cli_verbs.h"
#include "link/port_naming.h"
#include "programs/preset_image.h"

namespace velmark::cli {
namespace {

constexpr int kHighestId = 32;

struct UnitWord {
  int port = 0;
  std::optional<int> id;  // COMn:ID names an RS-485 unit
  bool bad_id = false;    // COMn: followed by anything but 1..32
};

// "COMn" or "COMn:ID"; anything else is a file name.
std::optional<UnitWord> ParseUnitWord(const std::string& word) {
  const auto colon = word.find(':');
  const auto port = ParseComName(word.substr(0, colon));
  if (!port) return std::nullopt;
  UnitWord unit{*port, std::nullopt};
  if (colon == std::string::npos) return unit;
  const std::string id = word.substr(colon + 1);
  int n = 0;
  const auto [ptr, ec] = std::from_chars(id.data(), id.data() + id.size(), n);
  unit.bad_id =
      id.empty() || ec != std::errc() || ptr != id.data() + id.size() || n < 1 || n > kHighestId;
  unit.id = n;
  return unit;
}

LoadedSource FromUnit(CliOptions o, const std::optional<UnitWord>& unit) {
  if (unit) {
    o.port = unit->port;
    if (unit->id) {
      o.rs485 = true;
      o.id = unit->id;
    }
  }
  LoadedSource out;
  out.error = ReadUnitImage(o, out.image, out.name);
  return out;
}

// The program's own preset reader and size rules: a whole image, or why not.
LoadedSource FromFile(const std::string& path) {
  LoadedSource out;
  out.name = path;
  const PresetFile file = ReadPresetFile(path);
  if (file.status != PresetRead::Ok) {
    out.error = PresetReadError(file, path);
    return out;
  }
  out.image = file.bytes;
  return out;
}

}  // namespace

LoadedSource LoadSource(const CliOptions& o, const std::string& word) {
  if (word.empty()) return FromUnit(o, std::nullopt);
  if (const auto unit = ParseUnitWord(word)) {
    if (unit->bad_id) return {{}, word, word + ": an RS-485 unit is COMn:ID with an ID 1..32"};
    return FromUnit(o, unit);
  }
  return FromFile(word);
}

}  // namespace velmark::cli
