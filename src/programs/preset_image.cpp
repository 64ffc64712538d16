#include "programs/preset_image.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace velmark {

PresetFile ReadPresetFile(const std::filesystem::path& path) {
  PresetFile out;
  std::error_code ec;
  const auto kind = std::filesystem::status(path, ec).type();
  if (kind == std::filesystem::file_type::not_found) {
    out.status = PresetRead::NotFound;
    return out;
  }
  if (ec || kind == std::filesystem::file_type::directory) return out;
  std::ifstream in(path, std::ios::binary);
  if (!in) return out;
  // One byte past the image tells a whole image from a longer file without reading the rest.
  std::array<char, kPresetFileSize + 1> buf{};
  in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
  if (in.bad()) return out;
  out.size = static_cast<std::size_t>(in.gcount());
  std::copy_n(buf.begin(), std::min(out.size, kPresetFileSize), out.bytes.begin());
  if (out.size < kPresetIgnoredBelow) {
    out.status = PresetRead::Ignored;
  } else if (out.size < kPresetFileSize) {
    out.status = PresetRead::Truncated;
  } else {
    out.status = PresetRead::Ok;
  }
  return out;
}

void TakePresetAreas(ParamImage& img, std::span<const std::uint8_t, kImageSize> file) {
  std::copy_n(file.begin(), kParamBytes, img.begin());
  img[InputSourceAddr(0)] = file[InputSourceAddr(0)];
  img[kDelayUnitAddr] = file[kDelayUnitAddr];
  std::copy_n(file.begin() + kHostAreaStart, kHostAreaSize, img.begin() + kHostAreaStart);
}

}  // namespace velmark
