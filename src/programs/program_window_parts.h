#pragma once
// What the store and recall windows share: their progress bar as a ProgramProgress, and the
// pair of picture buttons (index 0 "Cancel", index 1 the window's action) with their labels.

#include <functional>
#include <string>

#include "programs/unit_programs.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

inline constexpr int kCancelButton = 0, kActionButton = 1;

class BarProgress final : public ProgramProgress {
 public:
  explicit BarProgress(ui::ProgressBar& bar) : bar_(bar) {}
  void Start(int max) override {
    bar_.SetValue(0);
    bar_.SetMax(max);
    bar_.SetVisible(true);
  }
  void Advance() override { bar_.Advance(); }

 private:
  ui::ProgressBar& bar_;
};

// Lays out and registers ImgBtnCursor(0..1) and LblShowCursor(0..1) at `top`; a click on the
// picture or the label of a button calls `click` with its index.
void AddCursorButtons(ui::Window& w, ui::ControlArray<ui::Image>& images,
                      ui::ControlArray<ui::Label>& labels, const std::string& action, int top,
                      std::function<void(int index)> click);

}  // namespace velmark
