#pragma once
// The platform services on Qt: message boxes, file dialogs, timers and the clock, the screen.

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

#include "ui/services.h"

class QApplication;

namespace velmark::ui::qt {

class QtMessageBox : public MessageBoxService {
 public:
  MsgAnswer Show(const std::string& text, const std::string& title, MsgIcon icon,
                 MsgButtons buttons) override;
};

class QtFileDialog : public FileDialogService {
 public:
  std::optional<std::string> OpenFile(const FileRequest& request) override;
  std::optional<std::string> SaveFile(const FileRequest& request) override;
};

// Timers on QTimer, time on a monotonic clock. Sleep keeps the windows painting and the timers
// running but holds back the user's input until it is over.
class QtClock : public TimerService, public Clock {
 public:
  QtClock();
  ~QtClock() override;
  void Schedule(Timer& timer, int interval_ms) override;
  void Cancel(Timer& timer) override;
  std::int64_t NowMs() const override { return elapsed_.elapsed(); }
  void Sleep(int ms) override;

 private:
  struct Entry {
    std::unique_ptr<QTimer> qtimer;
    bool firing = false;  // a handler still running (inside a modal window) is not re-entered
  };
  std::map<Timer*, Entry> timers_;
  QElapsedTimer elapsed_;
};

class QtScreen : public ScreenService {
 public:
  ScreenMetrics Metrics() const override;
  std::string LocaleText(int item) const override;
};

// The program's look on every desktop: the Fusion style with its own light palette.
void ApplyDefaultLook(QApplication& app);

}  // namespace velmark::ui::qt
