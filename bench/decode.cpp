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
  }
};

void BM_DecodeImage(benchmark::State& state) {
  Rig rig;
  // A busy configuration: every band with gain, crossovers on, so nothing is trivially flat.
  auto& img = rig.st.DeviceImages[0];
  for (int b = 0; b < kBandCount; ++b) img[static_cast<std::size_t>(EqBandAddr[b] + 4)] = 40;
  for (int x = 0; x < kXoverCount; ++x) img[static_cast<std::size_t>(XoverAddr[x] + 2)] = 6;
  rig.windows.EditControlsOf(0);
  for (auto _ : state) {
    rig.st.SendSuppressed = true;
    DecodeImage(rig.core);
    rig.st.SendSuppressed = false;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DecodeImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmark

BENCHMARK_MAIN();
