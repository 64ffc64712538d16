// The preset loader on any file, chosen in the headless platform's file dialog and loaded with
// the edit window's Load button: once in demo mode (nothing may be sent) and once against the
// in-process simulated unit (afterwards the unit holds what the program shows). A load that took
// the file is then saved again, and the saved file must be the program's image byte for byte.

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

void Load(fuzz::EditHarness& h, FrmKVRxxxA& w, const std::filesystem::path& file) {
  h.st.DataFolder = Folder().Path().string();
  h.hp.files.Queue(file.string());
  w.ImageBtn(0).UserClick();
  FUZZ_CHECK(h.hp.files.Pending() == 0);
  fuzz::CheckEditWindow(w, h.st, 0);
}

void SaveAndCompare(fuzz::EditHarness& h, FrmKVRxxxA& w) {
  const auto saved = Folder().Path() / "saved.C44";
  h.hp.files.Queue(saved.string());
  w.ImageBtn(1).UserClick();
  const PresetFile back = ReadPresetFile(saved);
  FUZZ_CHECK(back.status == PresetRead::Ok && back.size == kPresetFileSize);
  FUZZ_CHECK(back.bytes == h.st.DeviceImages[0]);
}

void InDemoMode(const std::filesystem::path& file, bool whole) {
  testing::ScriptedPort port;
  fuzz::EditHarness h(port);
  h.st.DemoMode = true;
  FrmKVRxxxA& w = h.Open();
  port.calls.clear();
  Load(h, w, file);
  FUZZ_CHECK(port.calls.empty());
  if (whole) SaveAndCompare(h, w);
}

void OnSimulatedUnit(const std::filesystem::path& file, bool whole) {
  SimLine line(SimBus::Usb());
  fuzz::EditHarness h(line);
  FrmKVRxxxA& w = h.Open();
  line.ClearSent();
  Load(h, w, file);
  if (!whole) {
    FUZZ_CHECK(line.Sent().empty());
    return;
  }
  const UnitMemory& memory = line.Unit(0)->Memory();
  const ParamBytes params = memory.Params();
  const ParamImage& img = h.st.DeviceImages[0];
  for (int a = 0; a < kParamBytes; ++a) FUZZ_CHECK(params[a] == img[a]);
  FUZZ_CHECK(memory.System(kSysInputSource) == img[InputSourceAddr(0)]);
  FUZZ_CHECK(memory.System(kSysDelayUnit) == img[kDelayUnitAddr]);
  SaveAndCompare(h, w);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const auto file = Folder().Path() / "input.C44";
  if (!fuzz::WriteFileBytes(file, fuzz::AsText(in.Rest()))) return 0;
  const bool whole = size >= kPresetFileSize;
  InDemoMode(file, whole);
  OnSimulatedUnit(file, whole);
  return 0;
}
