// Cost of the response computation: a whole unit after a decode, and one band change with its
// channel re-sum and the redrawn curve.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

#include "eqdyn/responses.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

// The factory configuration: shelves and bells at 0 dB, no crossover slopes.
void FactoryRecord(DeviceSettings& rec) {
  constexpr double kBellHz[11] = {20, 40, 80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  for (int ch = 0; ch < kChannelCount; ++ch) {
    for (int k = 0; k <= BandLast[ch]; ++k) {
      const int b = BandOf(ch, k);
      rec.EqQ[b] = 2.4;
      if (IsInputChannel(ch)) {
        rec.EqType[b] = static_cast<std::int16_t>(k == 0 ? 6 : k == 12 ? 3 : 0);
        rec.EqFreq[b] = k == 0 ? 100 : k == 12 ? 10000 : kBellHz[k - 1];
      } else {
        rec.EqFreq[b] = kBellHz[k];
      }
    }
  }
  for (int x = 0; x < kXoverCount; ++x) rec.XoverFreq[x] = x % 2 == 0 ? 20 : 16000;
}

// Every band a type with a logarithm per point and a gain, every filter a real slope.
void BusyRecord(DeviceSettings& rec) {
  std::mt19937 rng(1);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int b = 0; b < kBandCount; ++b) {
    rec.EqType[b] = static_cast<std::int16_t>(pick(1, 13));
    rec.EqFreq[b] = pick(20, 20000);
    rec.EqGain[b] = pick(0, 60) / 2.0 - 15;
    rec.EqQ[b] = 0.1 + 0.05 * pick(0, 100);
  }
  for (int x = 0; x < kXoverCount; ++x) {
    rec.XoverFreq[x] = pick(20, 20000);
    rec.XoverType[x] = pick(1, 12);
  }
}

std::unique_ptr<ProgramState> StateWith(void (*fill)(DeviceSettings&)) {
  auto state = std::make_unique<ProgramState>();
  state->CurUnit = 0;
  fill(state->DeviceRecords[0]);
  return state;
}

// Forgets what every stored curve came from, so that the next recomputation is a whole one.
void ForgetSources(UnitResponses& r) {
  r.BandSource.fill({});
  r.XoverSource.fill({});
  r.SumSource.fill({});
}

void BM_RecomputeAllFactory(benchmark::State& st) {
  auto state = StateWith(FactoryRecord);
  for (auto _ : st) {
    ForgetSources(state->Responses(0));
    RecomputeAll(*state);
    benchmark::DoNotOptimize(state->Responses(0).ChannelResponse[0][0]);
  }
}
BENCHMARK(BM_RecomputeAllFactory)->Unit(benchmark::kMicrosecond);

void BM_RecomputeAllBusy(benchmark::State& st) {
  auto state = StateWith(BusyRecord);
  for (auto _ : st) {
    ForgetSources(state->Responses(0));
    RecomputeAll(*state);
    benchmark::DoNotOptimize(state->Responses(0).ChannelResponse[0][0]);
  }
}
BENCHMARK(BM_RecomputeAllBusy)->Unit(benchmark::kMicrosecond);

// A decoded configuration that differs from the shown one in one band (a preset saved after a
// small change): that band is evaluated and its channel summed, the rest kept.
void BM_RecomputeAllOneBandChanged(benchmark::State& st) {
  auto state = StateWith(BusyRecord);
  RecomputeAll(*state);
  double& gain = state->DeviceRecords[0].EqGain[BandOf(5, 3)];
  for (auto _ : st) {
    gain = -gain;
    RecomputeAll(*state);
    benchmark::DoNotOptimize(state->Responses(0).ChannelResponse[5][0]);
  }
}
BENCHMARK(BM_RecomputeAllOneBandChanged)->Unit(benchmark::kMicrosecond);

// One band change drawn on the edit window's picture; arg = the band's type.
void BM_BandChangeDrawn(benchmark::State& st) {
  auto state = StateWith(BusyRecord);
  RecomputeAll(*state);
  const int band = BandOf(1, 4);
  state->DeviceRecords[0].EqType[band] = static_cast<std::int16_t>(st.range(0));
  ui::PictureBox picture;
  picture.SetScale(12600, 2880);
  GraphCanvas canvas;
  canvas.Picture1 = &picture;
  double& freq = state->DeviceRecords[0].EqFreq[band];
  for (auto _ : st) {
    freq = freq == 1000 ? 1100 : 1000;  // a real change each time: nothing kept
    ComputeBandResponse(*state, band, &canvas);
    benchmark::DoNotOptimize(picture.DisplayList().data());
  }
}
BENCHMARK(BM_BandChangeDrawn)->Arg(0)->Arg(3)->Arg(13)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmark

int main(int argc, char** argv) {
  std::printf("sizeof(UnitResponses) = %zu bytes (%.3f MB)\n", sizeof(velmark::UnitResponses),
              sizeof(velmark::UnitResponses) / 1e6);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
