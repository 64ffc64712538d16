#pragma once
// Replacing a file so that a reader sees either the old or the new content, never a part: the
// bytes go to a temporary file in the same folder, reach the disk, and are renamed over it.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace velmark {

// Returns the error text, empty on success. The new file is readable by everyone (0644).
std::string WriteFileAtomically(const std::filesystem::path& file,
                                std::span<const std::uint8_t> bytes);

}  // namespace velmark
