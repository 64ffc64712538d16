#pragma once
// Builds the program's scenario host from the scenario program's options. Header only: it
// reaches the simulated line, which is not part of the program itself, so only the programs
// that link the simulator (velmark-scenario, the tests) include it.
//
//   --port COMn        the machine's serial ports through the data folder's COM links; a data
//                      folder without init.cfg gets one naming COMn (USB), so "OK" reaches it
//   --sim usb          one simulated unit, in process, on COM1
//   --sim rs485 IDS    simulated RS-485 units with these IDs, in process, on COM1
//   --demo             a line whose port never opens
//
// With --sim, --block-reply bare makes the units answer block reads with the block alone and
// each --mute CODE[@ID] makes every unit (or the one with that ID) ignore that command.

#include <filesystem>
#include <memory>
#include <string>

#include "app/init_cfg.h"
#include "app/machine_ports.h"
#include "app/program_host.h"
#include "link/port_naming.h"
#include "link/posix_serial_port.h"
#include "sim/sim_line.h"
#include "ui/scenario_options.h"

namespace velmark {

inline constexpr int kSimulatedCom = 1;

struct ProgramHostResult {
  std::unique_ptr<ProgramHost> host;
  std::string error;
};

inline HostLine SimulatedHostLine(SimBus bus) {
  HostLine out;
  auto sim = std::make_unique<SimLine>(std::move(bus));
  SimLine* units = sim.get();
  for (const SimUnit& u : units->Bus().Units()) out.unit_ids.push_back(u.Id());
  out.set_answering = [units](int id, bool answering) {
    if (SimUnit* u = units->Unit(id)) answering ? u->ResumeAnswering() : u->StopAnswering();
  };
  out.line = std::make_unique<SinglePortGate>(std::move(sim), kSimulatedCom);
  // The probe only opens and closes ports: a line with no unit on it does.
  out.make_probe_port = [] {
    return std::make_unique<SinglePortGate>(std::make_unique<SimLine>(SimBus::Rs485({})),
                                            kSimulatedCom);
  };
  out.describe_port = [](int com) {
    return com == kSimulatedCom ? "COM" + std::to_string(com) + " = simulated line" : std::string();
  };
  return out;
}

// The simulated line's fault and style options, applied to a fresh bus.
inline SimBus ConfiguredBus(SimBus bus, const ui::ScenarioOptions& o) {
  bus.SetBlockReply(o.sim_block_reply == ui::SimulatedBlockReply::Bare ? BlockReplyStyle::Bare
                                                                       : BlockReplyStyle::Framed);
  for (const ui::MutedCommand& m : o.sim_muted) {
    for (SimUnit& unit : bus.Units()) {
      if (m.id < 0 || unit.Id() == m.id) unit.MuteCommand(m.code);
    }
  }
  return bus;
}

inline ProgramHostResult MakeProgramHost(const ui::ScenarioOptions& o, ui::Platform& platform,
                                         const std::filesystem::path& data) {
  HostLine line;
  if (!o.port.empty()) {
    const auto com = ParseComName(o.port);
    if (!com) return {nullptr, "--port needs COMn, saw " + o.port};
    if (!std::filesystem::exists(data / kInitCfgName)) {
      InitCfg cfg;
      cfg.ComPort = static_cast<std::int16_t>(*com);
      if (auto error = WriteInitCfg(data, cfg); !error.empty()) return {nullptr, error};
    }
    line.line = std::make_unique<PosixSerialPort>(data);
    line.make_probe_port = [data] { return std::make_unique<PosixSerialPort>(data); };
    line.describe_port = [data](int n) { return DescribeMachinePort(data, n); };
  } else if (o.sim == ui::SimulatedLine::Usb) {
    line = SimulatedHostLine(ConfiguredBus(SimBus::Usb(), o));
  } else if (o.sim == ui::SimulatedLine::Rs485) {
    line = SimulatedHostLine(ConfiguredBus(SimBus::Rs485(o.sim_ids), o));
  } else if (!o.demo) {
    return {nullptr, "the program needs --port COMn, --sim usb, --sim rs485 IDS or --demo"};
  }
  return {std::make_unique<ProgramHost>(platform, data, std::move(line)), ""};
}

}  // namespace velmark
