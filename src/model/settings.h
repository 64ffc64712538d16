#pragma once
// Decoded settings record of one unit: the values the program computes with (Hz, dB, 0/1 flags,
// type indexes, names). It mirrors part of the unit's raw image; dynamics, routing and channel
// names live only in the image. Element types follow the unit's stored record and files.

#include <array>
#include <cstdint>
#include <string>

#include "model/tables.h"

namespace velmark {

struct DeviceSettings {
  std::array<double, kBandCount> EqGain{};        // dB, −15..+15; 0 while the band is off
  std::array<double, kBandCount> EqFreq{};        // Hz
  std::array<double, kBandCount> EqQ{};           // shape value, meaning by EqType
  std::array<double, kBandCount> EqBandBypass{};  // 1.0 = band switched off
  std::array<std::int16_t, kBandCount> EqType{};  // 0..16, index into EqTypeNames
  std::array<double, kLevelSlots> LevelGain{};    // dB as shown; slots 8, 9 are the masters
  std::array<std::int16_t, kChannelCount> Mute{};
  std::array<std::int16_t, kChannelCount> Polarity{};  // 1 = inverted ("180°")
  std::array<std::int16_t, kChannelCount> EqBypass{};  // 1 = whole EQ section bypassed
  std::int16_t DelayUnit = 0;                          // 0 = ms, 1 = m
  std::array<double, kChannelCount> DelayCoarse{};     // whole ms
  std::array<double, kChannelCount> DelayFine{};       // steps of 0.0104 ms
  std::array<double, kXoverCount> XoverFreq{};         // Hz
  std::array<double, kXoverCount> XoverType{};         // 0..12, index into XoverSlopeNames
  std::array<std::int16_t, kChannelCount> CompBypass{};
  std::array<std::int16_t, kChannelCount> LimBypass{};
  std::int16_t InputSourceAB = 0;  // 0..2, index into InputSourceNames
  std::int16_t InputSourceCD = 0;
  double PasswordOn = 0.0;
  double LockOn = 0.0;
  std::array<double, kProgramCount> ProgramSlot{};  // own number when in use, >= 64 when empty
  std::array<std::string, kProgramCount> ProgramName{};
  std::string CurrentProgramName;
  std::array<std::int16_t, kChannelCount> ShowCursor{};
  std::array<double, kPasswordLength> PasswordCode{};  // character codes, first character first
  std::array<std::int16_t, 2> NoiseType{};             // per input pair: 0 white, 1 pink
  std::array<std::int16_t, 2> NoiseLevel{};            // per input pair: step 0..40

  bool operator==(const DeviceSettings&) const = default;
};

}  // namespace velmark
