// The velmark-sim program itself, started as a child process, reached through the program's
// own serial port class and through raw reads.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/posix_serial_port.h"
#include "pty_client.h"
#include "sim/state_file.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Beside the test program: <build>/tests/test_sim and <build>/apps/velmark-sim.
fs::path SimBinary() {
  if (const char* given = std::getenv("VELMARK_SIM_BINARY")) return given;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / "velmark-sim";
}

std::string Slurp(int fd, int timeout_ms, bool one_line) {
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    char c = 0;
    if (::read(fd, &c, 1) != 1) break;
    if (one_line && c == '\n') break;
    text += c;
  }
  return text;
}

class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
    const std::string binary = SimBinary().string();
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      ::execv(binary.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~SimProcess() {
    if (pid_ > 0 && !exit_code_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
  }

  std::string Line(int timeout_ms = 3000) { return Slurp(out_, timeout_ms, true); }
  std::string Errors(int timeout_ms = 300) { return Slurp(err_, timeout_ms, false); }

  // The exit code, once it has ended within the time; nothing if it is still running.
  std::optional<int> Wait(int timeout_ms = 3000) {
    for (int waited = 0; waited <= timeout_ms && !exit_code_; waited += 10) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      } else {
        std::this_thread::sleep_for(10ms);
      }
    }
    return exit_code_;
  }
  std::optional<int> Stop(int signal = SIGTERM) {
    ::kill(pid_, signal);
    return Wait();
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  std::optional<int> exit_code_;
};

// "velmark-sim: serving USB unit on /dev/pts/5 (link ./COM3)" -> "/dev/pts/5"
std::string SlaveOf(const std::string& line) {
  const auto on = line.find(" on ");
  if (on == std::string::npos) return {};
  const auto end = line.find(' ', on + 4);
  return line.substr(on + 4, end == std::string::npos ? std::string::npos : end - on - 4);
}

class SimBinaryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SimBinary())) GTEST_SKIP() << "velmark-sim is not built at " << SimBinary();
    dir_ =
        fs::temp_directory_path() / ("velmark-sim-bin-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  std::string Com3() const { return (dir_ / "COM3").string(); }

  fs::path dir_;
};

TEST_F(SimBinaryTest, PingThroughTheSerialPortAtWireSpeedThenStopCleanly) {
  const std::string state = (dir_ / "units.state").string();
  SimProcess sim({"--link", Com3(), "--state", state, "--log", (dir_ / "traffic.log").string()});
  const std::string line = sim.Line();
  ASSERT_EQ(line.rfind("velmark-sim: serving USB unit on /dev/pts/", 0), 0u) << line;
  EXPECT_NE(line.find("(link " + Com3() + ")"), std::string::npos);
  ASSERT_TRUE(fs::is_symlink(Com3()));
  EXPECT_EQ(fs::read_symlink(Com3()).string(), SlaveOf(line));

  PosixSerialPort port(dir_);
  ASSERT_EQ(port.Init(13, 32), SerialStatus::Ok);
  ASSERT_EQ(port.Open("COM3", 9600), SerialStatus::Ok) << port.LastErrorText();
  Frame warm = BuildFrame(0, CmdPing, {});
  port.Transact(warm, 200, true, false, 0);
  for (int i = 0; i < 3; ++i) {
    Frame frame = BuildFrame(0, CmdPing, {});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(port.Transact(frame, 200, true, false, 0), SerialStatus::Ok) << port.LastErrorText();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(frame[11], 5);
    EXPECT_GE(ms, 27.0) << "13 bytes each way at 9600 baud plus the processing delay";
    EXPECT_LT(ms, 120.0);
  }
  Frame gain = BuildFrame(0, CmdGain, simtest::Data({2, 0, 0, 0, 0, 0, 0, 77}));
  ASSERT_EQ(port.Transact(gain, 3000, true, false, 1), SerialStatus::Ok);
  Frame store = BuildFrame(0, CmdStoreProgram, simtest::Data({5}));
  ASSERT_EQ(port.Transact(store, 10000, true, false, 1), SerialStatus::Ok);
  port.Close();

  EXPECT_EQ(sim.Stop(), std::optional<int>(0));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3()))) << "no link is left behind";
  SimBus restored = SimBus::Usb();
  EXPECT_EQ(LoadUnitState(state, restored).restored, 1);
  EXPECT_EQ(restored.Units()[0].Memory().ProgramState(5), 5);
  EXPECT_EQ(restored.Units()[0].Memory().Param(LevelAddr[2] + 1), 77);

  std::ifstream log(dir_ / "traffic.log");
  const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("-> F0 05 00 50 00 00 00 00 00 00 00 00 F7"), std::string::npos);
  EXPECT_NE(text.find("<- F0 05 00 50 00 00 00 00 00 00 00 05 F7"), std::string::npos);
}

TEST_F(SimBinaryTest, Rs485UnitsAnswerTheirIdsAndSigintStops) {
  SimProcess sim({"--rs485", "--ids", "3,17", "--no-pacing", "--link", Com3()});
  const std::string line = sim.Line();
  EXPECT_NE(line.find("RS-485 units 3, 17"), std::string::npos) << line;
  simtest::RawClient client(Com3());
  EXPECT_EQ(client.Exchange(BuildFrame(3, CmdPing, {}))[11], 5);
  EXPECT_EQ(client.Exchange(BuildFrame(17, CmdPing, {}))[11], 5);
  EXPECT_TRUE(client.Exchange(BuildFrame(5, CmdPing, {}), 13, 150).empty());
  EXPECT_EQ(sim.Stop(SIGINT), std::optional<int>(0));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));
}

TEST_F(SimBinaryTest, BareBlockRepliesCarryTheBlockAlone) {
  SimProcess sim({"--block-reply", "bare", "--no-pacing", "--link", Com3()});
  const std::string line = sim.Line();
  EXPECT_NE(line.find("USB unit (block reads answered bare) on /dev/pts/"), std::string::npos)
      << line;
  simtest::RawClient client(Com3());
  ASSERT_TRUE(client.IsOpen());
  // The current program name at unit address 832, waited for as long as a framed answer takes.
  const Frame name = BuildFrame(0, CmdReadBlock, simtest::Data({0, 0x03, 0x40, 0, 16}));
  const std::vector<std::uint8_t> got = client.Exchange(name, 13 + 16, 300);
  EXPECT_EQ(std::string(got.begin(), got.end()), "Default         ");
  // A block past the end of memory gets no answer; the line goes on as before.
  const Frame past = BuildFrame(0, CmdReadBlock, simtest::Data({0, 0xFF, 0xF0, 0, 32}));
  EXPECT_TRUE(client.Exchange(past, 1, 150).empty());
  EXPECT_EQ(client.Exchange(BuildFrame(0, CmdPing, {}))[11], 5);
  EXPECT_EQ(sim.Stop(), std::optional<int>(0));
}

TEST_F(SimBinaryTest, RefusesToReplaceARegularFile) {
  std::ofstream(Com3()) << "keep";
  SimProcess sim({"--link", Com3()});
  EXPECT_NE(sim.Wait(), std::optional<int>(0));
  EXPECT_NE(sim.Errors().find("refusing"), std::string::npos);
  std::ifstream in(Com3());
  std::string kept;
  in >> kept;
  EXPECT_EQ(kept, "keep");
}

TEST_F(SimBinaryTest, ReplacesADanglingLinkLeftByACrash) {
  fs::create_symlink("/dev/pts/no-such-terminal", Com3());
  SimProcess sim({"--link", Com3(), "--no-pacing"});
  const std::string slave = SlaveOf(sim.Line());
  EXPECT_EQ(fs::read_symlink(Com3()).string(), slave);
  simtest::RawClient client(Com3());
  EXPECT_EQ(client.Exchange(BuildFrame(0, CmdPing, {}))[11], 5);
  EXPECT_EQ(sim.Stop(), std::optional<int>(0));
}

TEST_F(SimBinaryTest, DamagedStateFileGivesFreshUnitsAndAWarning) {
  const fs::path state = dir_ / "units.state";
  std::ofstream(state) << "VELMSIM1 but then nothing useful";
  SimProcess sim({"--state", state.string(), "--no-pacing", "--link", Com3()});
  ASSERT_FALSE(sim.Line().empty());
  EXPECT_NE(sim.Errors().find("warning"), std::string::npos);
  simtest::RawClient client(Com3());
  const auto name = client.Exchange(BuildFrame(0, CmdReadMemory, simtest::Data({0, 0, 8})));
  EXPECT_EQ(std::string(name.begin() + 4, name.begin() + 12), " VELMARK");
  EXPECT_EQ(sim.Stop(), std::optional<int>(0));
  SimBus bus = SimBus::Usb();
  const StateLoad load = LoadUnitState(state, bus);
  EXPECT_EQ(load.restored, 1) << "saved afresh on exit: " << load.warning;
}

TEST_F(SimBinaryTest, WrongOptionsEndWithUsage) {
  SimProcess sim({"--ids", "3"});
  EXPECT_EQ(sim.Wait(), std::optional<int>(2));
  EXPECT_NE(sim.Errors().find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace velmark
