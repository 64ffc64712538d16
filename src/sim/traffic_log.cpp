#include "sim/traffic_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace velmark {
namespace {

std::string TimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(ms));
  return text;
}

}  // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

TrafficLog::TrafficLog(const std::string& path) : file_(path, std::ios::app) {}

void TrafficLog::Request(std::span<const std::uint8_t> frame) {
  Line("->", HexBytes(frame));
}

void TrafficLog::Reply(std::span<const std::uint8_t> frame) {
  Line("<-", HexBytes(frame));
}

void TrafficLog::Block(std::span<const std::uint8_t> bytes) {
  Line("<-", "block " + std::to_string(bytes.size()) + " bytes: " + HexBytes(bytes));
}

void TrafficLog::Note(const std::string& text) {
  Line("--", text);
}

// Flushed at once: the log is read while the simulator runs, and must survive a kill.
void TrafficLog::Line(const char* arrow, const std::string& text) {
  if (!file_.is_open()) return;
  file_ << TimeStamp() << ' ' << arrow << ' ' << text << std::endl;
}

}  // namespace velmark
