#include "sim/sim_unit.h"

#include <algorithm>

#include "sim/command_handlers.h"

namespace velmark {

SimUnit::SimUnit(std::uint8_t id, std::uint64_t seed)
    : id_(id), meters_(seed * 0x100000001B3ull + id) {}

std::optional<Answer> SimUnit::Handle(const Frame& request) {
  ++requests_heard_;
  const std::uint8_t code = request[3];
  if ((answers_left_ && *answers_left_ <= 0) || muted_[code]) return std::nullopt;
  if (answers_left_) --*answers_left_;

  FrameData data{};
  std::copy(request.begin() + 4, request.begin() + 12, data.begin());
  const CommandHandler handler = FindHandler(code);
  return handler != nullptr ? handler(*this, data) : sim_handlers::Echo(data);
}

}  // namespace velmark
