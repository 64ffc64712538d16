#pragma once
// The line the simulated units sit on. On USB one unit answers address 0. On RS-485 every unit
// answers only its own ID (1..32); address 0 is heard and acted on by every unit and answered
// by none; an address no unit has gets no answer. Frames that do not start F0 05 and end F7 are
// ignored by everyone.
//
// A block read is answered in the bus's block-reply style: the reply frame followed by the
// block (framed), or the block alone (bare). A unit that answers bare sends nothing at all for a
// block read it cannot serve.
//
// Line faults (lost requests, a corrupted reply byte, a line that stops carrying requests) are
// drawn from a seeded generator, so the same seed and the same requests give the same faults.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/frames.h"
#include "sim/sim_random.h"
#include "sim/sim_unit.h"

namespace velmark {

enum class BusMode { Usb, Rs485 };

enum class BlockReplyStyle { Framed, Bare };

inline constexpr int kMaxBusId = 32;

struct LineFaults {
  double drop = 0.0;                // probability that a request never reaches the units
  double garble = 0.0;              // probability that one byte of a reply is corrupted
  std::optional<long> stall_after;  // requests carried before the line goes quiet for good
  std::uint64_t seed = 1;
  long faults_after = 0;  // requests carried faithfully before drops and garbling may start
};

// What the line carries back for one request.
struct Delivery {
  bool acted = false;          // at least one unit acted on the request
  std::optional<Frame> reply;  // the reply frame, when a unit answered
  std::vector<std::uint8_t> block;
  bool bare = false;     // a block read answered bare: the reply frame stays off the line
  bool dropped = false;  // the line lost the request
  bool stalled = false;  // the line no longer carries requests
  int garbled_at = -1;   // index of the corrupted byte in WireBytes(), -1 when none

  // The bytes the line carries back, in order: the reply frame (unless the block goes bare),
  // then the block. Empty when nobody answered.
  std::vector<std::uint8_t> WireBytes() const;
};

bool IsWellFormed(const Frame& frame);

class SimBus {
 public:
  // One fresh unit answering address 0. `seed` drives the meters and the line faults.
  static SimBus Usb(std::uint64_t seed = 1);
  // One fresh unit per ID; IDs outside 1..32 and repeated IDs are left out.
  static SimBus Rs485(std::span<const int> ids, std::uint64_t seed = 1);

  BusMode Mode() const { return mode_; }
  std::vector<SimUnit>& Units() { return units_; }
  const std::vector<SimUnit>& Units() const { return units_; }
  // The unit with this ID, or nullptr.
  SimUnit* Find(int id);

  void SetFaults(const LineFaults& faults);
  const LineFaults& Faults() const { return faults_; }

  // How every unit of the bus answers a block read; Framed unless set.
  void SetBlockReply(BlockReplyStyle style) { block_reply_ = style; }
  BlockReplyStyle BlockReplies() const { return block_reply_; }

  // Carries one request to the units and their answer back.
  Delivery Deliver(const Frame& request);

  // Requests the line has carried (well-formed or not).
  long Requests() const { return requests_; }

 private:
  SimBus(BusMode mode, std::uint64_t seed) : mode_(mode), random_(seed) {}
  void Garble(Delivery& delivery);

  BusMode mode_;
  std::vector<SimUnit> units_;
  LineFaults faults_;
  BlockReplyStyle block_reply_ = BlockReplyStyle::Framed;
  SimRandom random_;
  long requests_ = 0;
};

}  // namespace velmark
