#include "report/decoded_unit.h"

#include "commands/decode_image.h"
#include "editor/edit_window_table.h"
#include "link/rx_tx.h"
#include "ui/headless.h"

namespace velmark {
namespace {

// Nothing is ever sent (demo mode), so the port only has to exist.
class ClosedPort final : public SerialPort {
 public:
  SerialStatus Init(int, int) override { return SerialStatus::Ok; }
  SerialStatus Open(const std::string&, int) override { return SerialStatus::NotFound; }
  SerialStatus Transact(Frame&, int, bool, bool, int) override { return SerialStatus::Closed; }
  SerialStatus Close() override { return SerialStatus::Ok; }
  bool IsOpen() const override { return false; }
  SerialStatus ReadData(std::span<std::uint8_t>, int, int) override { return SerialStatus::Closed; }
  std::string LastErrorText() const override { return "no port"; }
};

}  // namespace

struct DecodedUnit::Parts {
  Parts() : link(st, port, platform.messages), core{st, link, platform.platform, windows} {
    windows.core = &core;
    st.DemoMode = true;  // nothing is ever sent
    st.CurUnit = 0;
  }
  ui::HeadlessPlatform platform;
  ProgramState st;
  ClosedPort port;
  RxTx link;
  EditWindowTable windows;
  Core core;
};

DecodedUnit::DecodedUnit() : parts_(std::make_unique<Parts>()) {}
DecodedUnit::~DecodedUnit() = default;

void DecodedUnit::Decode(const ParamImage& image) {
  ProgramState& st = parts_->st;
  st.CurUnit = 0;
  st.DeviceImages[0] = image;
  st.SendSuppressed = true;
  DecodeImage(parts_->core);
  st.SendSuppressed = false;
}

ProgramState& DecodedUnit::State() {
  return parts_->st;
}

const UnitResponses& DecodedUnit::Responses() {
  return parts_->st.Responses(0);
}

FrmKVRxxxA& DecodedUnit::Window() {
  return parts_->windows.Window(0);
}

}  // namespace velmark
