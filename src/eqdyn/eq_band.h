#pragma once
// Equaliser band commands of the current channel (CurChannel of CurUnit): one band's type,
// frequency, Q code, gain code and switch, the channel's EQ bypass, the band type menu and
// "EQ Flat". Each builder updates record, image and the edit window together and sends one
// packet whose data bytes are copied from the image; the packet's outcome is not looked at.
//
// Band control elements: 0..12 on an input page (band number = element), 13..23 on an output
// page (band number = element − 13). An element that names no band of the current channel
// does nothing.

#include "commands/core.h"

namespace velmark {

inline constexpr int kEqGainCodeMax = 60;  // Slider2 runs 0..60, gain code = 60 − position
inline constexpr int kEqQCodeMax = 100;    // UDEqQ runs 0..100
inline constexpr int kEqFreqMin = 20, kEqFreqMax = 20000;
inline constexpr int kOutputBandElement = 13;  // first band element of an output page
inline constexpr ui::Colour kBandOffColour = Rgb(255, 0, 0);

inline constexpr const char* kEqFlatQuestion = "               Are you sure ? ";
inline constexpr const char* kEqFlatTitle = "EQ Flat";

// Band type bounded to 0..16 for the tables it indexes; a damaged image can hold any byte.
int BoundedEqType(int type);
// Q value of Q code 0..100 under a band type: the bell table (type 0), 0.1 + 0.05 × code
// (types 1..12) or code + 4 (types 13..16). Codes and types are bounded first.
double EqQValue(int type, int code);
// Band gain in dB of a Slider2 position: (60 − position) / 2 − 15.
double EqGainOfSlider(int position);

// Element of band number k of a channel's page (k on an input page, k + 13 on an output page).
int BandElementOf(int channel, int band_number);
// Global band of element i on the current channel, or -1 when it names none.
int BandOfElement(Core& core, int element);
// The channel's band-bypass word: bit k set while band k is switched off; bits above the
// channel's last band stay 0.
int EqBandMask(const DeviceSettings& rec, int channel);

// Normalises the band's texts, stores it in record and image, places its cursor and knob,
// greys its controls by type and switch, and sends CmdEqBand. Returns Failed (false when the
// element names no band and nothing was sent); only a sequence of bands looks at it.
bool SendEqBand(Core& core, int element);
// Flips the band's switch (EqBandBypass 0.0 ↔ 1.0) and recolours its "Byp" label. The caller
// then runs SendEqBand, LinkEqBand and the band's response.
void ToggleBandBypass(Core& core, int element);
// Back colour of LblEQsByp: red while the band is switched off, button face while it is on.
void ShowBandSwitch(Core& core, int element);

// CheckEqByp(j) (0 input page, 1 output page) bypasses or restores the channel's equaliser:
// bit of image byte 794, EqBypass, the frame's enabling, CmdEqBypass. The caller then runs
// LinkEqBypass and RedrawAfterEqBypass.
void SetEqBypass(Core& core, int j);
// The equaliser frame, "EQ Flat" and check box colour from EqBypass, then the band cursors.
void ShowEqBypass(Core& core, int j);
// Re-sums the current channel: every band while the equaliser is active, only the first band
// (which re-sums without the bands) while it is bypassed.
void RedrawAfterEqBypass(Core& core);

// "Filter Type" menu entry t (0..16) chosen for band element i: a new type resets the band to
// 0 dB, sends it, repeats it on linked channels and recomputes it; the current type does
// nothing beyond restoring a frequency text that is not a number.
void SetEqType(Core& core, int element, int t);

// "EQ Flat" in two steps, so that the window can show its busy pointers between them.
// The question "               Are you sure ? " titled "EQ Flat"; true on Yes.
bool ConfirmEqFlat(Core& core);
// Every band of the current channel to 0 dB, one CmdEqBand per band in band order, then the
// same on the linked channels (LinkEqFlat) and a redraw of the channel graph. The first failed
// packet ends the sequence: the later bands and the linked channels keep their values (each
// further packet would only wait out its time-out). j is the page (0 input, otherwise output);
// the bands are those of the current channel. Returns Failed.
bool FlattenEq(Core& core, int j);
// ConfirmEqFlat, then FlattenEq on Yes.
void EqFlat(Core& core, int j);

}  // namespace velmark
