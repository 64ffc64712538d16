#pragma once
// "Store Program": names the current configuration of CurUnit and stores it into one of the
// unit's 32 program memories; the list shows what each memory holds.

#include <functional>

#include "commands/core.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class FrmKVRxxxA;

inline constexpr const char* kStoreTitle = "Store Program";
inline constexpr const char* kNoNameText = "Please input the Name !";
inline constexpr const char* kNoNameTitle = "Edit Names";
inline constexpr const char* kSureQuestion = "               Are you sure ? ";

// The edit window of a unit if it exists (for its caption), else null.
using EditWindowLookup = std::function<FrmKVRxxxA*(int unit)>;

class FrmStore : public ui::Window {
 public:
  FrmStore(Core& core, EditWindowLookup edit_window);

  ui::ListBox List1;    // "NN: name" of the 32 memories
  ui::ComboBox Combo1;  // the target memory, "1" .. "32"
  ui::TextBox Text1;    // the name, at most 16 characters
  ui::Label Label1;     // "Select position"
  ui::Label Label2;     // "Edit Name"
  ui::Label Label3;     // "Memory Program"
  ui::ProgressBar ProgressBar1;
  ui::ControlArray<ui::Image> ImgBtnCursor;   // 0 Cancel, 1 Store
  ui::ControlArray<ui::Label> LblShowCursor;  // their captions

 protected:
  void Form_Load() override;

 private:
  void LayOut();
  void List1_DblClick();
  void ButtonClick(int index);
  void Text1_Change();
  void Text1_KeyPress(int& key);
  void RefuseName();
  void Store(int k, const std::string& name);

  Core& core_;
  EditWindowLookup edit_window_;
};

}  // namespace velmark
