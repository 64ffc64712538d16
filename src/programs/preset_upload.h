#pragma once
// Writing a preset image into a unit: the parameter area as 200 memory writes of four bytes
// (unit memory 64..863), the command that makes the unit apply them, and afterwards the two
// system settings a load changes, which the memory writes do not reach.

#include <functional>

#include "link/rx_tx.h"
#include "model/image.h"

namespace velmark {

inline constexpr int kPresetWriteCount = kParamBytes / 4;
inline constexpr int kPresetWriteBytes = 4;

// The 200 writes of image 0..799 to unit memory 64..863, then CmdApplyImage; `advance` runs
// after each of the 201 packets that went through. Stops at the first failure. Returns Failed.
bool WritePresetMemory(RxTx& link, int unit, const ParamImage& img,
                       const std::function<void()>& advance);

// The source of inputs A/B (image 817) and the delay unit (image 819), as their option buttons
// send them. Stops at the first failure. Returns Failed.
bool SendPresetSystemSettings(RxTx& link, int unit, const ParamImage& img);

}  // namespace velmark
