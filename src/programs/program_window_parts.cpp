#include "programs/program_window_parts.h"

#include "ui/pictures.h"

namespace velmark {

namespace {
// At the right of the windows, under the end of the list.
constexpr int kButtonLeft[] = {6960, 9360};
constexpr int kButtonWidth = 1215, kButtonHeight = 375, kLabelInset = 60, kLabelHeight = 255;
}  // namespace

void AddCursorButtons(ui::Window& w, ui::ControlArray<ui::Image>& images,
                      ui::ControlArray<ui::Label>& labels, const std::string& action, int top,
                      std::function<void(int index)> click) {
  for (int i : {kCancelButton, kActionButton}) {
    ui::Image& image = images.Add(i);
    ui::Label& label = labels.Add(i);
    image.SetPicture(ui::pictures::kButton);
    image.Move(kButtonLeft[i], top, kButtonWidth, kButtonHeight);
    label.SetCaption(i == kCancelButton ? "Cancel" : action);
    label.SetAlignment(ui::Alignment::Center);
    label.Move(kButtonLeft[i], top + kLabelInset, kButtonWidth, kLabelHeight);
    image.OnClick = [click, i] { click(i); };
    label.OnClick = [click, i] { click(i); };
  }
  w.Register("ImgBtnCursor", images);
  w.Register("LblShowCursor", labels);
}

}  // namespace velmark
