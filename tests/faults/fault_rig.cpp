#include "faults/fault_rig.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <thread>

#include "app/init_cfg.h"
#include "app/mdi_frm_main.h"
#include "link/frames.h"
#include "link/posix_serial_port.h"
#include "sim/sim_bus.h"
#include "sim/state_file.h"

namespace velmark::faults {

namespace {

using namespace std::chrono_literals;

// Unit addresses 16..35 (sources, delay unit, locks, password, noise generators): the system
// bytes a full read copies into image addresses 817..836.
constexpr int kSystemFirst = 16, kSystemLast = 35;

// One byte on the wire at 9600 baud, 8N1.
constexpr double kByteMs = 10'000.0 / 9600.0;
// A loaded 2-core machine: scheduling, the simulator's start, the program's own work.
constexpr double kAllowanceMs = 3000.0;

// The real port, with the session's hook in front of each call that waits for the unit.
class HookedPort final : public SerialPort {
 public:
  HookedPort(std::unique_ptr<SerialPort> inner, std::function<void(bool)>& hook)
      : inner_(std::move(inner)), hook_(hook) {}
  SerialStatus Init(int a, int b) override { return inner_->Init(a, b); }
  SerialStatus Open(const std::string& n, int baud) override { return inner_->Open(n, baud); }
  SerialStatus Transact(Frame& f, int t, bool w, bool b, int c) override {
    if (hook_) hook_(false);
    return inner_->Transact(f, t, w, b, c);
  }
  SerialStatus Close() override { return inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int t, int f) override {
    if (hook_) hook_(true);
    return inner_->ReadData(block, t, f);
  }
  std::string LastErrorText() const override { return inner_->LastErrorText(); }

 private:
  std::unique_ptr<SerialPort> inner_;
  std::function<void(bool)>& hook_;
};

}  // namespace

fs::path SimBinary() {
  if (const char* given = std::getenv("VELMARK_SIM_BINARY")) return given;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / "velmark-sim";
}

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "velmark-faults-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

SimProcess::SimProcess(const fs::path& folder, std::vector<std::string> extra_args)
    : link_(folder / "COM1") {
  const std::string binary = SimBinary().string();
  std::vector<std::string> args = {binary,         "--usb",   "--link",
                                   link_.string(), "--state", (folder / "unit.state").string()};
  args.insert(args.end(), extra_args.begin(), extra_args.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string errors = (folder / "sim.err").string();
  pid_ = ::fork();
  if (pid_ == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen(errors.c_str(), "a", stderr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
  }
  for (int i = 0; i < 500 && pid_ > 0; ++i) {
    std::error_code ec;
    if (fs::is_symlink(link_, ec) && fs::exists(link_, ec)) {
      ready_ = true;
      break;
    }
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;  // it ended at once: a wrong option
      break;
    }
    std::this_thread::sleep_for(10ms);
  }
}

SimProcess::~SimProcess() {
  Stop();
}

bool SimProcess::WaitServing() {
  for (int i = 0; i < 300; ++i) {
    std::error_code ec;
    if (fs::exists(link_, ec)) return true;  // the link leads to a pseudo-terminal again
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

void SimProcess::Pull() {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
}

bool SimProcess::Stop() {
  if (pid_ <= 0) return false;
  ::kill(pid_, SIGTERM);
  int status = 0;
  bool ended = false;
  for (int i = 0; i < 500; ++i) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      ended = true;
      break;
    }
    std::this_thread::sleep_for(10ms);
  }
  if (!ended) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
  }
  pid_ = -1;
  return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

UnitSnapshot ReadUnitState(const fs::path& state_file) {
  UnitSnapshot out;
  SimBus bus = SimBus::Usb();
  if (LoadUnitState(state_file, bus).restored != 1) return out;
  const UnitMemory& memory = bus.Units().front().Memory();
  const ParamBytes params = memory.Params();
  out.params.assign(params.begin(), params.end());
  for (int i = kSystemFirst; i <= kSystemLast; ++i) out.system.push_back(memory.System(i));
  out.loaded = true;
  return out;
}

std::string ImageDifference(const ParamImage& image, const UnitSnapshot& unit) {
  if (!unit.loaded) return "the unit's state file could not be read";
  for (int a = 0; a < kParamBytes; ++a) {
    const auto i = static_cast<std::size_t>(a);
    if (image[i] != unit.params[i]) {
      return "image " + std::to_string(a) + " = " + std::to_string(image[i]) + ", unit " +
             std::to_string(a + kUnitParamBase) + " = " + std::to_string(unit.params[i]);
    }
  }
  for (int s = kSystemFirst; s <= kSystemLast; ++s) {
    const auto img = image[static_cast<std::size_t>(SystemAddr(s))];
    const auto mem = unit.system[static_cast<std::size_t>(s - kSystemFirst)];
    if (img != mem) {
      return "system byte " + std::to_string(s) + ": image " + std::to_string(img) + ", unit " +
             std::to_string(mem);
    }
  }
  return {};
}

const char* OpName(Op op) {
  switch (op) {
    case Op::Connect:
      return "connect";
    case Op::Read:
      return "full read";
    case Op::Edit:
      return "edit";
    case Op::EqFlat:
      return "EQ Flat";
    case Op::PresetLoad:
      return "preset load";
    case Op::Store:
      return "store";
    case Op::Recall:
      return "recall";
    case Op::Meters:
      return "meters";
  }
  return "?";
}

double TimeBoundMs(const std::vector<Frame>& frames, int latency_ms) {
  double bound = kAllowanceMs;
  for (const Frame& f : frames) {
    const std::uint8_t cmd = f[3];
    if (cmd == CmdReadBlock) {
      bound += kBlockFrameTimeout.ms + kBlockDataTimeoutMs;
    } else if (cmd == CmdPing) {
      bound += kPingTimeout.ms;
    } else {
      bound += CommandTimeout(cmd).ms;
    }
    // Request and reply on the wire, the unit's delay, a little scheduling.
    bound += 2 * kFrameSize * kByteMs + latency_ms + 20;
  }
  return bound;
}

Session::Session(const fs::path& folder) : folder_(folder), preset_(folder / "fault.C44") {
  InitCfg cfg;
  cfg.ComPort = 1;  // USB, COM1: the simulator's link in the data folder
  WriteInitCfg(folder, cfg);
  // No machine ports: with the simulator's link gone, COM1 must not lead to a real /dev/ttyS0.
  const DeviceRoots none{folder / "no-dev", folder / "no-sys"};
  ProgramOptions options;
  options.start_folder = folder;
  options.make_probe_port = [folder, none] {
    return std::make_unique<PosixSerialPort>(folder, none);
  };
  auto port =
      std::make_unique<HookedPort>(std::make_unique<PosixSerialPort>(folder, none), BeforeIo);
  program_ = std::make_unique<Program>(hp_.platform, std::move(port), std::move(options));
  program_->Start();
  hp_.clock.Advance(2000);  // the splash window
}

Session::~Session() = default;

void Session::Connect() {
  // A second connection first asks whether to check all connected devices again.
  if (program_->SearchNet().Loaded()) hp_.messages.Queue(ui::MsgAnswer::Yes);
  hp_.desktop.ModalDriver = [this](ui::Window&) { program_->SelPort().Command1(0).UserClick(); };
  program_->Main().ConnectionMode.UserChoose(kModeConnect);
  hp_.desktop.ModalDriver = nullptr;
  hp_.clock.Advance(100);  // the connection window's timer: search and names
  hp_.clock.Advance(300);  // the device list's timer: the rows
}

void Session::DoubleClickRow0() {
  if (!program_->SearchNet().Loaded()) return;
  // "Do you want connect this device, are you sure ?" is asked exactly then.
  if (program_->State().NeedsConnect[0]) hp_.messages.Queue(ui::MsgAnswer::Yes);
  program_->SearchNet().MSFlexGrid1.UserDblClick(0);
}

bool Session::WindowOpen() {
  const FrmKVRxxxA* w = program_->ExistingEditWindow(0);
  return w != nullptr && w->Loaded();
}

std::string Session::Row0() {
  if (!program_->SearchNet().Loaded() || program_->SearchNet().MSFlexGrid1.Rows() < 1) return {};
  return program_->SearchNet().MSFlexGrid1.TextMatrix(0, 0);
}

std::vector<std::string> Session::MessagesSince(std::size_t from) const {
  std::vector<std::string> texts;
  const auto& shown = hp_.messages.Shown();
  for (std::size_t i = from; i < shown.size(); ++i) {
    // Questions the session answered are its own doing; the rest the program told the user.
    if (!shown[i].expected) texts.push_back(shown[i].text);
  }
  return texts;
}

std::vector<Frame> Session::FramesSince(std::size_t from) {
  const auto& sent = program_->Line().Sent();
  return {sent.begin() + static_cast<std::ptrdiff_t>(std::min(from, sent.size())), sent.end()};
}

void Session::Edit(int slider_value) {
  program_->ExistingEditWindow(0)->Slider1(0).UserSetValue(slider_value);
}

void Session::Store() {
  hp_.desktop.ModalDriver = [this](ui::Window&) {
    FrmStore& s = program_->Store();
    s.Combo1.UserSelect(kStoreMemory);
    s.Text1.UserReplace("Faults");
    hp_.messages.Queue(ui::MsgAnswer::Yes);  // "Are you sure ?"
    s.LblShowCursor(1).UserClick();
  };
  program_->ExistingEditWindow(0)->ImageBtn(2).UserClick();
  hp_.desktop.ModalDriver = nullptr;
}

void Session::Recall() {
  hp_.desktop.ModalDriver = [this](ui::Window&) {
    FrmRead& r = program_->Read();
    r.List1.UserSelect(kStoreMemory);
    hp_.messages.Queue(ui::MsgAnswer::Yes);  // "Overwrite current editing, are you sure ?"
    r.LblShowCursor(1).UserClick();
  };
  program_->ExistingEditWindow(0)->ImageBtn(3).UserClick();
  hp_.desktop.ModalDriver = nullptr;
}

bool Session::Prepare(Op op, std::string& why) {
  if (op == Op::Connect) return true;
  Connect();
  if (Row0().find("On-line") == std::string::npos) {
    why = "the connection listed \"" + Row0() + "\"";
    return false;
  }
  if (op == Op::Read) return true;
  DoubleClickRow0();
  if (!WindowOpen()) {
    why = "the edit window did not open";
    return false;
  }
  FrmKVRxxxA& w = *program_->ExistingEditWindow(0);
  switch (op) {
    case Op::EqFlat:
      w.Slider2(0).UserSetValue(40);  // band 1 of input A at -10 dB: EQ Flat changes it
      break;
    case Op::PresetLoad: {
      ParamImage file = program_->State().DeviceImages[0];
      file[1] = 0x10;  // input A's gain word: 0x0110 instead of what the unit holds
      std::ofstream(preset_, std::ios::binary)
          .write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
      break;
    }
    case Op::Recall:
      Store();
      Edit(200);  // the recall brings back what the memory holds
      break;
    default:
      break;
  }
  if (!WindowOpen()) {
    why = "the edit window closed while preparing";
    return false;
  }
  return true;
}

void Session::Run(Op op) {
  switch (op) {
    case Op::Connect:
      Connect();
      break;
    case Op::Read:
      DoubleClickRow0();
      break;
    case Op::Edit: {
      const int now = program_->ExistingEditWindow(0)->Slider1(0).Value();
      Edit(now == 150 ? 100 : 150);
      break;
    }
    case Op::EqFlat:
      hp_.messages.Queue(ui::MsgAnswer::Yes);  // "Are you sure ?"
      program_->ExistingEditWindow(0)->BtnFlatEQ(0).UserClick();
      break;
    case Op::PresetLoad:
      hp_.files.Queue(preset_.string());
      program_->ExistingEditWindow(0)->ImageBtn(0).UserClick();
      break;
    case Op::Store:
      Store();
      break;
    case Op::Recall:
      Recall();
      break;
    case Op::Meters:
      hp_.clock.Advance(2000);  // the first poll comes two seconds after the window opened
      for (int i = 1; i < kMeterPolls; ++i) hp_.clock.Advance(80);
      break;
  }
}

}  // namespace velmark::faults
