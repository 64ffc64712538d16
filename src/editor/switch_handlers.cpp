#include "editor/switch_handlers.h"

#include <cstdint>

#include "channels/linking.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "editor/switch_handlers_common.h"
#include "editor/tool_bar.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/edit_graph.h"
#include "views/band_cursors.h"
#include "views/dynamics_graph.h"

namespace velmark {
namespace {

// Noise gate, compressor and limiter "Bypass" of the channel page. A compressor or limiter
// switch changes its transfer curve, so the curve is redrawn before the switch is repeated on
// the linked channels.
void WireDynamicsSwitches(FrmKVRxxxA& w) {
  w.CheckNGByp.OnClick = GuardedClick(w, [](Core& core) {
    SetNoiseGate(core);
    LinkNoiseGate(core);
  });
  for (auto& entry : w.CheckCmp) {
    const int j = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [&w, j](Core& core) {
      SetCompBypass(core, j);
      DrawDynamicsCurve(core.st, w.PicCmp, kDynCompressorInput);
      LinkCompressorSwitch(core);
    });
  }
  w.CheckLimByp.OnClick = GuardedClick(w, [&w](Core& core) {
    SetLimBypass(core);
    DrawDynamicsCurve(core.st, w.PicCmp, kDynLimiter);
    LinkLimiterSwitch(core);
  });
}

// Polarity and delay unit (page 8), mute (page 9); the index of each control is its channel.
void WireChannelSwitches(FrmKVRxxxA& w) {
  for (auto& entry : w.Check2) {
    const int c = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [c](Core& core) {
      SendPolarity(core, c);
      LinkPolarity(core, c);
    });
  }
  for (auto& entry : w.ImgMute) {
    const int c = entry.first;
    auto& image = entry.second;
    image.OnClick = GuardedClick(w, [c](Core& core) {
      auto& mute = core.Rec().Mute[c];
      // Any non-zero flag counts as muted, so a click always ends on 0 or 1.
      mute = static_cast<std::int16_t>(mute != 0 ? 0 : 1);
      SendMute(core, c);
      LinkMute(core, c);
    });
  }
  for (auto& entry : w.Option1) {
    const int k = entry.first;
    auto& option = entry.second;
    option.OnClick = GuardedClick(w, [k](Core& core) { SendDelayUnit(core, k); });
  }
}

// Sources, noise types and the two routing matrices (page 9).
void WireRoutingSwitches(FrmKVRxxxA& w) {
  for (auto& entry : w.Option2) {
    const int k = entry.first;
    auto& option = entry.second;
    option.OnClick = GuardedClick(w, [k](Core& core) { SendInputSource(core, k); });
  }
  // Two noise types per generator: elements 0, 1 belong to generator A/B, 2, 3 to C/D.
  for (auto& entry : w.OptionNoiseLev) {
    const int k = entry.first;
    auto& option = entry.second;
    option.OnClick = GuardedClick(w, [k](Core& core) { SendNoiseGen(core, k / 2); });
  }
  for (auto& entry : w.CheckSRout) {
    const int p = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [p](Core& core) { SendInRouting(core, p); });
  }
  for (auto& entry : w.CheckFRout) {
    const int p = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [p](Core& core) { SendOutRouting(core, p); });
  }
}

void WireLinkAndCursorSwitches(FrmKVRxxxA& w) {
  for (auto& entry : w.CheckLinkOut) {
    const int c = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [c](Core& core) { SetLinkFlag(core, c); });
  }
  w.LblShowCursor.OnClick = Click(w, [&w](Core& core) {
    CursorControls cursors = EditCursorControls(w);
    ToggleShowCursor(core.st, cursors);
  });
}

}  // namespace

void WireToolBarAndSwitches(FrmKVRxxxA& w) {
  WireToolBar(w);
  WireDynamicsSwitches(w);
  WireEqSwitches(w);
  WireChannelSwitches(w);
  WireRoutingSwitches(w);
  WireLinkAndCursorSwitches(w);
}

}  // namespace velmark
