#pragma once
// A program state and transaction engine on the in-process simulated line, with a switch that
// makes the n-th exchange fail, for the reading and search tests.

#include <memory>
#include <optional>

#include "link/rx_tx.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

namespace velmark::apptest {

// Passes everything to a simulated line, except that exchange number `fail_at` (0-based; an
// exchange is one Transact, with the ReadData of a block read) fails with a time-out.
class FaultyLine final : public SerialPort {
 public:
  explicit FaultyLine(SimBus bus) : sim_(std::move(bus)) {}
  SimLine& Sim() { return sim_; }
  std::optional<int> fail_at;
  int exchanges = 0;

  SerialStatus Init(int a, int b) override { return sim_.Init(a, b); }
  SerialStatus Open(const std::string& name, int baud) override { return sim_.Open(name, baud); }
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool block,
                        int count) override {
    failing_ = fail_at && *fail_at == exchanges++;
    const SerialStatus s = sim_.Transact(frame, timeout_ms, wait_reply, block, count);
    return failing_ ? SerialStatus::Timeout : s;
  }
  SerialStatus Close() override { return sim_.Close(); }
  bool IsOpen() const override { return sim_.IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override {
    const SerialStatus s = sim_.ReadData(block, timeout_ms, flags);
    return failing_ ? SerialStatus::Timeout : s;
  }
  std::string LastErrorText() const override { return sim_.LastErrorText(); }

 private:
  SimLine sim_;
  bool failing_ = false;
};

// Counts what a read shows.
struct CountingProgress : ReadProgress {
  std::vector<std::string> labels;
  int advances = 0;
  void ShowLabel(const std::string& text) override { labels.push_back(text); }
  void Advance() override { ++advances; }
};

struct LinkFixture {
  explicit LinkFixture(SimBus bus) : line(std::move(bus)), link(st, line, hp.messages) {
    st.LinkStarted = true;
    st.ComPort = 1;
  }
  // Unit index `unit` found on the line with bus ID `id`.
  void Found(int unit, int id) {
    st.DeviceTable[unit] = DeviceEntry{true, false, id, true};
    st.LastDeviceIndex = std::max(st.LastDeviceIndex, unit);
  }
  // Requests that went out with this command code.
  int Sent(std::uint8_t cmd) const {
    int n = 0;
    for (const Frame& f : line_sent()) n += f[3] == cmd;
    return n;
  }
  const std::vector<Frame>& line_sent() const { return const_cast<FaultyLine&>(line).Sim().Sent(); }

  ui::HeadlessPlatform hp;
  ProgramState st;
  FaultyLine line;
  RxTx link;
};

}  // namespace velmark::apptest
