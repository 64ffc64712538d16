#include "cli_presets.h"

#include <iostream>

#include "cli_verbs.h"
#include "programs/preset_image.h"
#include "programs/preset_upload.h"

namespace velmark::cli {
namespace {

constexpr int kLoadSteps = kPresetWriteCount + 1;  // the writes and the apply
constexpr int kHighestSource = 2;

int Fail(const std::string& line) {
  std::cerr << "velmark-cli: " << line << "\n";
  return kExitFailed;
}

}  // namespace

std::string PresetReadError(const PresetFile& file, const std::string& name) {
  switch (file.status) {
    case PresetRead::NotFound:
      return "no such file: " + name;
    case PresetRead::Unreadable:
      return "cannot read " + name;
    default:
      return name + " is not a preset: " + std::to_string(file.size) + " bytes instead of " +
             std::to_string(kPresetFileSize);
  }
}

int LoadPresetFile(const CliOptions& o, ProgramState& st, RxTx& link,
                   const std::string& unit_text) {
  const std::string& name = o.args[0];
  const PresetFile file = ReadPresetFile(name);
  if (file.status != PresetRead::Ok) return Fail(PresetReadError(file, name));
  if (!link.PingUnit(st.DeviceTable[0].Id)) return Fail("no answer from " + unit_text);
  ParamImage& img = st.DeviceImages[0];
  TakePresetAreas(img, file.bytes);
  // The program decodes a source it cannot show as "Analog Input" before it sends it.
  if (img[InputSourceAddr(0)] > kHighestSource) img[InputSourceAddr(0)] = 0;
  int done = 0;
  const auto progress = [&] {
    ++done;
    if (done % 20 == 0 || done == kLoadSteps) {
      std::cerr << "\rloading " << name << ": " << done << "/" << kLoadSteps << std::flush;
    }
  };
  const bool failed =
      WritePresetMemory(link, 0, img, progress) || SendPresetSystemSettings(link, 0, img);
  std::cerr << "\n";
  if (failed) return Fail(unit_text + " stopped answering during the load");
  std::cout << "loaded " << name << " into " << unit_text << "\n";
  return kExitOk;
}

}  // namespace velmark::cli
