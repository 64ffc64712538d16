#include "ui/gallery_host.h"

namespace velmark::ui {

GalleryHost::GalleryHost(Platform& platform, std::filesystem::path data_folder)
    : data_folder_(std::move(data_folder)),
      gallery_(std::make_unique<GalleryWindow>(platform, data_folder_)) {
  gallery_->OnSend = [this](const velmark::Frame& f) { sent_.push_back(f); };
  std::error_code ec;  // a missing preset folder only means the dialogs start elsewhere
  std::filesystem::create_directories(data_folder_ / "preset", ec);
}

void GalleryHost::Start() {
  gallery_->Show();
}

// The gallery has no per-unit windows: unit 0 or the default names the only instance.
Window* GalleryHost::FindWindow(const std::string& name, int unit) {
  if (unit > 0) return nullptr;
  if (name == gallery_->Name()) return gallery_.get();
  if (name == gallery_->About.Name()) return &gallery_->About;
  return nullptr;
}

std::vector<velmark::Frame> GalleryHost::TakeFrames() {
  std::vector<velmark::Frame> out;
  out.swap(sent_);
  return out;
}

}  // namespace velmark::ui
