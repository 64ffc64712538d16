#pragma once
// Helpers shared by the edit window's layout files. Geometry is in twips (15 per pixel at
// 96 dpi) relative to the container.
//
// Window (15180 × 8835): a strip of tabs, tool bar and link boxes at the top (930 high), then
// the three stacked pages (7905 high). The channel page has the layout strip (dynamics and
// equaliser, 3800 high) above the response graph; the dynamics graph sits at the strip's right
// end for both layouts.

#include <string>

#include "ui/controls.h"

namespace velmark::layout {

inline constexpr int kBarHeight = 930;
inline constexpr int kPageTop = kBarHeight;
inline constexpr int kPageWidth = 15180, kPageHeight = 8835 - kBarHeight;

// Channel page strips.
inline constexpr int kLayoutWidth = 12130, kLayoutHeight = 3800;
inline constexpr int kSectionTop = 250;  // frames below the row of "Bypass" boxes
inline constexpr int kSectionHeight = 3550;
inline constexpr int kGraphTop = 3850, kGraphWidth = 13560, kGraphHeight = 3450;

// Band strips: 600 apart, so that the "Filter Type" menu pops up under its band.
inline constexpr int kBandPitch = 600;

// Knob and value controls of a vertical track: the knob's top runs over the track from
// `track_top`; the slider spans the track plus one knob.
inline constexpr int kKnobWidth = 380, kKnobHeight = 240;
inline constexpr int kSliderWidth = 300;
inline constexpr int kTextHeight = 270;

inline void Place(ui::Control& c, ui::Control* container, int left, int top, int width,
                  int height) {
  c.SetContainer(container);
  c.Move(left, top, width, height);
}

inline void SetLabel(ui::Label& label, std::string text, double font_pt = 0, bool bold = false,
                     ui::Alignment align = ui::Alignment::Left) {
  label.SetCaption(std::move(text));
  if (font_pt > 0 || bold) label.SetFont(font_pt, bold);
  label.SetAlignment(align);
}

// A slider with its knob: column centre `cx`, track from `track_top` over `span`.
inline void PlaceTrack(ui::Slider& slider, ui::Image& knob, ui::Control* container, int cx,
                       int track_top, int span) {
  Place(slider, container, cx - kSliderWidth / 2, track_top, kSliderWidth, span + kKnobHeight);
  Place(knob, container, cx - kKnobWidth / 2, track_top, kKnobWidth, kKnobHeight);
  knob.BringToFront();
}

}  // namespace velmark::layout
