// velmark-sim's side of the line: the frame assembler cutting requests out of any byte stream,
// and the simulated units acting on and answering every request it yields, on USB or on an
// RS-485 bus, with either block-reply style. Whatever came in, a request handed on is a whole
// frame, and an answer is a well-formed frame plus at most one block of memory.

#include <array>
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "link/frames.h"
#include "link/rx_tx.h"
#include "sim/frame_assembler.h"
#include "sim/sim_bus.h"

namespace {

using namespace velmark;

SimBus MakeBus(std::uint8_t setup) {
  static constexpr std::array kIds{1, 2, 7, 32};
  SimBus bus = setup & 1 ? SimBus::Rs485(kIds, setup) : SimBus::Usb(setup);
  bus.SetBlockReply(setup & 2 ? BlockReplyStyle::Bare : BlockReplyStyle::Framed);
  return bus;
}

void CheckDelivery(const Delivery& d) {
  if (d.reply) FUZZ_CHECK(IsWellFormed(*d.reply));
  FUZZ_CHECK(d.block.size() <= static_cast<std::size_t>(kRxBufferSize));
  FUZZ_CHECK(!d.bare || !d.block.empty() || !d.reply);
  const auto wire = d.WireBytes();
  FUZZ_CHECK(wire.size() == d.block.size() + (d.reply && !d.bare ? kFrameSize : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  SimBus bus = MakeBus(in.Byte());
  FrameAssembler assembler;
  std::size_t skipped = 0;
  while (!in.Empty()) {
    const std::optional<Frame> request = assembler.Push(in.Byte());
    FUZZ_CHECK(assembler.Pending() >= 0 && assembler.Pending() < kFrameSize);
    FUZZ_CHECK(assembler.Skipped() >= skipped);
    skipped = assembler.Skipped();
    if (!request) continue;
    FUZZ_CHECK((*request)[0] == kFrameStart && (*request)[12] == kFrameEnd);
    CheckDelivery(bus.Deliver(*request));
  }
  return 0;
}
