#pragma once
// One simulated unit: its memory, its identity (bus ID, firmware version), its level meters and
// the faults a test can switch on. It acts on the requests addressed to it and says what it
// answers; addressing and the line are the bus's business.

#include <bitset>
#include <cstdint>
#include <optional>

#include "link/frames.h"
#include "sim/meters.h"
#include "sim/unit_commands.h"
#include "sim/unit_memory.h"

namespace velmark {

struct FirmwareVersion {
  std::uint8_t major = 3, minor = 1, patch = 2;
};

class SimUnit {
 public:
  // `id` is the address the unit answers: 0 on USB, 1..32 on RS-485. The seed drives the
  // meters' movement (each unit moves differently).
  explicit SimUnit(std::uint8_t id, std::uint64_t seed = 1);

  std::uint8_t Id() const { return id_; }
  UnitMemory& Memory() { return memory_; }
  const UnitMemory& Memory() const { return memory_; }
  MeterModel& Meters() { return meters_; }
  FirmwareVersion Version() const { return version_; }
  void SetVersion(FirmwareVersion version) { version_ = version; }

  // Acts on a well-formed request (F0 05 .. F7) for this unit and returns its answer, marked
  // silent when the unit acted but sends nothing (release). Nothing at all when the request is
  // lost: a stalled unit and a muted command neither act nor answer, as if unheard.
  std::optional<Answer> Handle(const Frame& request);

  // Faults for tests.
  void StopAnswering() { answers_left_ = 0; }
  // Answers `requests` more requests, then stops.
  void StopAnsweringAfter(long requests) { answers_left_ = requests; }
  void ResumeAnswering() { answers_left_.reset(); }
  void MuteCommand(std::uint8_t code, bool muted = true) { muted_[code] = muted; }

  // Requests this unit heard, answered or not.
  long RequestsHeard() const { return requests_heard_; }

 private:
  std::uint8_t id_;
  UnitMemory memory_;
  MeterModel meters_;
  FirmwareVersion version_;
  std::bitset<256> muted_;
  std::optional<long> answers_left_;
  long requests_heard_ = 0;
};

}  // namespace velmark
