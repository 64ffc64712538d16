#include "app/program_host.h"

namespace velmark {

SinglePortGate::SinglePortGate(std::unique_ptr<SerialPort> inner, int com)
    : inner_(std::move(inner)), name_("COM" + std::to_string(com)) {}

SerialStatus SinglePortGate::Init(int frame_size, int max_units) {
  return inner_->Init(frame_size, max_units);
}

SerialStatus SinglePortGate::Open(const std::string& port_name, int baud) {
  error_.clear();
  if (port_name != name_) {
    inner_->Close();
    error_ = port_name + ": no such port";
    return SerialStatus::NotFound;
  }
  return inner_->Open(port_name, baud);
}

SerialStatus SinglePortGate::Transact(Frame& frame, int timeout_ms, bool wait_reply,
                                      bool before_block_read, int count) {
  error_.clear();
  return inner_->Transact(frame, timeout_ms, wait_reply, before_block_read, count);
}

SerialStatus SinglePortGate::ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) {
  error_.clear();
  return inner_->ReadData(block, timeout_ms, flags);
}

std::string SinglePortGate::LastErrorText() const {
  return error_.empty() ? inner_->LastErrorText() : error_;
}

SimLinePanel::SimLinePanel(ui::Platform& platform, const std::vector<int>& ids,
                           std::function<void(int, bool)> set_answering)
    : Window(platform, "SimLine") {
  SetCaption("Simulated line");
  int top = 120;
  for (int id : ids) {
    auto& stop = StopAnswering.Add(id);
    auto& resume = ResumeAnswering.Add(id);
    auto& state = State.Add(id);
    stop.SetCaption("Stop ID " + std::to_string(id));
    resume.SetCaption("Resume ID " + std::to_string(id));
    state.SetCaption("answering");
    stop.Move(120, top, 1455, 375);
    resume.Move(1695, top, 1455, 375);
    state.Move(3270, top + 60, 1215, 255);
    stop.OnClick = [&state, set_answering, id] {
      set_answering(id, false);
      state.SetCaption("silent");
    };
    resume.OnClick = [&state, set_answering, id] {
      set_answering(id, true);
      state.SetCaption("answering");
    };
    top += 495;
  }
  Register("StopAnswering", StopAnswering);
  Register("ResumeAnswering", ResumeAnswering);
  Register("State", State);
  SetClientSize(4605, top + 120);
}

ProgramHost::ProgramHost(ui::Platform& platform, std::filesystem::path data_folder, HostLine line)
    : data_folder_(std::move(data_folder)) {
  ProgramOptions options;
  options.start_folder = data_folder_;
  options.make_probe_port = std::move(line.make_probe_port);
  options.describe_port = std::move(line.describe_port);
  program_ = std::make_unique<Program>(platform, std::move(line.line), std::move(options));
  if (line.set_answering && !line.unit_ids.empty()) {
    panel_ = std::make_unique<SimLinePanel>(platform, line.unit_ids, line.set_answering);
  }
}

ProgramHost::~ProgramHost() = default;

void ProgramHost::Start() {
  if (panel_) panel_->Show();
  program_->Start();
}

ui::Window* ProgramHost::EditWindow(int unit) {
  Program& p = *program_;
  if (unit >= 0) return p.ExistingEditWindow(unit);
  // The window of the current unit when it is loaded, else the only loaded one.
  if (FrmKVRxxxA* w = p.ExistingEditWindow(p.State().CurUnit); w && w->Loaded()) return w;
  ui::Window* found = nullptr;
  for (int u = 0; u < kUnitCount; ++u) {
    FrmKVRxxxA* w = p.ExistingEditWindow(u);
    if (w && w->Loaded()) {
      if (found) return nullptr;  // more than one: the scenario must say which
      found = w;
    }
  }
  return found;
}

ui::Window* ProgramHost::FindWindow(const std::string& name, int unit) {
  Program& p = *program_;
  if (name == "FrmKVRxxxA") return EditWindow(unit);
  ui::Window* const windows[] = {&p.Splash(),    &p.Main(),    &p.SelPort(),  &p.Connect(),
                                 &p.SearchNet(), &p.Version(), &p.Store(),    &p.Read(),
                                 &p.Password(),  &p.CopyOut(), &p.EditLabel()};
  for (ui::Window* w : windows) {
    if (w->Name() == name) return w;
  }
  if (name == p.ViewGraph().Name()) return &p.ViewGraph();
  if (panel_ && name == panel_->Name()) return panel_.get();
  return nullptr;
}

}  // namespace velmark
