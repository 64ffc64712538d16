#include "programs/preset_upload.h"

namespace velmark {

bool WritePresetMemory(RxTx& link, int unit, const ParamImage& img,
                       const std::function<void()>& advance) {
  for (int w = 0; w < kParamBytes; w += kPresetWriteBytes) {
    const int address = w + kUnitParamBase;
    const auto at = [&](int i) { return img[static_cast<std::size_t>(w + i)]; };
    if (link.TransmitPacket(unit, CmdWriteMemory, static_cast<std::uint8_t>(address / 256),
                            static_cast<std::uint8_t>(address % 256), kPresetWriteBytes, 0, at(0),
                            at(1), at(2), at(3))) {
      return true;
    }
    if (advance) advance();
  }
  if (link.TransmitPacket(unit, CmdApplyImage)) return true;
  if (advance) advance();
  return false;
}

bool SendPresetSystemSettings(RxTx& link, int unit, const ParamImage& img) {
  if (link.TransmitPacket(unit, CmdInputSource, 0, 0, 0, 0, 0, 0, 0, img[InputSourceAddr(0)])) {
    return true;
  }
  return link.TransmitPacket(unit, CmdSystemSetting, 1, 0, 0, 0, 0, 0, 0, img[kDelayUnitAddr]);
}

}  // namespace velmark
