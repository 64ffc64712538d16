// The preset loader on any file, chosen in the headless platform's file dialog and loaded with
// the edit window's Load button: in demo mode (nothing may be sent) when the input's first byte
// is even, against the in-process simulated unit (afterwards the unit holds what the program
// shows) when it is odd; the rest of the input is the file. A load that took the file is then
// saved again, and the saved file must be the program's image byte for byte.
//
// Both windows stay open from one input to the next (see OpenedWindow); the files live in
// memory (see TempFolder).

#include <cstddef>
#include <cstdint>

#include "edit_harness.h"
#include "fuzz_input.h"
#include "programs/preset_file.h"
#include "programs/preset_image.h"
#include "sim/sim_line.h"
#include "support/scripted_port.h"
#include "temp_folder.h"

namespace {

using namespace velmark;

fuzz::TempFolder& Folder() {
  static fuzz::TempFolder folder;
  return folder;
}

void Load(fuzz::OpenedWindow& r, const std::filesystem::path& file) {
  r.h.hp.files.Queue(file.string());
  r.w.ImageBtn(0).UserClick();
  FUZZ_CHECK(r.h.hp.files.Pending() == 0);
  fuzz::CheckEditWindow(r.w, r.h.st, 0);
}

void SaveAndCompare(fuzz::OpenedWindow& r) {
  const auto saved = Folder().Path() / "saved.C44";
  r.h.hp.files.Queue(saved.string());
  r.w.ImageBtn(1).UserClick();
  const PresetFile back = ReadPresetFile(saved);
  FUZZ_CHECK(back.status == PresetRead::Ok && back.size == kPresetFileSize);
  FUZZ_CHECK(back.bytes == r.h.st.DeviceImages[0]);
}

// The demo program: its port must never see a call.
struct DemoRig {
  testing::ScriptedPort port;
  fuzz::OpenedWindow rig{port, true, Folder().Path().string()};
};

// The program on the simulated unit of a USB line.
struct SimRig {
  SimLine line{SimBus::Usb()};
  fuzz::OpenedWindow rig{line, false, Folder().Path().string()};
};

void InDemoMode(const std::filesystem::path& file, bool whole) {
  static DemoRig demo;
  fuzz::OpenedWindow& r = demo.rig;
  r.Reset();
  r.h.st.DeviceImages[0] = r.Opened();  // what the file leaves out is the same every time
  demo.port.calls.clear();
  Load(r, file);
  FUZZ_CHECK(demo.port.calls.empty());
  if (whole) SaveAndCompare(r);
}

void OnSimulatedUnit(const std::filesystem::path& file, bool whole) {
  static SimRig sim;
  fuzz::OpenedWindow& r = sim.rig;
  r.Reset();
  r.h.st.DeviceImages[0] = r.Opened();  // what the file leaves out is the same every time
  sim.line.ClearSent();
  Load(r, file);
  if (!whole) {
    FUZZ_CHECK(sim.line.Sent().empty());
    return;
  }
  const UnitMemory& memory = sim.line.Unit(0)->Memory();
  const ParamBytes params = memory.Params();
  const ParamImage& img = r.h.st.DeviceImages[0];
  for (int a = 0; a < kParamBytes; ++a) FUZZ_CHECK(params[a] == img[a]);
  FUZZ_CHECK(memory.System(kSysInputSource) == img[InputSourceAddr(0)]);
  FUZZ_CHECK(memory.System(kSysDelayUnit) == img[kDelayUnitAddr]);
  SaveAndCompare(r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const bool demo = in.Byte() % 2 == 0;
  const auto bytes = in.Rest();
  const auto file = Folder().Path() / "input.C44";
  if (!fuzz::WriteFileBytes(file, fuzz::AsText(bytes))) return 0;
  const bool whole = bytes.size() >= kPresetFileSize;
  if (demo) {
    InDemoMode(file, whole);
  } else {
    OnSimulatedUnit(file, whole);
  }
  return 0;
}
