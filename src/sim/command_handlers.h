#pragma once
// Handlers of the simulated unit's commands, shared between the two files that implement them
// and the command table. Each takes the request's data bytes d0..d7.

#include "sim/sim_unit.h"
#include "sim/unit_commands.h"

namespace velmark::sim_handlers {

inline Answer Echo(const FrameData& d) {
  return Answer{false, d, {}};
}

// Channel parameters.
Answer Gain(SimUnit& unit, const FrameData& d);
Answer AuxGain(SimUnit& unit, const FrameData& d);
Answer Delay(SimUnit& unit, const FrameData& d);
Answer Polarity(SimUnit& unit, const FrameData& d);
Answer Mute(SimUnit& unit, const FrameData& d);
Answer Crossover(SimUnit& unit, const FrameData& d);
Answer EqBand(SimUnit& unit, const FrameData& d);
Answer EqBypass(SimUnit& unit, const FrameData& d);
Answer Compressor(SimUnit& unit, const FrameData& d);
Answer Limiter(SimUnit& unit, const FrameData& d);
Answer NoiseGate(SimUnit& unit, const FrameData& d);
Answer InputRouting(SimUnit& unit, const FrameData& d);
Answer OutputRouting(SimUnit& unit, const FrameData& d);
Answer ChannelName(SimUnit& unit, const FrameData& d);

// System settings, memory, programs and link control.
Answer InputSource(SimUnit& unit, const FrameData& d);
Answer NoiseGenerator(SimUnit& unit, const FrameData& d);
Answer SystemSetting(SimUnit& unit, const FrameData& d);
Answer ReadMemory(SimUnit& unit, const FrameData& d);
Answer WriteMemory(SimUnit& unit, const FrameData& d);
Answer ReadBlock(SimUnit& unit, const FrameData& d);
Answer ProgramStates(SimUnit& unit, const FrameData& d);
Answer Version(SimUnit& unit, const FrameData& d);
Answer LinkMask(SimUnit& unit, const FrameData& d);
Answer StoreProgram(SimUnit& unit, const FrameData& d);
Answer RecallProgram(SimUnit& unit, const FrameData& d);
Answer CopyChannel(SimUnit& unit, const FrameData& d);
Answer SetDefault(SimUnit& unit, const FrameData& d);
Answer StatusPoll(SimUnit& unit, const FrameData& d);
Answer Acknowledge(SimUnit& unit, const FrameData& d);
Answer Ping(SimUnit& unit, const FrameData& d);
Answer Release(SimUnit& unit, const FrameData& d);

}  // namespace velmark::sim_handlers
