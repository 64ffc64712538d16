#pragma once
// The edit window of one unit: ten pages selected by a row of tabs (channel pages A..D and
// 1..4, gains/delays, routing/mute), a tool bar, the link boxes and the level meters.
//
// The controls themselves are the EditControls the builders work on; this class registers them
// under their names, lays them out, owns the window's life (load, activation, resizing, the
// closing question) and the page mechanics. The parameter handlers of the pages are wired by
// their own modules through the public controls.

#include <functional>

#include "commands/core.h"
#include "editor/edit_controls.h"
#include "editor/level_meters.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

// Client area: 1012 × 589 pixels at 96 dpi, in twips.
inline constexpr int kEditClientWidth = 1012 * 15;
inline constexpr int kEditClientHeight = 589 * 15;

// Key recorded in WindowHandle for the window of `unit`; never 255 (no window).
constexpr int EditWindowKey(int unit) {
  return 0x4B00 + unit;
}

// Page that a click on block diagram label Label100(index) shows, or -1 for an index that names
// no block.
int BlockLabelPage(int index);

class FrmKVRxxxA : public ui::Window, public EditControls {
 public:
  FrmKVRxxxA(Core& core, int unit);

  int Unit() const { return unit_; }
  int WindowKey() const { return EditWindowKey(unit_); }
  Core& GetCore() { return core_; }

  // The only way pages change: 0..7 channel pages, 8 gains/delays, 9 routing/mute.
  void SetPageTab(int n);
  void SetPageChannel();
  void SetPageDelays();
  void SetPageGains();

  // Opens the version window ("Version" tool button); the main window supplies it, since that
  // window lives above the edit windows.
  std::function<void()> OnShowVersion;
  // Open the store and recall windows ("Store" and "Recall" tool buttons), owned by the main
  // window for the same reason.
  std::function<void()> OnShowStore, OnShowRecall;
  // Opens the response overview of the unit ("View All"), owned by the main window as well.
  std::function<void()> OnShowViewAll;
  // Opens the copy window, 0 = inputs, 1 = outputs ("Copy" tool buttons), and the name window
  // (double click on a name label); owned by the main window for the same reason.
  std::function<void(int mode)> OnShowCopy;
  std::function<void()> OnShowNames;
  // Opens the password window of CurUnit, 0 = lock mode ("Password"), 1 = change mode ("User");
  // owned by the main window for the same reason.
  std::function<void(int mode)> OnShowPassword;
  // Sets the main window's mouse pointer (busy while an EQ bypass or "EQ Flat" runs); the main
  // window supplies it for the same reason.
  std::function<void(ui::MousePointer)> OnMainPointer;
  // The band control element (0..23) whose type label was clicked last: the "Filter Type" menu
  // acts on it. None before the first click.
  int MenuBand = -1;

  // CurUnit := the unit whose WindowHandle is this window's key (unchanged when none is). Every
  // handler of the window's controls calls it first.
  void TakeCurrentUnit();
  // Redraws the response graph of `channel` on this window.
  void RedrawCurrentGraph(int channel);

  // True while the invisible focus box TextFocus holds the keyboard focus.
  bool FocusParked = false;
  LevelMeters Meters;

  // Captions the design shows without naming a control.
  ui::Frame FrameBar;                         // dark strip behind tabs, tool bar and link boxes
  ui::Frame FrameGraph;                       // holds the response graph and its axis labels
  ui::Menu GraphMenu;                         // popup of Picture1: export, copy picture
  ui::ControlArray<ui::Label> LblDynParam;    // 0..2 gate, 10..21 compressor, 31/34/35 limiter
  ui::ControlArray<ui::Label> LblHpLp;        // 0 "High Pass Filter", 1 "Low Pass Filter"
  ui::ControlArray<ui::Label> LblMeterScale;  // 6 × channel + k: "-15 dBu" … " Clip"
  ui::ControlArray<ui::Frame> FrameMaster;    // 0 "Master G", 1 "Master V"
  ui::ControlArray<ui::Label> LblDlyStep;     // 2 × channel + 0 "1 ms", + 1 "fine" under UpDown2/1
  ui::Frame FrameDlyUnit;                     // holds Option1
  ui::Frame FrameRoutIn, FrameRoutOut;        // the two routing matrices
  ui::ControlArray<ui::Label> LblPhysOut;     // 0..3 "Output1" … rows of the output matrix
  ui::ControlArray<ui::Frame> FrameSource;    // 0 "Input Source 1 2", 1 "Input Source 3 4"
  ui::ControlArray<ui::Frame> FrameNoise;     // 0 "Noise Generator 1 2", 1 "… 3 4"
  ui::Frame FrameBlocks;                      // block diagram of every channel
  ui::ControlArray<ui::Frame> FrameLines;     // 0 input routing lines, 1 output routing lines

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;
  void Form_Unload() override;

 private:
  void RegisterControls();
  void RegisterExtras();
  void LayoutWindow();
  void LayoutTabsAndTools();
  void LayoutChannelPage();
  void LayoutInputPage();
  void LayoutOutputPage();
  void LayoutEqSection(int j, int left, int first);
  void LayoutDynamicsView();
  void LayoutGraph();
  void LayoutGainsPage();
  void LayoutRoutingPage();
  void LayoutBlockDiagram();
  void ApplyTheme();
  void WireEvents();

  // Opening, step by step.
  void ShowLockButtons();
  void SetLoadedCaption();
  // Step 4 of opening: the unit's image into record and controls, nothing sent.
  void DecodeUnitImage();

  Core& core_;
  int unit_;
};

}  // namespace velmark
