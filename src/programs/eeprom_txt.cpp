#include "programs/eeprom_txt.h"

#include <span>

#include "app/atomic_file.h"

namespace velmark {

namespace {
constexpr int kBytesPerLine = 4;
}  // namespace

std::string EepromText(const ParamImage& img) {
  std::string text;
  text.reserve(kParamBytes * 4 + kParamBytes / kBytesPerLine * 2);
  for (int a = 0; a < kParamBytes; ++a) {
    text += std::to_string(img[static_cast<std::size_t>(a)]);
    text += ',';
    if (a % kBytesPerLine == kBytesPerLine - 1) text += "\r\n";
  }
  return text;
}

std::string WriteEepromTxt(const std::filesystem::path& folder, const ParamImage& img) {
  const std::string text = EepromText(img);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return WriteFileAtomically(folder / kEepromTxtName, std::span(bytes, text.size()));
}

}  // namespace velmark
