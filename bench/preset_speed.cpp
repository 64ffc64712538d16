// How close a preset load comes to what the wire itself takes, against velmark-sim on a
// pseudo-terminal at 9600 baud (10 bit times a byte, 1.04 ms) with its 2 ms processing delay:
// the 200 memory writes, the apply and the two system settings a load sends, 203 exchanges of
// two 13-byte frames each.
//
//   load_overhead: the time of those exchanges divided by their wire time plus the delay of
//                  each answer; 1.05 means 5 % program overhead.
//
// velmark-sim is taken from beside the benchmark (<build>/apps/velmark-sim) or from
// VELMARK_SIM_BINARY.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "model/defaults.h"
#include "programs/preset_upload.h"
#include "ui/headless.h"

#include "sim_rig.h"

namespace {

using velmark::bench::CountingPort;
using velmark::bench::kByteMs;
using velmark::bench::Line;
using velmark::bench::MsSince;
using velmark::bench::Sim;

namespace fs = std::filesystem;
using velmark::kFrameSize;

// Argument: the unit's latency in ms.
void BM_LoadPreset(benchmark::State& state) {
  const auto latency = static_cast<double>(state.range(0));
  Sim sim({"--usb", "--latency-ms", std::to_string(state.range(0))});
  if (!sim.Ready()) return state.SkipWithError("velmark-sim did not start");
  velmark::ParamImage img{};
  velmark::CopyDefaultImage(img);
  double measured = 0, wire = 0;
  for (auto _ : state) {
    Line line(sim.Folder());
    line.st.DeviceTable[0] = velmark::DeviceEntry{true, false, 0, true};
    if (!line.link.PingUnit(0)) return state.SkipWithError("the unit did not answer");
    line.port.bytes = 0;
    line.port.answered = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool failed = velmark::WritePresetMemory(line.link, 0, img, {}) ||
                        velmark::SendPresetSystemSettings(line.link, 0, img);
    measured += MsSince(start);
    if (failed) return state.SkipWithError("the load stopped before the end");
    wire += static_cast<double>(line.port.bytes) * kByteMs + line.port.answered * latency;
    state.counters["exchanges"] = line.port.answered;
  }
  state.counters["load_ms"] = measured / static_cast<double>(state.iterations());
  state.counters["wire_ms"] = wire / static_cast<double>(state.iterations());
  state.counters["load_overhead"] = measured / wire;
}

}  // namespace

BENCHMARK(BM_LoadPreset)
    ->Arg(2)
    ->Arg(50)
    ->ArgName("latency_ms")
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
