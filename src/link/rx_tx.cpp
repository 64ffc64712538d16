#include "link/rx_tx.h"

#include <cmath>
#include <exception>
#include <span>
#include <vector>

namespace velmark {

RxTx::RxTx(ProgramState& state, SerialPort& port, ui::MessageBoxService& messages)
    : state_(state), port_(port), messages_(messages) {}

bool RxTx::EnsureOpen() {
  if (port_.IsOpen()) return true;
  return port_.Open("COM" + std::to_string(state_.ComPort), 9600) == SerialStatus::Ok;
}

std::string RxTx::OfflineRowText(int id) const {
  if (state_.ConnectionType == kUsb) return "USB - " + state_.DeviceTypeName + " - Off-line";
  return "ID:" + TwoDigitText(id) + " - " + state_.DeviceTypeName + " - Off-line";
}

bool RxTx::TransmitPacket(int unit, std::uint8_t command, const FrameData& data) {
  if (state_.DemoMode || !state_.LinkStarted || state_.SendSuppressed) return false;
  if (unit < 0 || unit >= kUnitCount) return true;  // no such slot: nothing can be sent
  if (!state_.DeviceTable[unit].Online) return false;
  state_.LinkIdle = false;
  bool failed;
  try {
    failed = Exchange(unit, command, data);
  } catch (const std::exception&) {
    // A run-time error inside the exchange counts as a failed exchange.
    failed = ReportFailure(unit, state_.DeviceTable[unit].Id);
  }
  state_.LinkIdle = true;
  return failed;
}

// Steps 4 to 9 of an exchange; returns Failed. LinkIdle is restored by the caller.
bool RxTx::Exchange(int unit, std::uint8_t command, const FrameData& data) {
  const int address = command == CmdRelease ? 0 : state_.DeviceTable[unit].Id;
  TxFrame = BuildFrame(static_cast<std::uint8_t>(address), command, data);
  // A port that cannot be opened fails the exchange without a word: the unit stays on-line.
  if (!EnsureOpen()) return true;
  const Timeout timeout = CommandTimeout(command);
  Frame frame = TxFrame;
  if (command == CmdRelease) {
    port_.Transact(frame, timeout.ms, true, false, timeout.count);
    return false;  // the unit does not answer a release; its outcome never matters
  }
  if (port_.Transact(frame, timeout.ms, true, false, timeout.count) == SerialStatus::Ok) {
    std::copy(frame.begin(), frame.end(), RxBuffer.begin());
    return false;
  }
  return ReportFailure(unit, address);
}

// A failed exchange. Before the first edit window has loaded nothing is reported and the unit
// stays on-line; the call still returns Failed so that the caller never takes the previous
// reply in RxBuffer for this one.
bool RxTx::ReportFailure(int unit, int address) {
  if (!state_.ReportLinkErrors) return true;
  messages_.Show(kLinkFailureText, kLinkFailureTitle, ui::MsgIcon::Exclamation, ui::MsgButtons::Ok);
  if (observer_) observer_->WriteDeviceRow(unit, OfflineRowText(address));
  state_.ConfigRead[unit] = false;
  state_.NeedsConnect[unit] = true;
  if (state_.DeviceTable[unit].WindowOpen && observer_) observer_->UnloadEditWindow(unit);
  return true;
}

bool RxTx::PingUnit(int id) {
  try {
    const Frame request = BuildFrame(static_cast<std::uint8_t>(id), CmdPing, FrameData{});
    Frame frame = request;
    if (!EnsureOpen()) return false;
    SerialStatus status = port_.Transact(frame, kPingTimeout.ms, true, false, kPingTimeout.count);
    if (status == SerialStatus::Closed && !port_.IsOpen()) {
      // The device behind the open port had gone since the last exchange (an adapter pulled
      // and plugged in again): the port closed itself, and the port name may reach the device
      // anew. One more try on a fresh open, so that a reconnection does not fail on a dead
      // handle.
      frame = request;
      if (!EnsureOpen()) return false;
      status = port_.Transact(frame, kPingTimeout.ms, true, false, kPingTimeout.count);
    }
    if (status != SerialStatus::Ok) return false;
    std::copy(frame.begin(), frame.end(), RxBuffer.begin());
    return RxBuffer[11] == 5;
  } catch (const std::exception&) {
    return false;
  }
}

bool RxTx::ReadBlock(int unit, std::uint8_t command, std::uint8_t d0, int start, int count) {
  if (state_.DemoMode || !state_.LinkStarted || state_.SendSuppressed) return false;
  if (unit < 0 || unit >= kUnitCount) return true;
  if (!state_.DeviceTable[unit].Online) return false;
  state_.LinkIdle = false;
  bool failed = true;
  try {
    if (count >= 1 && count <= kRxBufferSize && start >= 0 && start <= 0xFFFF) {
      const auto s = SplitAddress(start);
      const auto c = SplitAddress(count);
      Frame frame = BuildFrame(static_cast<std::uint8_t>(state_.DeviceTable[unit].Id), command,
                               FrameData{d0, s[2], s[3], c[2], c[3], 0, 0, 0});
      TxFrame = frame;
      if (EnsureOpen()) {
        // Only the frame goes out here; the block follows and is read below.
        port_.Transact(frame, kBlockFrameTimeout.ms, true, true, kBlockFrameTimeout.count);
        std::vector<std::uint8_t> block(static_cast<std::size_t>(count));
        if (port_.ReadData(block, kBlockDataTimeoutMs, 0) == SerialStatus::Ok) {
          std::copy(block.begin(), block.end(), RxBuffer.begin());
          failed = false;
        }
      }
    }
  } catch (const std::exception&) {
    failed = true;
  }
  state_.LinkIdle = true;
  return failed;
}

bool RxTx::ReportFailedRead(int unit) {
  if (unit < 0 || unit >= kUnitCount) return true;
  return ReportFailure(unit, state_.DeviceTable[unit].Id);
}

std::array<std::uint8_t, 4> SplitAddress(double value) {
  // nearbyint rounds half to even in the default rounding mode. Values outside 32 bits wrap:
  // the callers only pass addresses, counts and 16-bit words.
  const double rounded = std::isfinite(value) ? std::nearbyint(value) : 0.0;
  const auto v =
      static_cast<std::uint32_t>(static_cast<std::int64_t>(std::fmod(rounded, 4294967296.0)));
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

double Log10(double x) {
  return std::log(x) / std::log(10.0);
}

int QToIndex(double q, int mode) {
  if (mode == 0) {
    int lower = 0;
    for (int i = 0; i < static_cast<int>(EqQTable.size()); ++i) {
      const double t = EqQTable[static_cast<std::size_t>(i)];
      if (t < q) {
        lower = i;
        continue;
      }
      if (t == q) return i;
      if (i == 0) return 0;
      return q - EqQTable[static_cast<std::size_t>(lower)] > t - q ? i : lower;
    }
    return 100;
  }
  const double n = mode == 2 ? std::nearbyint(q - 4.0) : std::nearbyint((q - 0.1) / 0.05);
  if (std::isnan(n) || n < 0) return 0;
  if (n > 100) return 100;
  return static_cast<int>(n);
}

std::string TwoDigitText(int n) {
  std::string text = std::to_string(n);
  return n <= 9 && n >= 0 ? "0" + text : text;
}

}  // namespace velmark
