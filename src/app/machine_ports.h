#pragma once
// The program on the machine's own serial ports: probe ports for the port window and the text
// that names the device behind each COM number, both through the data folder's COM links.

#include <filesystem>
#include <string>

#include "app/program.h"

namespace velmark {

// "COM3 = /dev/ttyUSB0", or "COM3: no such port".
std::string DescribeMachinePort(const std::filesystem::path& data, int com);

// Options of a program that works in `data` on the machine's ports.
ProgramOptions MachinePortOptions(const std::filesystem::path& data);

}  // namespace velmark
