#pragma once
// What windows need from the platform besides their controls: message boxes, file dialogs,
// timers and a clock, the screen, the locale, and a desktop that shows windows. Each has a real
// implementation in the Qt binding and a scripted one for tests (ui/headless.h).

#include <cstdint>
#include <optional>
#include <string>

namespace velmark::ui {

class Window;
class Menu;
class Timer;
class PictureService;

enum class MsgIcon { None, Information, Exclamation, Critical, Stop };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

const char* MsgIconName(MsgIcon icon);

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual MsgAnswer Show(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) = 0;
};

struct FileRequest {
  std::string filter;        // "file preset (*.C44)|*.C44"
  std::string start_folder;  // absolute folder to start in
  bool overwrite_prompt = true;
  // A name typed without an extension gets the one of the filter chosen in the dialog.
  bool add_filter_suffix = false;
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> OpenFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileRequest& request) = 0;
};

// Starts and stops timers; the implementation decides how time passes.
class TimerService {
 public:
  virtual ~TimerService() = default;
  // (Re)starts the timer: it fires every interval_ms from now on.
  virtual void Schedule(Timer& timer, int interval_ms) = 0;
  virtual void Cancel(Timer& timer) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() const = 0;
  // Blocks the calling sequence for ms (the pauses of the unit search and the device list).
  virtual void Sleep(int ms) = 0;
};

struct ScreenMetrics {
  int dpi = 96;  // horizontal logical pixels per inch
  int width_px = 1920;
  int height_px = 1080;
};

class ScreenService {
 public:
  virtual ~ScreenService() = default;
  virtual ScreenMetrics Metrics() const = 0;
  // Locale item of the user's default locale; item 14 is the decimal separator.
  virtual std::string LocaleText(int item) const = 0;
};

inline constexpr int kLocaleDecimalSeparator = 14;

// Shows windows. Modal windows block RunModal until they are hidden or unloaded.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual void Show(Window& window) = 0;
  virtual void RunModal(Window& window) = 0;
  virtual void Hide(Window& window) = 0;
  virtual void Closed(Window& window) = 0;
  virtual void Activate(Window& window) = 0;
  // The window's caption, state, size or pointer changed.
  virtual void WindowChanged(Window& window) = 0;
  // "Repaint": paint what changed now, inside a blocking sequence.
  virtual void Repaint(Window& window) = 0;
  // Pops up a menu at (x, y) in the window's units; a chosen item arrives as the menu's click.
  virtual void PopupMenu(Window& window, Menu& menu, int x, int y) = 0;
  // The window object is being destroyed: drop every reference to it and its controls.
  virtual void Forget(Window& /*window*/) {}
  // Paints what is due without taking user input; called while a blocking exchange waits, so
  // that the windows keep painting.
  virtual void PumpPaintEvents() {}
};

// Everything a window is handed at construction.
struct Platform {
  Desktop& desktop;
  MessageBoxService& messages;
  FileDialogService& files;
  TimerService& timers;
  Clock& clock;
  ScreenService& screen;
  // Writes and copies graph pictures (ui/graph_pictures.h); none where the platform cannot.
  PictureService* pictures = nullptr;
};

}  // namespace velmark::ui
