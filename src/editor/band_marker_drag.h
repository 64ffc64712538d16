#pragma once
// Dragging an equaliser band's marker (the band cursor Label5) over the response graph. The
// marker's reference point lies D = 60 units right of and below its left/top edge, as the
// cursor placement puts it: across the picture's width W it stands for 20 Hz .. 20 kHz on a
// logarithmic axis (3 decades), down its height H for the gain at 60 units per dB with 0 dB at
// H / 2. Nothing is sent while the marker moves; the band goes out once when the button is
// released after a move.

#include <string>

namespace velmark {

class FrmKVRxxxA;

inline constexpr double kMarkerOffset = 60;  // D
inline constexpr int kMarkerGainLimitTenths = 150;

// Where a marker moved to on a W × H picture stands.
struct MarkerReading {
  int left;         // held to −D .. W − D
  int top;          // held to −D .. H − D, then put on the line of the ±15 dB limited gain
  double gain_db;   // that gain, rounded down to tenths of a dB
  int gain_slider;  // the Slider2 position nearest to 30 − 2 × gain_db
  double freq_hz;   // 20 × 10^(3 (left + D) / W), rounded down to whole Hz
};
MarkerReading ReadMarker(double width, double height, double left, double top);

// The read-out LblFreqGain shows: "Freq=" frequency "Hz; Gain=" gain "dB".
std::string MarkerReadout(double freq_hz, double gain_db, bool decimal_comma);

// Mouse-down, move and up on the 24 band markers.
void WireBandMarkerDrags(FrmKVRxxxA& w);

}  // namespace velmark
