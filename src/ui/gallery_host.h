#pragma once
// The scenario host of the control gallery: starts by showing the gallery window and records
// the frames its Apply button sends.

#include <filesystem>
#include <memory>
#include <vector>

#include "ui/gallery_window.h"
#include "ui/scenario_host.h"

namespace velmark::ui {

class GalleryHost : public ScenarioHost {
 public:
  GalleryHost(Platform& platform, std::filesystem::path data_folder);
  void Start() override;
  Window* FindWindow(const std::string& name, int unit) override;
  std::vector<velmark::Frame> TakeFrames() override;
  std::filesystem::path DataFolder() override { return data_folder_; }
  GalleryWindow& Gallery() { return *gallery_; }

 private:
  std::filesystem::path data_folder_;
  std::unique_ptr<GalleryWindow> gallery_;
  std::vector<velmark::Frame> sent_;
};

}  // namespace velmark::ui
