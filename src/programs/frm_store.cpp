#include "programs/frm_store.h"

#include "editor/frm_kvr.h"
#include "programs/name_rule.h"
#include "programs/program_list.h"
#include "programs/program_window_parts.h"
#include "programs/unit_programs.h"

namespace velmark {

FrmStore::FrmStore(Core& core, EditWindowLookup edit_window)
    : Window(core.ui, "FrmStore"), core_(core), edit_window_(std::move(edit_window)) {
  SetCaption(kStoreTitle);
  LayOut();
  List1.OnDblClick = [this] { List1_DblClick(); };
  Text1.OnChange = [this] { Text1_Change(); };
  Text1.OnKeyPress = [this](int& key) { Text1_KeyPress(key); };
}

void FrmStore::LayOut() {
  SetClientSize(11000, 5400);
  Label3.SetCaption("Memory Program");
  Label3.Move(240, 120, 10500, 255);
  List1.SetColumns(5);
  List1.SetToolTip("Double click to copy name");
  // Five columns wide enough for "NN: " and a whole 16-character name each.
  List1.Move(240, 420, 10500, 2880);
  Label1.SetCaption("Select position");
  Label1.Move(240, 3420, 1800, 255);
  Combo1.Move(240, 3720, 1200, 315);
  for (int k = 1; k <= kProgramCount; ++k) Combo1.AddItem(std::to_string(k));
  Label2.SetCaption("Edit Name");
  Label2.Move(2160, 3420, 3000, 255);
  Text1.SetMaxLength(kProgramNameLength);
  Text1.Move(2160, 3720, 3000, 315);
  ProgressBar1.Move(240, 4200, 10500, 255);
  Register("Label3", Label3);
  Register("List1", List1);
  Register("Label1", Label1);
  Register("Combo1", Combo1);
  Register("Label2", Label2);
  Register("Text1", Text1);
  Register("ProgressBar1", ProgressBar1);
  AddCursorButtons(*this, ImgBtnCursor, LblShowCursor, "Store", 4680,
                   [this](int i) { ButtonClick(i); });
}

void FrmStore::Form_Load() {
  ProgressBar1.SetVisible(false);
  ProgressBar1.SetValue(0);
  FillProgramList(List1, core_.Rec());
  List1.SetListIndex(0);
  Text1.SetText(EntryName(List1.Text()));
  Combo1.SetListIndex(0);
}

void FrmStore::List1_DblClick() {
  ProgramState& st = core_.st;
  if (st.UpdatingControls || List1.ListIndex() < 0) return;
  Text1.SetText(EntryName(List1.Text()));
  FlagGuard updating(st.UpdatingControls);
  Combo1.SetListIndex(List1.ListIndex());
}

void FrmStore::ButtonClick(int index) {
  if (index != kActionButton) {
    Unload();
    return;
  }
  const std::string name = Text1.Text();
  if (name.empty() || name == " ") {
    Services().messages.Show(kNoNameText, kNoNameTitle, ui::MsgIcon::Information,
                             ui::MsgButtons::Ok);
    return;
  }
  const int k = Combo1.ListIndex();
  if (k < 0 || k >= kProgramCount) return;  // no memory chosen
  if (Services().messages.Show(kSureQuestion, kStoreTitle, ui::MsgIcon::None,
                               ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
    return;
  }
  SetPointer(ui::MousePointer::Busy);
  Store(k, name);
  SetPointer(ui::MousePointer::Default);
  Unload();
}

void FrmStore::Store(int k, const std::string& name) {
  ProgramState& st = core_.st;
  BarProgress progress(ProgressBar1);
  const StoreOutcome out = StoreProgram(st, core_.link, k, name, progress);
  if (out.Stored()) {
    if (FrmKVRxxxA* w = edit_window_ ? edit_window_(st.CurUnit) : nullptr) {
      w->SetCaption(ProgramLoadedCaption(st, st.CurUnit, st.Rec().ProgramName[k]));
    }
    FillProgramList(List1, st.Rec());
    List1.SetListIndex(k);
  }
  // The unit holds the program either way; a dump that could not be written must not pass
  // unnoticed.
  if (!out.dump_error.empty()) {
    Services().messages.Show("Eeprom.txt could not be written: " + out.dump_error, kStoreTitle,
                             ui::MsgIcon::Exclamation, ui::MsgButtons::Ok);
  }
  ProgressBar1.SetVisible(false);
}

void FrmStore::RefuseName() {
  Services().messages.Show(kNameSymbolsText, kNameSymbolsTitle, ui::MsgIcon::Information,
                           ui::MsgButtons::Ok);
  Text1.SetText("");
}

void FrmStore::Text1_Change() {
  if (!NameTextAllowed(Text1.Text())) RefuseName();
}

void FrmStore::Text1_KeyPress(int& key) {
  if (NameKeyAllowed(key)) return;
  key = 0;
  RefuseName();
}

}  // namespace velmark
