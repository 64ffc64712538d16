#include "channels/confirm_buttons.h"

#include "ui/pictures.h"

namespace velmark {
namespace {
constexpr int kWidth = 1215, kHeight = 375, kGap = 240, kLabelInset = 60, kLabelHeight = 255;
}  // namespace

void AddConfirmButtons(ui::Window& w, ui::ControlArray<ui::Image>& images,
                       ui::ControlArray<ui::Label>& labels, int left, int top,
                       std::function<void(int index)> click) {
  for (int i : {kConfirmButton, kCancelDialogButton}) {
    ui::Image& image = images.Add(i);
    ui::Label& label = labels.Add(i);
    const int x = left + i * (kWidth + kGap);
    image.SetPicture(ui::pictures::kButton);
    image.Move(x, top, kWidth, kHeight);
    label.SetCaption(i == kConfirmButton ? "Confirm" : "Cancel");
    label.SetAlignment(ui::Alignment::Center);
    label.Move(x, top + kLabelInset, kWidth, kLabelHeight);
    image.OnClick = [click, i] { click(i); };
    label.OnClick = [click, i] { click(i); };
  }
  w.Register("ImgBtnCursor", images);
  w.Register("LblShowCursor", labels);
}

}  // namespace velmark
