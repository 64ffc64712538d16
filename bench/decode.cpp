// Decoding a whole image into a unit's record and its real edit window, with everything the
// decoder runs: the builders of every page, the full response recomputation and the link-mask
// packet (over the in-process simulated unit). Target: at most 3 ms.

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "commands/core.h"
#include "commands/decode_image.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "model/defaults.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using Windows = EditWindowTable;

// A busy configuration: every band with gain, crossovers on, so nothing is trivially flat.
void MakeBusy(ParamImage& img) {
  for (int b = 0; b < kBandCount; ++b) img[static_cast<std::size_t>(EqBandAddr[b] + 4)] = 40;
  for (int x = 0; x < kXoverCount; ++x) img[static_cast<std::size_t>(XoverAddr[x] + 2)] = 6;
}

struct Rig {
  ui::HeadlessPlatform hp;
  ProgramState st;
  SimLine line{SimBus::Usb()};
  RxTx link{st, line, hp.messages};
  Windows windows;
  Core core{st, link, hp.platform, windows};
  Rig() {
    windows.core = &core;
    st.LinkStarted = true;
    st.ComPort = 1;
    st.DeviceTable[0] = {true, true, 0, true};
    CopyDefaultImage(st.DeviceImages[0]);
    MakeBusy(st.DeviceImages[0]);
    windows.EditControlsOf(0);
  }
};

void Decode(Rig& rig) {
  rig.st.SendSuppressed = true;
  DecodeImage(rig.core);
  rig.st.SendSuppressed = false;
  benchmark::ClobberMemory();
}

// Every decode a different configuration: the image alternates between two with no band and no
// filter in common, so every curve is evaluated again (the worst case).
void BM_DecodeImage(benchmark::State& state) {
  Rig rig;
  auto& img = rig.st.DeviceImages[0];
  for (auto _ : state) {
    for (int b = 0; b < kBandCount; ++b) img[static_cast<std::size_t>(EqBandAddr[b] + 4)] ^= 2;
    for (int x = 0; x < kXoverCount; ++x) img[static_cast<std::size_t>(XoverAddr[x] + 2)] ^= 1;
    Decode(rig);
  }
}
BENCHMARK(BM_DecodeImage)->Unit(benchmark::kMillisecond);

// Every decode differs from the last in one band's gain, as a preset saved after a small change.
void BM_DecodeImageOneBandChanged(benchmark::State& state) {
  Rig rig;
  auto& img = rig.st.DeviceImages[0];
  for (auto _ : state) {
    img[static_cast<std::size_t>(EqBandAddr[BandOf(5, 3)] + 4)] ^= 2;
    Decode(rig);
  }
}
BENCHMARK(BM_DecodeImageOneBandChanged)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmark

BENCHMARK_MAIN();
