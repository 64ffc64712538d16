// One typed gain value: a person has put a level into GainText(3) of a loaded edit window and
// presses Enter. Timed from the Enter key to the moment the gain packet is handed to the
// serial port (the in-process simulated unit behind it), i.e. key filter, number parsing,
// clamping, snapping, the text written back, the slider set, and its change handler's
// SendLevel up to TransmitPacket. Target: at most 1 ms.
//
//   BM_TypedGainToPacket  Enter → first packet at the port (manual time)
//   BM_TypedGainWhole     the whole Enter: both packets (slider handler and box), linking,
//                         the simulated unit's answers

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <memory>
#include <optional>

#include "commands/core.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "link/frames.h"
#include "model/defaults.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using SteadyClock = std::chrono::steady_clock;

// The simulated line, noting when the first request after Arm() reaches it.
class TimingPort final : public SerialPort {
 public:
  explicit TimingPort(SimLine& line) : line_(line) {}
  void Arm() { first_.reset(); }
  std::optional<SteadyClock::time_point> First() const { return first_; }

  SerialStatus Init(int frame_size, int max_units) override {
    return line_.Init(frame_size, max_units);
  }
  SerialStatus Open(const std::string& name, int baud) override { return line_.Open(name, baud); }
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override {
    if (!first_) first_ = SteadyClock::now();
    return line_.Transact(frame, timeout_ms, wait_reply, before_block_read, count);
  }
  SerialStatus Close() override { return line_.Close(); }
  bool IsOpen() const override { return line_.IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override {
    return line_.ReadData(block, timeout_ms, flags);
  }
  std::string LastErrorText() const override { return line_.LastErrorText(); }

 private:
  SimLine& line_;
  std::optional<SteadyClock::time_point> first_;
};

using Windows = EditWindowTable;

struct Rig {
  ui::HeadlessPlatform hp;
  ProgramState st;
  SimLine line{SimBus::Usb()};
  TimingPort port{line};
  RxTx link{st, port, hp.messages};
  Windows windows;
  Core core{st, link, hp.platform, windows};
  FrmKVRxxxA* w = nullptr;

  Rig() {
    windows.core = &core;
    st.LinkStarted = true;
    st.ComPort = 1;
    st.DeviceTable[0] = {true, true, 0, true};
    st.DeviceName[0] = " VELMARK ";
    CopyDefaultImage(st.DeviceImages[0]);
    w = &windows.Window(0);
    w->Show();  // loads: decodes the image, sends the link mask, shows the routing page
    w->ImgNameTab(8).UserClick();
    // Input A linked with input D, so the entry also repeats the gain on a linked channel.
    st.LinkFlag[0][3] = st.LinkFlag[0][0] = 1;
  }

  // Alternating values, so that the slider moves every time.
  void Type(std::int64_t n) { w->GainText(3).UserReplace(n % 2 == 0 ? "-12.34" : "-6"); }
  void Enter() { w->GainText(3).UserKey(ui::kKeyEnter); }
};

void BM_TypedGainToPacket(benchmark::State& state) {
  Rig rig;
  std::int64_t n = 0;
  for (auto _ : state) {
    rig.Type(n++);
    rig.port.Arm();
    const auto start = SteadyClock::now();
    rig.Enter();
    const auto first = rig.port.First();
    if (!first) {
      state.SkipWithError("no packet reached the port");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(*first - start).count());
    if (n % 4096 == 0) rig.line.ClearSent();
  }
}
BENCHMARK(BM_TypedGainToPacket)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_TypedGainWhole(benchmark::State& state) {
  Rig rig;
  std::int64_t n = 0;
  double gain_packets = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (const Frame& f : rig.line.Sent()) gain_packets += f[3] == CmdGain ? 1 : 0;
    rig.line.ClearSent();
    rig.Type(n++);
    state.ResumeTiming();
    rig.Enter();
    benchmark::ClobberMemory();
  }
  for (const Frame& f : rig.line.Sent()) gain_packets += f[3] == CmdGain ? 1 : 0;
  // 2: the slider's change handler and the box each send the level once.
  state.counters["gain_packets"] =
      benchmark::Counter(gain_packets, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TypedGainWhole)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmark

BENCHMARK_MAIN();
