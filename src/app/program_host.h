#pragma once
// The program as a scenario runs it: a Program on the scenario's platform, its line recorded,
// its windows found by name. A simulated line adds the window "SimLine", a panel whose buttons
// make a simulated unit stop or resume answering, so that a scenario can act out a unit that
// goes away.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "ui/controls.h"
#include "ui/scenario_host.h"

namespace velmark {

// What the host puts on the program's line.
struct HostLine {
  std::unique_ptr<SerialPort> line;  // none: a port that never opens
  std::function<std::unique_ptr<SerialPort>()> make_probe_port;
  std::function<std::string(int com)> describe_port;
  // Bus IDs of simulated units, and how to make one stop (false) or resume (true) answering.
  std::vector<int> unit_ids;
  std::function<void(int id, bool answering)> set_answering;
};

// A port that opens only under one name ("COM1") and passes everything else to `inner`:
// a simulated line then sits on one COM port, as a real one does.
class SinglePortGate final : public SerialPort {
 public:
  SinglePortGate(std::unique_ptr<SerialPort> inner, int com);
  SerialStatus Init(int frame_size, int max_units) override;
  SerialStatus Open(const std::string& port_name, int baud) override;
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override;
  SerialStatus Close() override { return inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override;
  std::string LastErrorText() const override;

 private:
  std::unique_ptr<SerialPort> inner_;
  std::string name_;
  std::string error_;
};

// The panel of the simulated line: StopAnswering(id), ResumeAnswering(id).
class SimLinePanel : public ui::Window {
 public:
  SimLinePanel(ui::Platform& platform, const std::vector<int>& ids,
               std::function<void(int id, bool answering)> set_answering);
  ui::ControlArray<ui::Button> StopAnswering;
  ui::ControlArray<ui::Button> ResumeAnswering;
  ui::ControlArray<ui::Label> State;  // "answering" / "silent"
};

class ProgramHost final : public ui::ScenarioHost {
 public:
  ProgramHost(ui::Platform& platform, std::filesystem::path data_folder, HostLine line);
  ~ProgramHost() override;

  void Start() override;
  ui::Window* FindWindow(const std::string& name, int unit) override;
  std::vector<Frame> TakeFrames() override { return program_->Line().TakeSent(); }
  std::filesystem::path DataFolder() override { return data_folder_; }

  Program& GetProgram() { return *program_; }

 private:
  ui::Window* EditWindow(int unit);

  std::filesystem::path data_folder_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<SimLinePanel> panel_;
};

}  // namespace velmark
