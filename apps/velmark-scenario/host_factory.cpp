#include "host_factory.h"

#include "ui/gallery_host.h"

namespace velmark {

HostResult MakeScenarioHost(const ui::ScenarioOptions& options, ui::Platform& platform,
                            const std::filesystem::path& data_folder) {
  if (options.gallery) return {std::make_unique<ui::GalleryHost>(platform, data_folder), ""};
  // The program's own host (--port, --sim, --demo) is added here once its windows exist.
  return {nullptr, "only the control gallery can be run so far: use --gallery"};
}

}  // namespace velmark
