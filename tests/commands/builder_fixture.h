#pragma once
// What a builder test needs: a program state with one USB unit on-line, the transaction engine
// over a scripted port that echoes every request (or fails it on demand), headless platform
// services and one edit window's controls per unit.

#include <array>
#include <memory>
#include <vector>

#include "commands/core.h"
#include "support/scripted_port.h"
#include "ui/headless.h"

namespace velmark::testing {

// One EditControls per unit, created on first use, with the crossover slope lists filled as
// the edit window fills them at load.
class TestWindows : public EditWindowSource {
 public:
  EditControls& EditControlsOf(int unit) override {
    auto& slot = windows_.at(static_cast<std::size_t>(unit));
    if (!slot) {
      slot = std::make_unique<EditControls>();
      for (int f = 0; f < 2; ++f) {
        for (auto name : XoverSlopeNames) slot->ComboHpLpS(f).AddItem(std::string(name));
      }
      slot->ImgMuteON.SetPicture("mute-on");
      slot->ImgMuteOFF.SetPicture("mute-off");
    }
    return *slot;
  }
  bool Created(int unit) const { return windows_.at(static_cast<std::size_t>(unit)) != nullptr; }

 private:
  std::array<std::unique_ptr<EditControls>, kUnitCount> windows_{};
};

inline FrameData DataOf(const Frame& frame) {
  FrameData d{};
  std::copy(frame.begin() + 4, frame.begin() + 12, d.begin());
  return d;
}

struct SentPacket {
  std::uint8_t command;
  FrameData data;
  bool operator==(const SentPacket&) const = default;
};

class BuilderFixture {
 public:
  explicit BuilderFixture(SerialPort* port = nullptr)
      : link(st, port ? *port : scripted, platform.messages),
        core{st, link, platform.platform, windows} {
    st.LinkStarted = true;
    st.ComPort = 1;
    st.DeviceTable[0] = {true, true, 0, true};
    scripted.responder = [this](Frame& f) {
      if (fail_from >= 0 && static_cast<int>(scripted.calls.size()) > fail_from) {
        return SerialStatus::Timeout;
      }
      (void)f;  // the unit echoes the request
      return SerialStatus::Ok;
    };
    platform.messages.OnUnexpected = [this](const ui::ShownMessage& m) {
      unexpected.push_back(m.text);
    };
  }

  // Requests that went out through the scripted port, as command and data bytes.
  std::vector<SentPacket> Sent() const {
    std::vector<SentPacket> out;
    for (const auto& call : scripted.calls) out.push_back({call.frame[3], DataOf(call.frame)});
    return out;
  }
  void ClearSent() { scripted.calls.clear(); }
  // Exchanges from number n on (0-based) time out.
  void FailFrom(int n) { fail_from = n; }

  EditControls& W() { return core.Win(); }
  DeviceSettings& Rec() { return st.Rec(); }
  ParamImage& Img() { return st.Img(); }

  ProgramState st;
  ScriptedPort scripted;
  ui::HeadlessPlatform platform;
  RxTx link;
  TestWindows windows;
  Core core;
  int fail_from = -1;
  std::vector<std::string> unexpected;
};

inline SentPacket Packet(std::uint8_t command, FrameData data) {
  return {command, data};
}

}  // namespace velmark::testing
