#include "ui/headless.h"

#include <algorithm>

#include "ui/controls.h"

namespace velmark::ui {

const char* MsgIconName(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None:
      return "none";
    case MsgIcon::Information:
      return "information";
    case MsgIcon::Exclamation:
      return "exclamation";
    case MsgIcon::Critical:
      return "critical";
    case MsgIcon::Stop:
      return "stop";
  }
  return "none";
}

MsgAnswer ScriptedMessageBox::Show(const std::string& text, const std::string& title, MsgIcon icon,
                                   MsgButtons buttons) {
  ShownMessage shown{text, title, icon, buttons, MsgAnswer::Ok, !answers_.empty()};
  if (shown.expected) {
    shown.answer = answers_.front();
    answers_.pop_front();
  } else {
    // Nobody expected this box: answer like a cautious user, and let the test know.
    shown.answer = buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
  }
  shown_.push_back(shown);
  if (!shown.expected && OnUnexpected) OnUnexpected(shown);
  return shown.answer;
}

std::optional<std::string> ScriptedFileDialog::Next(const FileRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) {
    if (OnUnexpected) OnUnexpected(request.filter);
    return std::nullopt;
  }
  auto answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedFileDialog::OpenFile(const FileRequest& request) {
  return Next(request);
}

std::optional<std::string> ScriptedFileDialog::SaveFile(const FileRequest& request) {
  return Next(request);
}

void ManualClock::Schedule(Timer& timer, int interval_ms) {
  Cancel(timer);
  entries_.push_back(Entry{&timer, now_ + interval_ms, interval_ms, order_++});
}

void ManualClock::Cancel(Timer& timer) {
  std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

bool ManualClock::IsScheduled(const Timer& timer) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& e) { return e.timer == &timer; });
}

void ManualClock::Advance(std::int64_t ms) {
  const std::int64_t end = now_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    auto next =
        std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
          return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
    if (next == entries_.end() || next->due > end) break;
    Timer* timer = next->timer;
    now_ = std::max(now_, next->due);
    // Re-arm before firing so that a handler that changes the interval or stops the timer wins.
    next->due += next->interval;
    next->order = order_++;
    timer->Fire();
  }
  now_ = std::max(now_, end);
}

void HeadlessDesktop::Show(Window& window) {
  if (std::find(open_.begin(), open_.end(), &window) == open_.end()) open_.push_back(&window);
  active_ = &window;
}

void HeadlessDesktop::RunModal(Window& window) {
  Show(window);
  if (ModalDriver) {
    ModalDriver(window);
  } else if (OnUndrivenModal) {
    OnUndrivenModal(window);
  }
  // Whoever drove it is done: a modal window still up at this point is closed by the user.
  if (window.Loaded() && window.IsShown()) window.UserClose();
}

void HeadlessDesktop::Hide(Window& window) {
  std::erase(open_, &window);
  if (active_ == &window) active_ = open_.empty() ? nullptr : open_.back();
}

void HeadlessDesktop::Closed(Window& window) {
  Hide(window);
}

void HeadlessDesktop::Activate(Window& window) {
  active_ = &window;
}

void HeadlessDesktop::PopupMenu(Window& window, Menu& menu, int, int) {
  popped_menu_ = &menu;
  popped_owner_ = &window;
}

void HeadlessDesktop::Forget(Window& window) {
  Hide(window);
  if (popped_owner_ == &window) {
    popped_menu_ = nullptr;
    popped_owner_ = nullptr;
  }
}

std::string RecordingPictures::SaveSheet(const GraphSheet& sheet, PictureFormat format,
                                         const std::string& path) {
  return Record(sheet, false, format, path);
}

std::string RecordingPictures::CopySheet(const GraphSheet& sheet) {
  return Record(sheet, true, PictureFormat::Png, {});
}

std::string RecordingPictures::Record(const GraphSheet& sheet, bool copy, PictureFormat format,
                                      std::string path) {
  const std::size_t lines = sheet.picture ? sheet.picture->DisplayList().size() : 0;
  calls_.push_back(
      {copy, format, std::move(path), sheet.width, sheet.height, lines, sheet.labels.size()});
  return error;
}

}  // namespace velmark::ui
