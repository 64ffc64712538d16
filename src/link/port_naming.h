#pragma once
// How the program's port names ("COM3") map to Linux device paths.
//
// The program stores a COM port number and opens "COM" + number. On Linux:
//  1. An entry named exactly COM<n> in the data folder wins, normally a symbolic link or a
//     device node (`ln -s /dev/pts/7 COM3` reaches a simulated unit on a pseudo-terminal,
//     `ln -s /dev/ttyUSB1 COM1` pins an adapter). It wins even when its target is missing, so
//     that a broken link is reported on that name instead of silently opening another port.
//  2. Otherwise COM1, COM2, ... are the machine's serial ports in this order:
//     a. USB adapters by persistent id, /dev/serial/by-id/* sorted by name (the order does not
//        change when adapters are plugged in another order);
//     b. the remaining tty devices that sysfs backs with hardware, by family (ttyS, ttyAMA,
//        ttyUSB, ttyACM), then by number. A device counts when /sys/class/tty/<name>/device
//        exists and, where the serial core publishes a `type`, that type is not 0 (type 0 is a
//        placeholder ttyS with no UART behind it, present on most PCs up to ttyS31).
//     A device already listed through a by-id link is not listed again.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmark {

// Roots of the device and sysfs trees; tests point them at a fake tree.
struct DeviceRoots {
  std::filesystem::path dev = "/dev";
  std::filesystem::path sys = "/sys";
};

struct PortInfo {
  int number;               // n of COM<n>
  std::string device_path;  // what Open opens
  bool from_data_folder;    // true when a COM<n> entry in the data folder supplies it
};

// Largest port number a name may carry; the port window offers fewer.
inline constexpr int kMaxComNumber = 255;

// "COM3" -> 3. The prefix is accepted in any case; the number has no sign, no leading zero and
// lies in 1..kMaxComNumber. Anything else is not a port name.
std::optional<int> ParseComName(const std::string& com_name);

// The machine's serial ports in COM order (rule 2 above), as device paths.
std::vector<std::string> MachinePorts(const DeviceRoots& roots = {});

// The device path behind a port name, or nothing for a malformed name or a number beyond the
// ports that exist.
std::optional<std::string> ResolvePortName(const std::string& com_name,
                                           const std::filesystem::path& data_folder,
                                           const DeviceRoots& roots = {});

// Every COM<n>, n = 1..max, that resolves, in number order.
std::vector<PortInfo> ListPorts(const std::filesystem::path& data_folder, int max = 40,
                                const DeviceRoots& roots = {});

}  // namespace velmark
