// The transaction engine's reply handling over a port whose far end sends the fuzz input:
// a short sequence of pings, parameter writes, block reads and whole unit reads, each answered
// with bytes of any length (short, long, wrong frame bytes, a block with or without its frame).
// After each step the engine's verdict must match what the line carried: a reply is taken only
// when one came, a block only when it had the right shape, and the engine is idle again.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "link/frames.h"
#include "link/rx_tx.h"
#include "link/unit_reader.h"
#include "stream_port.h"
#include "ui/headless.h"

namespace {

using namespace velmark;

constexpr int kMaxSteps = 48;
constexpr std::array<std::uint8_t, 7> kCommands{
    CmdGain, CmdMute, CmdStatusPoll, CmdWriteMemory, CmdLinkMask, CmdRelease, CmdReadVersion};

struct Counting : LinkObserver {
  void WriteDeviceRow(int, const std::string&) override { ++rows; }
  void UnloadEditWindow(int) override { ++unloads; }
  int rows = 0, unloads = 0;
};

void Ping(RxTx& link, fuzz::StreamPort& port, fuzz::FuzzInput& in) {
  const bool present = link.PingUnit(in.Byte() % 33);
  FUZZ_CHECK(present == (port.last_reply && (*port.last_reply)[11] == 5));
}

void Write(RxTx& link, fuzz::StreamPort& port, fuzz::FuzzInput& in, const ProgramState& st) {
  const std::uint8_t command = kCommands[in.Byte() % kCommands.size()];
  FrameData data{};
  const auto bytes = in.Bytes(data.size());
  std::copy(bytes.begin(), bytes.end(), data.begin());
  const std::size_t before = port.sent.size();
  const bool failed = link.TransmitPacket(0, command, data);
  const bool sent = port.sent.size() > before;
  if (command == CmdRelease) {
    FUZZ_CHECK(!sent || !failed);  // nobody answers a release: once sent, it succeeded
    return;
  }
  FUZZ_CHECK(failed == (sent ? !port.last_reply.has_value() : st.DeviceTable[0].Online));
  if (!failed && sent) {
    FUZZ_CHECK(std::equal(port.last_reply->begin(), port.last_reply->end(), link.RxBuffer.begin()));
  }
}

void Block(RxTx& link, fuzz::StreamPort& port, fuzz::FuzzInput& in) {
  // Mostly counts the engine accepts, sometimes one just outside them.
  const int count = (in.Byte() | (in.Byte() << 8)) % (kRxBufferSize + 2);
  const int start = in.Byte() << 8 | in.Byte();
  const bool failed = link.ReadBlock(0, CmdReadBlock, 0, start, count);
  if (count < 1 || count > kRxBufferSize) {
    FUZZ_CHECK(failed);
    return;
  }
  FUZZ_CHECK(failed == port.last_block.empty());
  if (!failed)
    FUZZ_CHECK(std::equal(port.last_block.begin(), port.last_block.end(), link.RxBuffer.begin()));
}

void Step(RxTx& link, fuzz::StreamPort& port, fuzz::FuzzInput& in, ProgramState& st) {
  port.last_reply.reset();
  port.last_block.clear();
  ReadProgress progress;
  switch (in.Byte() % 6) {
    case 0:
      Ping(link, port, in);
      break;
    case 1:
    case 2:
      Write(link, port, in, st);
      break;
    case 3:
      Block(link, port, in);
      break;
    case 4:
      ReadUnitName(st, link, 0);
      FUZZ_CHECK(st.DeviceName[0].size() <= 16);
      break;
    default:
      ReadUnitConfig(st, link, 0, progress);
      break;
  }
  FUZZ_CHECK(st.LinkIdle);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  ui::ScriptedMessageBox messages;
  ProgramState st;
  fuzz::StreamPort port(in);
  RxTx link(st, port, messages);
  Counting observer;
  link.SetObserver(&observer);
  st.LinkStarted = true;
  st.ComPort = 1;
  st.LinkIdle = true;  // as the first edit window leaves it
  const std::uint8_t setup = in.Byte();
  st.ConnectionType = setup & 1 ? kRs485 : kUsb;
  st.ReportLinkErrors = (setup & 2) != 0;
  st.DeviceTable[0] = {true, false, st.ConnectionType == kUsb ? 0 : 1 + setup % 32, true};
  for (int i = 0; i < kMaxSteps && !in.Empty(); ++i) Step(link, port, in, st);
  // A failure is told once: one message and one off-line row each, and only when reported.
  FUZZ_CHECK(observer.rows == static_cast<int>(messages.Shown().size()));
  if (!st.ReportLinkErrors) FUZZ_CHECK(observer.rows == 0);
  FUZZ_CHECK(observer.unloads == 0);
  return 0;
}
