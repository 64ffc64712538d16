#include "link/port_naming.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <set>
#include <string_view>
#include <system_error>
#include <tuple>

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kComPrefix = "COM";

// tty families offered after the by-id links: built-in UARTs first, then the USB serial
// classes whose adapters have no persistent id (or whose by-id link is missing).
constexpr std::array<std::string_view, 4> kTtyFamilies{"ttyS", "ttyAMA", "ttyUSB", "ttyACM"};

// The serial core's `type` attribute is 0 (PORT_UNKNOWN) for a placeholder with no UART.
constexpr int kPlaceholderUartType = 0;

// Digits only, no leading zero, at most three of them: the number part of "COM12" or "ttyS12".
std::optional<int> ParseNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || digits.front() == '0') {
    return std::nullopt;
  }
  int value = 0;
  for (const char c : digits) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

// tty number within a family: "ttyS0" is 0, so a lone "0" is allowed here.
std::optional<int> TtyNumber(std::string_view name, std::string_view family) {
  if (!name.starts_with(family)) {
    return std::nullopt;
  }
  const std::string_view digits = name.substr(family.size());
  if (digits == "0") {
    return 0;
  }
  return ParseNumber(digits);
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

fs::path CanonicalOrSelf(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  return ec ? path : canonical;
}

// A tty counts as a port when sysfs shows a device behind it that is not a placeholder UART.
bool HasHardware(const fs::path& sys, const std::string& name) {
  const fs::path tty_class = sys / "class" / "tty" / name;
  if (!Exists(tty_class / "device")) {
    return false;
  }
  std::ifstream type_file(tty_class / "type");
  int type = kPlaceholderUartType;
  if (type_file >> type) {
    return type != kPlaceholderUartType;
  }
  return true;  // not a serial-core driver (cdc-acm, usb-serial): no type, always real
}

// by-id links sorted by name; a dangling link (adapter just unplugged) is left out.
std::vector<fs::path> ByIdPorts(const fs::path& dev) {
  std::vector<fs::path> links;
  std::error_code ec;
  for (fs::directory_iterator it(dev / "serial" / "by-id", ec), end; !ec && it != end;
       it.increment(ec)) {
    if (Exists(it->path())) {
      links.push_back(it->path());
    }
  }
  std::sort(links.begin(), links.end());
  return links;
}

struct TtyCandidate {
  std::size_t family;
  int number;
  fs::path path;
};

std::vector<TtyCandidate> TtyPorts(const DeviceRoots& roots) {
  std::vector<TtyCandidate> found;
  std::error_code ec;
  for (fs::directory_iterator it(roots.dev, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    for (std::size_t family = 0; family < kTtyFamilies.size(); ++family) {
      const std::optional<int> number = TtyNumber(name, kTtyFamilies[family]);
      if (number && Exists(it->path()) && HasHardware(roots.sys, name)) {
        found.push_back({family, *number, it->path()});
      }
    }
  }
  std::sort(found.begin(), found.end(), [](const TtyCandidate& a, const TtyCandidate& b) {
    return std::tie(a.family, a.number) < std::tie(b.family, b.number);
  });
  return found;
}

// The data folder's own COM<n> entry, if any: a link (even a dangling one) or any other file.
std::optional<std::string> DataFolderEntry(const fs::path& data_folder, int number) {
  if (data_folder.empty()) {
    return std::nullopt;
  }
  const fs::path entry = data_folder / (std::string(kComPrefix) + std::to_string(number));
  std::error_code ec;
  if (fs::symlink_status(entry, ec).type() == fs::file_type::not_found || ec) {
    return std::nullopt;
  }
  return entry.string();
}

// COM<n> as the n-th machine port, if there are that many.
std::optional<std::string> MachinePort(int number, const std::vector<std::string>& machine) {
  const auto index = static_cast<std::size_t>(number - 1);
  if (number < 1 || index >= machine.size()) {
    return std::nullopt;
  }
  return machine[index];
}

}  // namespace

std::optional<int> ParseComName(const std::string& com_name) {
  if (com_name.size() <= kComPrefix.size()) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < kComPrefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(com_name[i])) != kComPrefix[i]) {
      return std::nullopt;
    }
  }
  const std::optional<int> number = ParseNumber(std::string_view(com_name).substr(3));
  if (!number || *number > kMaxComNumber) {
    return std::nullopt;
  }
  return number;
}

std::vector<std::string> MachinePorts(const DeviceRoots& roots) {
  std::vector<std::string> ports;
  std::set<fs::path> taken;  // canonical devices already reached through a by-id link
  for (const fs::path& link : ByIdPorts(roots.dev)) {
    ports.push_back(link.string());
    taken.insert(CanonicalOrSelf(link));
  }
  for (const TtyCandidate& tty : TtyPorts(roots)) {
    if (!taken.contains(CanonicalOrSelf(tty.path))) {
      ports.push_back(tty.path.string());
    }
  }
  return ports;
}

std::optional<std::string> ResolvePortName(const std::string& com_name,
                                           const std::filesystem::path& data_folder,
                                           const DeviceRoots& roots) {
  const std::optional<int> number = ParseComName(com_name);
  if (!number) {
    return std::nullopt;
  }
  if (std::optional<std::string> own = DataFolderEntry(data_folder, *number)) {
    return own;  // no need to scan the machine
  }
  return MachinePort(*number, MachinePorts(roots));
}

std::vector<PortInfo> ListPorts(const std::filesystem::path& data_folder, int max,
                                const DeviceRoots& roots) {
  const std::vector<std::string> machine = MachinePorts(roots);
  std::vector<PortInfo> ports;
  for (int number = 1; number <= std::min(max, kMaxComNumber); ++number) {
    if (std::optional<std::string> own = DataFolderEntry(data_folder, number)) {
      ports.push_back({number, *own, true});
    } else if (std::optional<std::string> path = MachinePort(number, machine)) {
      ports.push_back({number, *path, false});
    }
  }
  return ports;
}

}  // namespace velmark
