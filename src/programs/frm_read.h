#pragma once
// "Recall Program": loads one of the unit's program memories into CurUnit and its edit window.

#include "commands/core.h"
#include "programs/frm_store.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

inline constexpr const char* kRecallTitle = "Recall Program";
inline constexpr const char* kProgramEmptyText = "Program empty";
inline constexpr const char* kPresetEmptyText = "Preset empty";
inline constexpr const char* kOverwriteQuestion = "Overwrite current editing, are you sure ? ";
inline constexpr const char* kReadingText = "Please wait: reading program.........";

class FrmRead : public ui::Window {
 public:
  FrmRead(Core& core, EditWindowLookup edit_window);

  ui::ListBox List1;  // "NN: name" of the 32 memories
  ui::Label Label1;   // "Memory Program"
  ui::Label Label2;   // the wait text, shown while a recall runs
  ui::ProgressBar ProgressBar1;
  ui::ControlArray<ui::Image> ImgBtnCursor;   // 0 Cancel, 1 Recall
  ui::ControlArray<ui::Label> LblShowCursor;  // their captions

 protected:
  void Form_Load() override;

 private:
  void LayOut();
  void ButtonClick(int index);
  void Recall(int k);
  // The recalled image into record and edit window, nothing sent but the link mask.
  void ShowRecalled(int k);

  Core& core_;
  EditWindowLookup edit_window_;
};

}  // namespace velmark
