// The checks of the scenario language: control and window properties, message boxes, the
// frames sent, and files written.

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>

#include "ui/scenario_properties.h"
#include "ui/scenario_runner.h"

namespace velmark::ui {

namespace {

std::string Quote(const std::string& s) {
  return "\"" + s + "\"";
}

// All hex digits of the words, spaces and separators between bytes ignored.
std::optional<std::vector<std::uint8_t>> HexBytes(const std::vector<Token>& words) {
  std::string digits;
  for (const Token& w : words) {
    for (char c : w.text) {
      if (std::isxdigit(static_cast<unsigned char>(c))) {
        digits += c;
      } else if (c != ' ' && c != ':' && c != '-') {
        return std::nullopt;
      }
    }
  }
  if (digits.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::string FramesText(const std::vector<velmark::Frame>& frames) {
  if (frames.empty()) return "no frames";
  std::string out;
  for (const velmark::Frame& f : frames) out += (out.empty() ? "" : " ") + FrameHex(f);
  return out;
}

std::string BytesText(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out.empty() ? "nothing" : out;
}

}  // namespace

std::string FrameHex(const velmark::Frame& frame) {
  std::string out = BytesText(std::vector<std::uint8_t>(frame.begin(), frame.end()));
  std::erase(out, ' ');
  return out;
}

void ScenarioRunner::CheckProperty(const Args& a) {
  const std::string& property = a[1].text;
  std::vector<std::string> extra;
  for (std::size_t i = 2; i + 1 < a.size(); ++i) extra.push_back(a[i].text);
  const std::string expected = NormalizeExpected(property, a.back().text);
  auto addr = ParseAddress(a[0].text);
  if (!addr) return Fail("bad address " + a[0].text);
  PropertyValue seen;
  if (addr->HasControl()) {
    Control* c = ControlOf(a[0].text, false);
    if (!c) return;
    seen = ReadControlProperty(*c, property, extra);
  } else {
    Window* w = WindowOf(*addr, false);
    if (!w) return;
    if (!extra.empty()) return Fail("window properties take no arguments");
    seen = ReadWindowProperty(*w, stage_.ActiveWindow() == w, property);
  }
  if (!seen.error.empty()) return Fail(seen.error);
  if (seen.value != expected) {
    std::string what = a[0].text + " " + property;
    for (const auto& e : extra) what += " " + e;
    Fail("expected " + what + " " + Quote(expected) + ", saw " + Quote(seen.value));
  }
}

void ScenarioRunner::CheckMessage(const Args& a) {
  const auto& shown = stage_.Messages().Shown();
  std::string wanted = Quote(a[0].text);
  if (a.size() == 2) wanted += " titled " + Quote(a[1].text);
  if (checked_messages_ >= shown.size()) {
    return Fail("expected message box " + wanted + ", saw none");
  }
  const ShownMessage& m = shown[checked_messages_++];
  if (m.text != a[0].text || (a.size() == 2 && m.title != a[1].text)) {
    Fail("expected message box " + wanted + ", saw " + Quote(m.text) + " titled " + Quote(m.title));
  }
}

void ScenarioRunner::CheckNoMessage(const Args&) {
  const auto& shown = stage_.Messages().Shown();
  if (checked_messages_ < shown.size()) {
    Fail("expected no message box, saw " + Quote(shown[checked_messages_].text));
  }
}

void ScenarioRunner::CheckFrames(const Args& a) {
  auto bytes = HexBytes(a);
  if (!bytes || bytes->size() % kFrameSize != 0 || bytes->empty()) {
    return Fail("expect-frames needs frames of 26 hex digits each");
  }
  std::vector<velmark::Frame> expected(bytes->size() / kFrameSize);
  for (std::size_t i = 0; i < bytes->size(); ++i)
    expected[i / kFrameSize][i % kFrameSize] = (*bytes)[i];
  std::vector<velmark::Frame> seen;
  seen.swap(frames_);
  if (seen != expected) Fail("expected " + FramesText(expected) + ", saw " + FramesText(seen));
}

void ScenarioRunner::CheckNoFrames(const Args&) {
  std::vector<velmark::Frame> seen;
  seen.swap(frames_);
  if (!seen.empty()) Fail("expected no frames, saw " + FramesText(seen));
}

void ScenarioRunner::CheckFile(const Args& a) {
  std::filesystem::path path(a[0].text);
  if (path.is_relative()) path = host_.DataFolder() / path;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail("expected file " + Quote(a[0].text) + ", saw no such file");
  std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  const std::string& what = a[1].text;
  if (what == "size" && a.size() == 3) {
    const std::string seen = std::to_string(data.size());
    if (seen != a[2].text) {
      Fail("expected " + Quote(a[0].text) + " size " + a[2].text + ", saw " + seen);
    }
    return;
  }
  if (what != "bytes" || a.size() < 4) return Fail("expect-file takes size N or bytes OFFSET HEX");
  std::size_t offset = 0;
  const std::string& off = a[2].text;
  const bool hex = off.rfind("0x", 0) == 0;
  auto [ptr, ec] =
      std::from_chars(off.data() + (hex ? 2 : 0), off.data() + off.size(), offset, hex ? 16 : 10);
  if (ec != std::errc() || ptr != off.data() + off.size()) return Fail("bad offset " + off);
  auto expected = HexBytes(Args(a.begin() + 3, a.end()));
  if (!expected) return Fail("expect-file bytes needs hex digits");
  std::vector<std::uint8_t> seen;
  for (std::size_t i = 0; i < expected->size() && offset + i < data.size(); ++i) {
    seen.push_back(data[offset + i]);
  }
  if (seen != *expected) {
    Fail("expected " + Quote(a[0].text) + " at " + off + ": " + BytesText(*expected) + ", saw " +
         BytesText(seen));
  }
}

}  // namespace velmark::ui
