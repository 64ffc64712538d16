#include "programs/frm_read.h"

#include "commands/decode_image.h"
#include "editor/frm_kvr.h"
#include "programs/program_list.h"
#include "programs/program_window_parts.h"
#include "programs/unit_programs.h"

namespace velmark {

namespace {
constexpr int kFirstNonChannelPage = 8;
}  // namespace

FrmRead::FrmRead(Core& core, EditWindowLookup edit_window)
    : Window(core.ui, "FrmRead"), core_(core), edit_window_(std::move(edit_window)) {
  SetCaption(kRecallTitle);
  LayOut();
}

void FrmRead::LayOut() {
  SetClientSize(11000, 4800);
  Label1.SetCaption("Memory Program");
  Label1.Move(240, 120, 10500, 255);
  List1.SetColumns(5);
  List1.SetToolTip("Select a program");
  // Five columns wide enough for "NN: " and a whole 16-character name each.
  List1.Move(240, 420, 10500, 2880);
  Label2.SetCaption(kReadingText);
  Label2.Move(240, 3420, 10500, 255);
  ProgressBar1.Move(240, 3720, 10500, 255);
  Register("Label1", Label1);
  Register("List1", List1);
  Register("Label2", Label2);
  Register("ProgressBar1", ProgressBar1);
  AddCursorButtons(*this, ImgBtnCursor, LblShowCursor, "Recall", 4200,
                   [this](int i) { ButtonClick(i); });
}

void FrmRead::Form_Load() {
  Label2.SetVisible(false);
  ProgressBar1.SetVisible(false);
  ProgressBar1.SetValue(0);
  FillProgramList(List1, core_.Rec());
  List1.SetListIndex(0);
}

void FrmRead::ButtonClick(int index) {
  if (index != kActionButton) {
    Unload();
    return;
  }
  const int k = List1.ListIndex();
  if (k < 0 || k >= kProgramCount) return;  // nothing selected
  ui::MessageBoxService& messages = Services().messages;
  if (!ProgramInUse(core_.Rec(), k)) {
    messages.Show(kProgramEmptyText, kRecallTitle, ui::MsgIcon::Critical, ui::MsgButtons::Ok);
    return;
  }
  if (messages.Show(kOverwriteQuestion, kRecallTitle, ui::MsgIcon::None, ui::MsgButtons::YesNo) !=
      ui::MsgAnswer::Yes) {
    return;
  }
  SetPointer(ui::MousePointer::Busy);
  Recall(k);
  SetPointer(ui::MousePointer::Default);
  Unload();
}

void FrmRead::Recall(int k) {
  Label2.SetVisible(true);
  Repaint();
  BarProgress progress(ProgressBar1);
  const RecallOutcome out = RecallProgram(core_.st, core_.link, k, progress);
  if (out == RecallOutcome::Empty) {
    Services().messages.Show(kPresetEmptyText, kRecallTitle, ui::MsgIcon::Critical,
                             ui::MsgButtons::Ok);
  } else if (out == RecallOutcome::Recalled) {
    ShowRecalled(k);
  }
  Label2.SetVisible(false);
  ProgressBar1.SetVisible(false);
}

void FrmRead::ShowRecalled(int k) {
  ProgramState& st = core_.st;
  const int u = ProgramState::Checked(st.CurUnit);
  {
    FlagGuard draw(st.DrawSuppressed);
    st.SendSuppressed = true;
    DecodeImage(core_);
    st.SendSuppressed = false;
  }
  FrmKVRxxxA* w = edit_window_ ? edit_window_(u) : nullptr;
  if (!w) return;
  // The page on show is built afresh from the decoded values and its graph redrawn with its
  // curves (the page change holds SendSuppressed itself).
  const int page = st.CurPage[u];
  if (page >= 0 && page < kFirstNonChannelPage) {
    st.CurPage[u] = kNoPage;
    w->SetPageTab(page);
  }
  w->SetCaption(ProgramLoadedCaption(st, u, st.DeviceRecords[u].ProgramName[k]));
}

}  // namespace velmark
