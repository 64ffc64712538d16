#pragma once
// The whole program against velmark-sim on a pseudo-terminal, driven as a user drives it: the
// scripted platform, a real PosixSerialPort on the data folder's COM1 link, and one user
// operation at a time. Shared by the fault matrix (fault_matrix) and the line-vanishing tests.
//
// velmark-sim is taken from <build>/apps/velmark-sim (beside <build>/tests/<this program>) or
// from VELMARK_SIM_BINARY. Its units' memories go to <data>/unit.state when it stops, which is
// how a test learns what the unit holds.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "model/image.h"
#include "ui/headless.h"

namespace velmark::faults {

namespace fs = std::filesystem;

fs::path SimBinary();

// A fresh folder under /tmp, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// velmark-sim serving one USB unit on <folder>/COM1, its state in <folder>/unit.state.
class SimProcess {
 public:
  SimProcess(const fs::path& folder, std::vector<std::string> extra_args);
  ~SimProcess();  // Stop()
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  bool Ready() const { return ready_; }
  // SIGTERM (the unit's state is saved, the line closes) and wait. False when it had to be
  // killed or did not end by itself with status 0.
  bool Stop();
  // After a hang-up: true once the link leads to the new pseudo-terminal.
  bool WaitServing();
  // SIGTERM without waiting: the adapter pulled in the middle of whatever is going on.
  void Pull();
  pid_t Pid() const { return pid_; }

 private:
  fs::path link_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

// What the unit holds, from the state file its simulator wrote when it stopped.
struct UnitSnapshot {
  bool loaded = false;
  std::vector<std::uint8_t> params;  // unit memory 64..863
  std::vector<std::uint8_t> system;  // the system bytes the program keeps in its image
};
UnitSnapshot ReadUnitState(const fs::path& state_file);

// The first difference between the program's image of unit 0 and the unit, or empty.
std::string ImageDifference(const ParamImage& image, const UnitSnapshot& unit);

enum class Op { Connect, Read, Edit, EqFlat, PresetLoad, Store, Recall, Meters };
inline constexpr Op kAllOps[] = {Op::Connect,    Op::Read,  Op::Edit,   Op::EqFlat,
                                 Op::PresetLoad, Op::Store, Op::Recall, Op::Meters};
const char* OpName(Op op);

inline constexpr int kStoreMemory = 1;  // memory 2: store and recall work on it
inline constexpr int kMeterPolls = 4;

// The program with the scripted platform and a real serial port on <folder>/COM1.
class Session {
 public:
  explicit Session(const fs::path& folder);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Program& P() { return *program_; }
  ui::HeadlessPlatform& Hp() { return hp_; }
  const fs::path& PresetPath() const { return preset_; }

  // What has to be done before `op` can run, fault-free: connect, open, and what the
  // operation needs to change something (an EQ gain before EQ Flat, a stored program and a
  // change after it before a recall). False (and why) when it did not get that far.
  bool Prepare(Op op, std::string& why);
  // The operation itself, as a user does it.
  void Run(Op op);

  // Connect → OK with COM1 / USB from init.cfg, then the device list's timers.
  void Connect();
  // Double click on row 0 (a reconnection question is answered Yes).
  void DoubleClickRow0();
  bool WindowOpen();
  std::string Row0();

  // Called on the user-interface thread before every Transact (false) and every ReadData of a
  // block (true): the moment to pull the adapter in the middle of an operation.
  std::function<void(bool block_data)> BeforeIo;

  std::size_t MessageCount() const { return hp_.messages.Shown().size(); }
  std::vector<std::string> MessagesSince(std::size_t from) const;
  std::size_t FramesSent() { return program_->Line().Sent().size(); }
  std::vector<Frame> FramesSince(std::size_t from);

 private:
  void Edit(int slider_value);
  void Store();
  void Recall();

  fs::path folder_;
  fs::path preset_;
  ui::HeadlessPlatform hp_;
  std::unique_ptr<Program> program_;
};

// The longest the operation may take given the exchanges it made: each one's time-out (a block
// read its frame's and its data's), plus the wire time of a 800-byte block per block read, plus
// a fixed allowance for a loaded machine. An operation that takes longer hangs somewhere.
double TimeBoundMs(const std::vector<Frame>& frames, int latency_ms);

double MsSince(std::chrono::steady_clock::time_point start);

}  // namespace velmark::faults
