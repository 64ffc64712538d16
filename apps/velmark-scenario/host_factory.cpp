#include "host_factory.h"

#include "app/program_host_factory.h"
#include "ui/gallery_host.h"

namespace velmark {

HostResult MakeScenarioHost(const ui::ScenarioOptions& options, ui::Platform& platform,
                            const std::filesystem::path& data_folder) {
  if (options.gallery) return {std::make_unique<ui::GalleryHost>(platform, data_folder), ""};
  auto made = MakeProgramHost(options, platform, data_folder);
  return {std::move(made.host), made.error};
}

}  // namespace velmark
