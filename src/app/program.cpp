#include "app/program.h"

namespace velmark {
namespace {

// The port of a program that was given none: it never opens.
class AbsentPort final : public SerialPort {
 public:
  SerialStatus Init(int, int) override { return SerialStatus::Ok; }
  SerialStatus Open(const std::string& name, int) override {
    error_ = name + ": no such port";
    return SerialStatus::NotFound;
  }
  SerialStatus Transact(Frame&, int, bool, bool, int) override { return SerialStatus::Closed; }
  SerialStatus Close() override { return SerialStatus::Ok; }
  bool IsOpen() const override { return false; }
  SerialStatus ReadData(std::span<std::uint8_t>, int, int) override { return SerialStatus::Closed; }
  std::string LastErrorText() const override { return error_; }

 private:
  std::string error_;
};

}  // namespace

Program::Program(ui::Platform& platform, std::unique_ptr<SerialPort> line, ProgramOptions options)
    : platform_(platform),
      options_(std::move(options)),
      line_(line ? std::move(line) : std::make_unique<AbsentPort>()),
      recording_(*line_),
      link_(st_, recording_, platform.messages),
      core_{st_, link_, platform_, *this},
      splash_(*this),
      main_(*this),
      sel_port_(*this),
      connect_(*this),
      search_net_(*this),
      version_(*this),
      store_(core_, [this](int unit) { return ExistingEditWindow(unit); }),
      read_(core_, [this](int unit) { return ExistingEditWindow(unit); }),
      password_(core_),
      copy_out_(core_),
      edit_label_(core_),
      view_graph_(core_) {
  link_.SetObserver(this);
  recording_.SetRecording(options_.record_frames);
  st_.DataFolder = options_.start_folder.string();
}

Program::~Program() {
  link_.SetObserver(nullptr);
}

void Program::Start() {
  splash_.Show();
}

void Program::End(int exit_code) {
  if (ended_) return;
  ended_ = true;
  exit_code_ = exit_code;
  if (OnEnd) OnEnd(exit_code);
}

std::filesystem::path Program::DataFolder() const {
  return st_.DataFolder.empty() ? options_.start_folder : std::filesystem::path(st_.DataFolder);
}

FrmKVRxxxA& Program::EditWindowOf(int unit) {
  auto& slot = edit_windows_[ProgramState::Checked(unit)];
  if (!slot) {
    slot = std::make_unique<FrmKVRxxxA>(core_, unit);
    slot->OnShowVersion = [this] { ShowVersion(); };
    slot->OnShowStore = [this] { ShowStore(); };
    slot->OnShowRecall = [this] { ShowRecall(); };
    slot->OnShowPassword = [this](int mode) { ShowPassword(mode); };
    slot->OnShowViewAll = [this] { ShowViewAll(); };
    slot->OnShowCopy = [this](int mode) { ShowCopy(mode); };
    slot->OnShowNames = [this] { ShowNames(); };
    WireNameLabels(*slot);
    slot->OnMainPointer = [this](ui::MousePointer pointer) { main_.SetPointer(pointer); };
  }
  return *slot;
}

FrmKVRxxxA* Program::ExistingEditWindow(int unit) {
  if (unit < 0 || unit >= kUnitCount) return nullptr;
  return edit_windows_[unit].get();
}

void Program::ConnectSequence() {
  sel_port_.ShowModal();
  if (ended_) return;
  if (sel_port_.SelPortCancelled) {
    main_.StartTimer();
    return;
  }
  // Every OK starts a fresh search, even over a connection window that is still there.
  if (connect_.Loaded()) connect_.Unload();
  connect_.Show();
}

void Program::ShowVersion() {
  version_.ShowModal();
}

void Program::ShowStore() {
  store_.ShowModal();
}

void Program::ShowRecall() {
  read_.ShowModal();
}

void Program::ShowPassword(int mode) {
  password_.PasswordMode = mode;
  password_.ShowModal();
}

void Program::ShowViewAll() {
  view_graph_.ShowModal();
}

void Program::ShowCopy(int mode) {
  copy_out_.CopyMode = mode;
  copy_out_.ShowModal();
}

void Program::ShowNames() {
  edit_label_.ShowModal();
}

InitCfgStatus Program::ReadConfig() {
  if (config_unsaved_) return InitCfgStatus::Complete;
  config_.ComPort = static_cast<std::int16_t>(st_.ComPort);
  config_.SavedConnectionType = static_cast<std::int16_t>(st_.SavedConnectionType);
  const InitCfgStatus status = ReadInitCfg(DataFolder(), config_);
  st_.ComPort = config_.ComPort;
  st_.SavedConnectionType = config_.SavedConnectionType;
  return status;
}

std::string Program::WriteConfig() {
  config_.ComPort = static_cast<std::int16_t>(st_.ComPort);
  config_.SavedConnectionType = static_cast<std::int16_t>(st_.SavedConnectionType);
  std::string error = WriteInitCfg(DataFolder(), config_);
  config_unsaved_ = !error.empty();
  return error;
}

std::unique_ptr<SerialPort> Program::MakeProbePort() {
  if (options_.make_probe_port) return options_.make_probe_port();
  return std::make_unique<AbsentPort>();
}

std::string Program::DescribePort(int com) const {
  return options_.describe_port ? options_.describe_port(com) : std::string();
}

void Program::WriteDeviceRow(int unit, const std::string& text) {
  ui::Grid& grid = search_net_.MSFlexGrid1;
  if (unit >= 0 && unit < grid.Rows()) grid.SetTextMatrix(unit, 0, text);
}

void Program::UnloadEditWindow(int unit) {
  if (FrmKVRxxxA* w = ExistingEditWindow(unit)) w->Unload();
}

}  // namespace velmark
