#pragma once
// Scripted stand-ins for the platform: the message boxes answer from a queue and record what
// they showed, the file dialogs answer from a queue, the clock only moves when told to, and the
// desktop hands modal windows to whoever drives the run (a test or the scenario runner).

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/graph_pictures.h"
#include "ui/services.h"
#include "ui/window.h"

namespace velmark::ui {

struct ShownMessage {
  std::string text;
  std::string title;
  MsgIcon icon;
  MsgButtons buttons;
  MsgAnswer answer;
  bool expected;  // false when no answer was queued for it
};

class ScriptedMessageBox : public MessageBoxService {
 public:
  void Queue(MsgAnswer answer) { answers_.push_back(answer); }
  MsgAnswer Show(const std::string& text, const std::string& title, MsgIcon icon,
                 MsgButtons buttons) override;
  const std::vector<ShownMessage>& Shown() const { return shown_; }
  void ClearShown() { shown_.clear(); }  // for long runs that check each step on its own
  std::size_t Pending() const { return answers_.size(); }
  // Called for a box that nobody queued an answer for (tests turn it into a failure).
  std::function<void(const ShownMessage&)> OnUnexpected;

 private:
  std::deque<MsgAnswer> answers_;
  std::vector<ShownMessage> shown_;
};

class ScriptedFileDialog : public FileDialogService {
 public:
  void Queue(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
  std::optional<std::string> OpenFile(const FileRequest& request) override;
  std::optional<std::string> SaveFile(const FileRequest& request) override;
  const std::vector<FileRequest>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }
  std::size_t Pending() const { return answers_.size(); }
  std::function<void(const std::string&)> OnUnexpected;

 private:
  std::optional<std::string> Next(const FileRequest& request);
  std::deque<std::optional<std::string>> answers_;
  std::vector<FileRequest> requests_;
};

// Time that moves only when Advance or Sleep is called. Timers fire inside Advance, in the
// order of their due times (ties in the order they were scheduled).
class ManualClock : public TimerService, public Clock {
 public:
  void Schedule(Timer& timer, int interval_ms) override;
  void Cancel(Timer& timer) override;
  std::int64_t NowMs() const override { return now_; }
  void Sleep(int ms) override { now_ += ms > 0 ? ms : 0; }
  void Advance(std::int64_t ms);
  bool IsScheduled(const Timer& timer) const;

 private:
  struct Entry {
    Timer* timer;
    std::int64_t due;
    std::int64_t interval;
    std::uint64_t order;
  };
  std::vector<Entry> entries_;
  std::int64_t now_ = 0;
  std::uint64_t order_ = 0;
};

class FixedScreen : public ScreenService {
 public:
  ScreenMetrics metrics;
  std::string decimal_separator = ".";
  ScreenMetrics Metrics() const override { return metrics; }
  std::string LocaleText(int item) const override {
    return item == kLocaleDecimalSeparator ? decimal_separator : std::string();
  }
};

// Keeps track of shown windows; RunModal hands the window to the modal driver, which acts as
// the user until the window is hidden or unloaded.
class HeadlessDesktop : public Desktop {
 public:
  void Show(Window& window) override;
  void RunModal(Window& window) override;
  void Hide(Window& window) override;
  void Closed(Window& window) override;
  void Activate(Window& window) override;
  void WindowChanged(Window&) override {}
  void Repaint(Window&) override { ++repaints_; }
  void PopupMenu(Window& window, Menu& menu, int x, int y) override;
  void Forget(Window& window) override;

  std::function<void(Window&)> ModalDriver;
  // Called when a modal window opens and there is no driver (tests turn it into a failure).
  std::function<void(Window&)> OnUndrivenModal;

  const std::vector<Window*>& Open() const { return open_; }
  Window* Active() const { return active_; }
  Menu* PoppedMenu() const { return popped_menu_; }
  int Repaints() const { return repaints_; }

 private:
  std::vector<Window*> open_;
  Window* active_ = nullptr;
  Menu* popped_menu_ = nullptr;
  Window* popped_owner_ = nullptr;  // kept apart: Forget comes after the controls are gone
  int repaints_ = 0;
};

// Records the sheets it is asked to write or copy; `error` is what each call answers.
class RecordingPictures : public PictureService {
 public:
  struct Call {
    bool copy;             // false: SaveSheet
    PictureFormat format;  // SaveSheet only
    std::string path;      // SaveSheet only
    int width, height;     // the sheet's size
    std::size_t lines;     // lines in its picture's display list
    std::size_t labels;
  };
  std::string SaveSheet(const GraphSheet& sheet, PictureFormat format,
                        const std::string& path) override;
  std::string CopySheet(const GraphSheet& sheet) override;
  const std::vector<Call>& Calls() const { return calls_; }
  std::string error;

 private:
  std::string Record(const GraphSheet& sheet, bool copy, PictureFormat format, std::string path);
  std::vector<Call> calls_;
};

// The four stand-ins together, ready to hand to windows as a Platform.
struct HeadlessPlatform {
  HeadlessDesktop desktop;
  ScriptedMessageBox messages;
  ScriptedFileDialog files;
  ManualClock clock;
  FixedScreen screen;
  RecordingPictures pictures;
  Platform platform{desktop, messages, files, clock, clock, screen, &pictures};
};

}  // namespace velmark::ui
