#pragma once
// The transaction engine: the only code that talks to the serial port. It decides from the
// program's flags whether anything is sent, picks the time-out from the command code, and
// handles a failed exchange (warn, mark the unit off-line, close its edit window).

#include <array>
#include <cstdint>
#include <string>

#include "link/frames.h"
#include "link/serial_port.h"
#include "model/program_state.h"
#include "ui/services.h"

namespace velmark {

inline constexpr int kRxBufferSize = 801;

// What the failure handling asks of the windows; the device list and the main window answer.
class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  // Column 0 of row `unit` of the device list grid.
  virtual void WriteDeviceRow(int unit, const std::string& text) = 0;
  // Unloads the unit's edit window (its question is skipped: NeedsConnect is already set).
  virtual void UnloadEditWindow(int unit) = 0;
};

inline constexpr const char* kLinkFailureText =
    " The system will be close the communication with this device";
inline constexpr const char* kLinkFailureTitle = "Communication problem";

class RxTx {
 public:
  RxTx(ProgramState& state, SerialPort& port, ui::MessageBoxService& messages);

  void SetObserver(LinkObserver* observer) { observer_ = observer; }
  SerialPort& Port() { return port_; }

  // Sends one request to a unit (by table index) and waits for its reply. Returns Failed.
  bool TransmitPacket(int unit, std::uint8_t command, const FrameData& data);
  bool TransmitPacket(int unit, std::uint8_t command, std::uint8_t d0 = 0, std::uint8_t d1 = 0,
                      std::uint8_t d2 = 0, std::uint8_t d3 = 0, std::uint8_t d4 = 0,
                      std::uint8_t d5 = 0, std::uint8_t d6 = 0, std::uint8_t d7 = 0) {
    return TransmitPacket(unit, command, FrameData{d0, d1, d2, d3, d4, d5, d6, d7});
  }
  // Tests whether a unit with this bus ID answers. Returns Present. Consults no flag.
  bool PingUnit(int id);
  // Reads `count` (1..801) bytes of unit memory from `start` into RxBuffer. Returns Failed.
  bool ReadBlock(int unit, std::uint8_t command, std::uint8_t d0, int start, int count);
  // A failed block read after which the image no longer matches the unit (the unit has
  // already taken a recalled program): told and marked for a reconnection exactly like a
  // failed exchange, when failures are reported. Returns Failed (always true).
  bool ReportFailedRead(int unit);

  // The request being sent, and the reply (or block) of the last successful exchange.
  Frame TxFrame{};
  std::array<std::uint8_t, kRxBufferSize> RxBuffer{};

  // Reply byte n (4..11 are r4..r11) of the last successful exchange.
  std::uint8_t Reply(int n) const { return RxBuffer[static_cast<std::size_t>(n)]; }

  // Row text of a unit that failed: "USB - " or "ID:nn - " + type name + " - Off-line".
  std::string OfflineRowText(int id) const;

 private:
  // Opens "COM<ComPort>" when the port is closed. True when the port is open afterwards.
  bool EnsureOpen();
  bool Exchange(int unit, std::uint8_t command, const FrameData& data);
  bool ReportFailure(int unit, int address);

  ProgramState& state_;
  SerialPort& port_;
  ui::MessageBoxService& messages_;
  LinkObserver* observer_ = nullptr;
};

// The 16-bit-and-beyond split used for addresses and words: the value rounded half to even,
// then four big-endian bytes; for 0..65535 the last two are the frame's high and low byte.
std::array<std::uint8_t, 4> SplitAddress(double value);
double Log10(double x);
// EQ Q step index 0..100 for a typed Q: mode 0 bell table, 2 whole steps from 4, else 0.05 steps.
int QToIndex(double q, int mode);
// Two decimal digits with a leading 0 below 10 ("07", "17").
std::string TwoDigitText(int n);

}  // namespace velmark
