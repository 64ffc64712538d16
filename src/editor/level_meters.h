#pragma once
// The level meters of an edit window. While the window is open its timer polls the unit's status
// (CmdStatusPoll, then CmdStatusDone); the reply carries one status byte per channel:
//
//   bit 0      dynamics activity (compressor or limiter working) → the yellow indicator lamp
//   bit 1      clip
//   bits 2..6  level as a thermometer code: 0, 64, 96, 112, 120, 124 = steps 0..5
//
// Each channel shows a ladder of seven lamps Shape1(7c + k): k = 0..3 green, 4 orange, 5 red
// (clip), 6 the yellow activity indicator. A lamp's colour is only written when it changes, so
// a poll every 80 ms repaints only what changed.

#include <array>
#include <cstdint>

#include "commands/core.h"
#include "editor/edit_controls.h"
#include "model/tables.h"
#include "ui/control.h"

namespace velmark {

inline constexpr ui::Colour kLampGreen = 65280;
inline constexpr ui::Colour kLampOrange = 33023;
inline constexpr ui::Colour kLampRed = 255;
inline constexpr ui::Colour kLampYellow = 65535;
inline constexpr ui::Colour kLampOff = 12632256;  // silver

inline constexpr int kLampsPerChannel = 7;
inline constexpr int kActivityLamp = 6;
inline constexpr int kMeterFirstPollMs = 2000;
inline constexpr int kMeterPollMs = 80;

// What the meters of one window show, per channel 0..7.
struct LevelMeters {
  std::array<int, kChannelCount> MeterLevel{};  // 0..6
  std::array<bool, kChannelCount> MeterClip{};
  std::array<bool, kChannelCount> MeterActive{};
};

// Level step of the level bits (s AND 0x7C), or -1 for a pattern that is none of the six.
int MeterLevelOfStatus(std::uint8_t status);

// One status byte into the channel's meter state; a muted channel shows level 0 but keeps its
// clip and activity flags. Also sets the activity lamp (only when its colour changes).
void DecodeMeterStatus(LevelMeters& meters, EditControls& w, int channel, std::uint8_t status,
                       bool muted);

// Lamps of channel c from its meter state. A level outside 0..6 changes nothing.
void UpdateMeterLadder(const LevelMeters& meters, EditControls& w, int channel);

// Timer1 of the window of `unit` fired. Polls only when that unit is CurUnit, no exchange is in
// progress, the unit has not been marked off-line by the failure handling, its window is open
// and no dialog or tool button is being handled; then the timer runs every 80 ms. A failed
// exchange ends the tick at once (the failure handling may have closed the window).
void MeterTimerTick(Core& core, int unit, EditControls& w, LevelMeters& meters);

}  // namespace velmark
