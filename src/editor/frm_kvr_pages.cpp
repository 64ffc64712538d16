// Tabs, pages and the clicks that change them.

#include <array>

#include "editor/frm_kvr.h"
#include "editor/graph_menu.h"
#include "editor/refresh_channel_page.h"
#include "editor/slider_handlers.h"
#include "editor/switch_handlers.h"
#include "editor/value_entry.h"
#include "editor/view_all.h"
#include "eqdyn/edit_graph.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

inline constexpr ui::Colour kTabSilver = 12632256;
inline constexpr ui::Colour kTabOrange = 33023;
constexpr int kTabCount = 10;
constexpr int kDelaysPage = 8, kRoutingPage = 9;
constexpr int kOwnChannel = -1;  // the block belongs to the row's own channel page

// Block diagram labels Label100(100 × row + k). Rows 1..4 are the outputs (k: "HP/LP", "PEQ",
// "Delay", "Phase", "Gain", "Limiter", "Cmp"), rows 5..8 the inputs ("NG", "Delay", "Phase",
// "Gain", "PEQ", "Cmp"). Delay, phase and gain are edited on the gains/delays page.
constexpr std::array<int, 7> kOutputBlockPage = {kOwnChannel, kOwnChannel, kDelaysPage, kDelaysPage,
                                                 kDelaysPage, kOwnChannel, kOwnChannel};
constexpr std::array<int, 6> kInputBlockPage = {kOwnChannel, kDelaysPage, kDelaysPage,
                                                kDelaysPage, kOwnChannel, kOwnChannel};

}  // namespace

int BlockLabelPage(int index) {
  if (index < 0) return -1;
  const int row = index / 100, k = index % 100;
  int page = -1, channel = -1;
  if (row >= 1 && row <= 4 && k < static_cast<int>(kOutputBlockPage.size())) {
    page = kOutputBlockPage[k];
    channel = kInputCount + row - 1;
  } else if (row >= 5 && row <= 8 && k < static_cast<int>(kInputBlockPage.size())) {
    page = kInputBlockPage[k];
    channel = row - 5;
  } else {
    return -1;
  }
  return page == kOwnChannel ? channel : page;
}

void FrmKVRxxxA::SetPageTab(int n) {
  ProgramState& st = core_.st;
  const int u = ProgramState::Checked(st.CurUnit);
  if (n < 0 || n >= kTabCount) return;
  if (st.CurPage[u] == n) return;
  for (int i = 0; i < kTabCount; ++i) {
    LblNameTab(i).SetForeColor(kTabSilver);
    LblImgNameTab(i).SetForeColor(kTabSilver);
    ImgNameTab(i).SetPicture(TabOff.Picture());
  }
  LblNameTab(n).SetForeColor(kTabOrange);
  LblImgNameTab(n).SetForeColor(kTabOrange);
  ImgNameTab(n).SetPicture(TabOn.Picture());
  if (n < kDelaysPage) {
    st.CurChannel[u] = n;
    st.CurPage[u] = n;
    SetPageChannel();
    {
      FlagGuard suppressed(st.SendSuppressed);
      RefreshChannelPage(core_);
    }
    RedrawCurrentGraph(n);
  } else if (n == kDelaysPage) {
    st.CurPage[u] = kDelaysPage;
    SetPageDelays();
  } else {
    st.CurPage[u] = kRoutingPage;
    SetPageGains();
  }
  if (!FocusParked) TextFocus.SetFocus();
}

void FrmKVRxxxA::RedrawCurrentGraph(int channel) {
  GraphCanvas canvas = EditGraphCanvas(*this);
  RedrawChannelGraph(core_.st, canvas, channel);
}

void FrmKVRxxxA::SetPageChannel() {
  if (core_.st.Channel() >= kInputCount) {
    FrameIn0.SetVisible(false);
    FrameOut.SetVisible(true);
    FrameOut.BringToFront();
  } else {
    FrameCmpView.SetCaption("RMS Compressor");
    FrameOut.SetVisible(false);
    FrameIn0.SetVisible(true);
    FrameIn0.BringToFront();
  }
  FrameCmpView.SetVisible(true);
  FrameCmpView.BringToFront();
  FramePage(0).BringToFront();
}

void FrmKVRxxxA::SetPageDelays() {
  FramePage(1).BringToFront();
}

void FrmKVRxxxA::SetPageGains() {
  FramePage(2).BringToFront();
}

// A click on a window's control makes its unit the current one first, as activating the window
// does, so that the page shown and the unit worked on always agree.
void FrmKVRxxxA::WireEvents() {
  for (int n = 0; n < kTabCount; ++n) {
    auto select = [this, n] {
      TakeCurrentUnit();
      SetPageTab(n);
    };
    ImgNameTab(n).OnClick = select;
    LblImgNameTab(n).OnClick = select;
  }
  for (auto& [index, label] : Label100) {
    const int page = BlockLabelPage(index);
    if (page < 0) continue;
    label.OnClick = [this, page] {
      TakeCurrentUnit();
      SetPageTab(page);
    };
  }
  TextFocus.OnGotFocus = [this] { FocusParked = true; };
  TextFocus.OnLostFocus = [this] { FocusParked = false; };
  Timer1.OnTimer = [this] { MeterTimerTick(core_, unit_, *this, Meters); };
  WireValueEntry(*this);
  WireSlidersAndDrags(*this);
  WireToolBarAndSwitches(*this);
  WireViewAll(*this);
  WireGraphMenu(*this);
}

}  // namespace velmark
