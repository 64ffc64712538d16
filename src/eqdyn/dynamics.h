#pragma once
// Noise gate (inputs), compressor (every channel) and limiter (outputs) of the current
// channel. Each builder reads the sliders and check box of the edit window, writes the codes
// into the image first, shows the values and moves the knobs, and sends one packet that always
// carries every byte of its group. The record holds only CompBypass and LimBypass.
//
// Every slider runs from 0 at the top to its maximum n at the bottom; the stored code is
// n − position, so the largest value sits at the top.

#include <array>
#include <string>

#include "commands/core.h"

namespace velmark {

inline constexpr int kDynKnobTop = 480, kDynKnobSpan = 2020;  // NGSl, CmpSl, LimSl tracks

// Slider maxima: gate threshold/release/attack, compressor parameters by element mod 6,
// limiter threshold/release/attack.
inline constexpr std::array<int, kGateBytes - 1> kGateSliderMax = {6, 12, 28};
inline constexpr std::array<int, kCompBytes> kCompSliderMax = {150, 30, 100, 29, 29, 240};
inline constexpr std::array<int, kLimBytes> kLimSliderMax = {150, 49, 40};
inline constexpr std::array<int, kLimBytes> kLimElements = {1, 4, 5};
inline constexpr int kCompElements = 12;  // 0..5 input page, 6..11 output page

// Compressor selectors of CmdCompressor (d1).
inline constexpr std::uint8_t kCompSwitch = 0, kCompThresholdRatioKnee = 1, kCompReleaseAttack = 2,
                              kCompMakeUp = 3;
inline constexpr std::uint8_t kLimSwitch = 0, kLimParams = 0xFF;

// Knob top for a slider at `position` of 0..`max`: position / max × 2020 + 480, rounded half
// to even.
int DynKnobTop(int position, int max);

// Texts shown for a code. Thresholds: code / 5 − 10 dBu; gate threshold 5 × code − 80 dBu.
std::string GateText(int parameter, int code, bool decimal_comma);
std::string CompText(int parameter, int code, bool decimal_comma);
std::string LimText(int parameter, int code, bool decimal_comma);

// CheckNGByp and SliderNG 0..2 of the current input → gate bytes, CmdNoiseGate.
void SetNoiseGate(Core& core);
// CheckCmp(j) (0 input page, 1 output page) → bit of image byte 795, CompBypass, frame
// enabling, CmdCompressor on/off.
void SetCompBypass(Core& core, int j);
// SliderCmp(i), i = 0..11 → compressor byte i mod 6, CmdCompressor with selector 1 (threshold,
// ratio, knee), 2 (release, attack) or 3 (make-up gain). Elements outside 0..11 are ignored.
void SetCompParam(Core& core, int i);
// CheckLimByp of the current output → bit of image byte 796, LimBypass, CmdLimiter on/off.
void SetLimBypass(Core& core);
// SliderLim 1, 4, 5 of the current output → the three limiter bytes, CmdLimiter d1 = 0xFF.
void SetLimParams(Core& core);

}  // namespace velmark
