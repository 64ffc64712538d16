#include "app/init_cfg.h"

#include "app/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace velmark {
namespace {

// The largest record a file can hold: the length field is 16-bit signed.
constexpr std::size_t kMaxRecord = 4 + 32767 + 2 + 6;

std::int16_t GetInt16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)));
}

void PutInt16(std::vector<std::uint8_t>& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out.push_back(static_cast<std::uint8_t>(u & 0xFF));
  out.push_back(static_cast<std::uint8_t>(u >> 8));
}

}  // namespace

const char* InitCfgStatusText(InitCfgStatus status) {
  switch (status) {
    case InitCfgStatus::Complete:
      return "complete";
    case InitCfgStatus::Partial:
      return "short file: missing fields kept their values";
    case InitCfgStatus::Damaged:
      return "damaged text length: the fields from it on kept their values";
    case InitCfgStatus::Created:
      return "no file: an empty one was created";
    case InitCfgStatus::Missing:
      return "no file, and none could be created";
    case InitCfgStatus::Unreadable:
      return "the file could not be read";
  }
  return "unknown";
}

std::vector<std::uint8_t> EncodeInitCfg(const InitCfg& cfg) {
  std::vector<std::uint8_t> out;
  // A text field longer than the length field can say cannot come from a file; keep what fits.
  const std::size_t n = std::min<std::size_t>(cfg.Text.size(), 32767);
  out.reserve(12 + n);
  PutInt16(out, cfg.ComPort);
  PutInt16(out, static_cast<std::int16_t>(n));
  out.insert(out.end(), cfg.Text.begin(), cfg.Text.begin() + static_cast<std::ptrdiff_t>(n));
  PutInt16(out, cfg.SavedConnectionType);
  out.insert(out.end(), cfg.Trailing.begin(), cfg.Trailing.end());
  return out;
}

InitCfgStatus DecodeInitCfg(std::span<const std::uint8_t> b, InitCfg& cfg) {
  if (b.size() < 2) return InitCfgStatus::Partial;
  cfg.ComPort = GetInt16(b, 0);
  if (b.size() < 4) return InitCfgStatus::Partial;
  const int n = GetInt16(b, 2);
  // A negative length, or one that runs past the end, cannot be followed: the text and the
  // fields after it are not in this file.
  if (n < 0) return InitCfgStatus::Damaged;
  const std::size_t text_end = 4 + static_cast<std::size_t>(n);
  if (text_end > b.size()) return InitCfgStatus::Damaged;
  cfg.Text.assign(reinterpret_cast<const char*>(b.data()) + 4, static_cast<std::size_t>(n));
  if (b.size() < text_end + 2) return InitCfgStatus::Partial;
  cfg.SavedConnectionType = GetInt16(b, text_end);
  // The trailing fields are three 16-bit numbers: each one present is taken whole.
  for (std::size_t f = 0; f < 3; ++f) {
    const std::size_t at = text_end + 2 + 2 * f;
    if (b.size() < at + 2) return InitCfgStatus::Partial;
    cfg.Trailing[2 * f] = b[at];
    cfg.Trailing[2 * f + 1] = b[at + 1];
  }
  return InitCfgStatus::Complete;
}

InitCfgStatus ReadInitCfg(const std::filesystem::path& folder, InitCfg& cfg) {
  const auto path = folder / kInitCfgName;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) return InitCfgStatus::Unreadable;
    const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (created < 0) return InitCfgStatus::Missing;
    ::close(created);
    return InitCfgStatus::Created;
  }
  // Never more than the largest record: a huge or endless file costs nothing.
  std::vector<std::uint8_t> bytes(kMaxRecord);
  std::size_t got = 0;
  bool failed = false;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (failed) return InitCfgStatus::Unreadable;
  return DecodeInitCfg(std::span(bytes).first(got), cfg);
}

std::string WriteInitCfg(const std::filesystem::path& folder, const InitCfg& cfg) {
  return WriteFileAtomically(folder / kInitCfgName, EncodeInitCfg(cfg));
}

}  // namespace velmark
