#pragma once
// init.cfg in the data folder: the port and connection type between runs. One record, read and
// written whole from offset 0; every number is 16-bit signed little-endian:
//
//   0      2  ComPort (0 = "NONE", n = "COM n")
//   2      2  length n of a text field the program never fills but carries as read
//   4      n  the text bytes
//   4 + n  2  SavedConnectionType (0 USB, 1 RS-485)
//   6 + n  6  three more fields the program never sets, carried as read (0 in a new file)
//
// With an empty text the file is 12 bytes long. The file is never trusted: fields a short,
// truncated or damaged file does not hold keep the values they had (the first-run defaults).

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace velmark {

inline constexpr const char* kInitCfgName = "init.cfg";

struct InitCfg {
  std::int16_t ComPort = 0;
  std::string Text;  // raw bytes, as read
  std::int16_t SavedConnectionType = 0;
  std::array<std::uint8_t, 6> Trailing{};

  bool operator==(const InitCfg&) const = default;
};

enum class InitCfgStatus {
  Complete,   // every field was present
  Partial,    // the file ended early: the fields after its end kept their values
  Damaged,    // the text length was negative or ran past the end: it and what follows kept
  Created,    // there was no file; an empty one was created
  Missing,    // there was no file and none could be created
  Unreadable  // the file exists but could not be read; nothing changed
};

const char* InitCfgStatusText(InitCfgStatus status);

// The record as bytes.
std::vector<std::uint8_t> EncodeInitCfg(const InitCfg& cfg);
// Takes from `bytes` the fields it holds; the others keep their values in `cfg`.
InitCfgStatus DecodeInitCfg(std::span<const std::uint8_t> bytes, InitCfg& cfg);

// Reads `folder`/init.cfg into `cfg`; a missing file is created empty.
InitCfgStatus ReadInitCfg(const std::filesystem::path& folder, InitCfg& cfg);
// Replaces `folder`/init.cfg atomically (a temporary file in the same folder, flushed to disk,
// renamed over the old one). Returns the error text, empty on success.
std::string WriteInitCfg(const std::filesystem::path& folder, const InitCfg& cfg);

}  // namespace velmark
