#include "app/machine_ports.h"

#include <memory>

#include "link/port_naming.h"
#include "link/posix_serial_port.h"

namespace velmark {

std::string DescribeMachinePort(const std::filesystem::path& data, int com) {
  const std::string name = "COM" + std::to_string(com);
  const auto path = ResolvePortName(name, data);
  return path ? name + " = " + *path : name + ": no such port";
}

ProgramOptions MachinePortOptions(const std::filesystem::path& data) {
  ProgramOptions options;
  options.start_folder = data;
  options.make_probe_port = [data] { return std::make_unique<PosixSerialPort>(data); };
  options.describe_port = [data](int com) { return DescribeMachinePort(data, com); };
  return options;
}

}  // namespace velmark
