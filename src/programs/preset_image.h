#pragma once
// A preset file is one unit image written byte for byte. Reading one gives the bytes a load
// may use, or why there are none; taking them into an image copies only what a load changes.

#include <cstddef>
#include <filesystem>
#include <span>

#include "model/image.h"

namespace velmark {

inline constexpr std::size_t kPresetFileSize = kImageSize;
// Shorter files are not presets at all and are passed over without a word.
inline constexpr std::size_t kPresetIgnoredBelow = 10;

enum class PresetRead {
  Ok,          // the file holds at least a whole image; `bytes` is its start
  NotFound,    // no such file
  Unreadable,  // a folder, no permission, a read error
  Ignored,     // fewer than kPresetIgnoredBelow bytes
  Truncated,   // more than that but less than a whole image
};

struct PresetFile {
  PresetRead status = PresetRead::Unreadable;
  std::size_t size = 0;  // bytes read, at most kPresetFileSize + 1
  ParamImage bytes{};
};

// Reads the start of `path`; never creates or changes the file.
PresetFile ReadPresetFile(const std::filesystem::path& path);

// What a load takes from a file: the parameter area 0..799, the source of inputs A/B, the
// delay unit and the host area. Every other image byte keeps its value (the source of inputs
// C/D, the lock and password bytes and the noise generators belong to the unit).
void TakePresetAreas(ParamImage& img, std::span<const std::uint8_t, kImageSize> file);

}  // namespace velmark
