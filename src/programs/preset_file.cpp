#include "programs/preset_file.h"

#include <filesystem>
#include <optional>

#include "app/atomic_file.h"
#include "commands/decode_image.h"
#include "editor/refresh_channel_page.h"
#include "programs/preset_image.h"
#include "programs/preset_upload.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr int kChannelPages = kChannelCount;  // pages 0..7 show one channel each

// The dialog request of both buttons. The folder is made absolute against the current
// directory, which is the data folder when that is relative (or empty).
ui::FileRequest PresetRequest(const ProgramState& st) {
  std::error_code ec;
  const fs::path folder = fs::absolute(fs::path(st.DataFolder) / kPresetFolderName, ec);
  fs::create_directories(folder, ec);  // a missing folder only changes where the dialog opens
  return ui::FileRequest{kPresetFilter, folder.string(), true};
}

void ShowError(Core& core, const std::string& text) {
  core.ui.messages.Show(text, kPresetErrorTitle, ui::MsgIcon::Exclamation, ui::MsgButtons::Ok);
}

// The main window's pointer for the whole load; both pointers and the progress bar come back
// however the load ends.
class LoadPointers {
 public:
  explicit LoadPointers(FrmKVRxxxA& w) : w_(w) { Main(ui::MousePointer::Busy); }
  ~LoadPointers() {
    w_.SetPointer(ui::MousePointer::Default);
    w_.ProgressBar1.SetVisible(false);
    Main(ui::MousePointer::Default);
  }
  LoadPointers(const LoadPointers&) = delete;
  LoadPointers& operator=(const LoadPointers&) = delete;

 private:
  void Main(ui::MousePointer p) {
    if (w_.OnMainPointer) w_.OnMainPointer(p);
  }
  FrmKVRxxxA& w_;
};

// The file's bytes when it is a preset; otherwise says why (or nothing, for a tiny file).
std::optional<ParamImage> ReadChosenFile(Core& core, const std::string& path) {
  const PresetFile file = ReadPresetFile(fs::path(path));
  switch (file.status) {
    case PresetRead::Ok:
      return file.bytes;
    case PresetRead::NotFound:
      ShowError(core, kPresetNotFoundText);
      break;
    case PresetRead::Truncated:
      // The missing bytes would come from whatever the buffer held before: refused.
      ShowError(core, PresetSizeText(file.size));
      break;
    case PresetRead::Ignored:
    case PresetRead::Unreadable:
      break;
  }
  return std::nullopt;
}

// Record and window from the new image, nothing sent but the link mask; the channel page on
// show is filled again and its response redrawn.
void DecodeLoadedImage(FrmKVRxxxA& w) {
  Core& core = w.GetCore();
  core.st.SendSuppressed = true;
  DecodeImage(core);
  core.st.SendSuppressed = false;
  const int page = core.st.CurPage[ProgramState::Checked(core.st.CurUnit)];
  if (page >= 0 && page < kChannelPages) {
    {
      FlagGuard suppressed(core.st.SendSuppressed);
      RefreshChannelPage(core);
    }
    w.RedrawCurrentGraph(page);
  }
}

void SetFileCaption(FrmKVRxxxA& w, const std::string& path) {
  const ProgramState& st = w.GetCore().st;
  const std::string tail =
      st.DeviceTypeName + " - file loaded: " + fs::path(path).filename().string();
  if (st.ConnectionType == kRs485) {
    w.SetCaption("ID:" + TwoDigitText(st.DeviceTable[w.Unit()].Id) + " " + tail);
  } else {
    w.SetCaption("USB " + tail);
  }
}

}  // namespace

std::string PresetSizeText(std::size_t size) {
  return " The file is not a preset: " + std::to_string(size) + " bytes instead of " +
         std::to_string(kPresetFileSize) + ".";
}

std::string PresetSaveFailedText(const std::string& why) {
  return " The preset could not be saved: " + why;
}

// Written whole or not at all, so an existing longer file never keeps a tail of old bytes.
void SavePreset(FrmKVRxxxA& w) {
  Core& core = w.GetCore();
  const auto path = core.ui.files.SaveFile(PresetRequest(core.st));
  if (!path) return;
  const std::string error = WriteFileAtomically(fs::path(*path), core.Img());
  if (!error.empty()) ShowError(core, PresetSaveFailedText(error));
}

void LoadPreset(FrmKVRxxxA& w) {
  Core& core = w.GetCore();
  const auto path = core.ui.files.OpenFile(PresetRequest(core.st));
  if (!path) return;
  LoadPointers pointers(w);
  const auto file = ReadChosenFile(core, *path);
  if (!file) return;
  const int unit = core.st.CurUnit;
  ParamImage& img = core.Img();
  TakePresetAreas(img, *file);
  w.SetPointer(ui::MousePointer::Busy);
  w.ProgressBar1.SetValue(0);
  w.ProgressBar1.SetVisible(true);
  w.ProgressBar1.SetMax(kPresetProgressMax);
  const bool demo = core.st.DemoMode;
  // A failed write leaves the unit partly loaded; the window is not decoded then.
  if (!demo && WritePresetMemory(core.link, unit, img, [&w] { w.ProgressBar1.Advance(); })) {
    return;
  }
  DecodeLoadedImage(w);
  if (!demo && SendPresetSystemSettings(core.link, unit, img)) return;
  SetFileCaption(w, *path);
}

}  // namespace velmark
