#pragma once
// The button pair of the copy and name dialogs: ImgBtnCursor(0) "Confirm" and (1) "Cancel",
// each a picture with its caption label LblShowCursor; a click on either part acts.

#include <functional>

#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

inline constexpr int kConfirmButton = 0, kCancelDialogButton = 1;

// Lays out and registers both buttons at `left`, `top` (Cancel to the right of Confirm).
void AddConfirmButtons(ui::Window& w, ui::ControlArray<ui::Image>& images,
                       ui::ControlArray<ui::Label>& labels, int left, int top,
                       std::function<void(int index)> click);

}  // namespace velmark
