// Opening a unit in the Qt program, timed against the wire. The program is built as
// apps/velmark/main.cpp builds it (Qt desktop, Qt clock and timers, the POSIX serial port with
// the paint-pumping wait hook) on velmark-sim at 9600 baud; only the message boxes and file
// dialogs are scripted. Each run starts a fresh program (a unit once read is not read again
// while the program runs), connects on COM1/USB, waits for the device list, double-clicks row
// 0 and times every exchange until the edit window has opened and painted, then exits.
//
//   build-qtb/bench/bench_qt_open_speed --runs 5
//
// (after "ninja -C build-qtb bench_qt_open_speed velmark-sim").
//
// Options: --runs N (3), --gap-ms N (gaps listed above this, 20), --settle-ms N (time the
// device list is left to paint before the double click, 500), --slow-paint-ms N (every paint
// takes N ms longer, as on a slow display; 0), --verbose (every exchange, paint and message
// box); whatever follows "--" goes to velmark-sim ("-- --latency-ms 50", "-- --block-reply
// bare").
//
// velmark-sim is taken from beside the benchmark (<build>/apps/velmark-sim) or from
// VELMARK_SIM_BINARY; VELMARK_SIM_ARGS adds options for it (split at blanks) in front of those
// after "--". Without a display the windows go to the offscreen platform; under xvfb-run they
// go to a real X server.
//
// What is printed for each run:
//   open          first request to the end of the last answer of the double click
//   wire          every byte both ways at 10 bit times (13-byte requests and reply frames, the
//                 blocks, a reply frame in front of each block unless --block-reply bare) plus
//                 the unit's processing delay (--latency-ms, default 2) once per answer
//   ratio         open / wire
//   in exchanges  time inside the port calls; gaps: the time between the end of one exchange
//                 and the start of the next, with the program's own pauses and the painting
//                 that happened in them
//   wait hook     the calls of the port's wait hook during the open (each pumps paint events)
//   painted       double click to the end of the first painting of the edit window

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/init_cfg.h"
#include "app/machine_ports.h"
#include "app/program.h"
#include "link/port_naming.h"
#include "link/posix_serial_port.h"
#include "sim_rig.h"
#include "ui/headless.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"

namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;
using TimePoint = Steady::time_point;
using velmark::kFrameSize;
using velmark::SerialStatus;

double Ms(TimePoint from, TimePoint to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// ---- What the run records -------------------------------------------------------------------

struct Interval {
  TimePoint start;
  TimePoint end;
  double Length() const { return Ms(start, end); }
};

// One call of the port: a request (with its reply frame) or the block after a block request.
struct PortCall {
  bool block_data = false;  // ReadData
  TimePoint start;
  TimePoint end;
  std::uint8_t cmd = 0;  // the request's command byte (for a block: its request's)
  int block_count = 0;   // the count a block request asked for
  bool block_request = false;
  int sent = 0;      // bytes the call put on the wire
  int received = 0;  // bytes the unit sent for it
  bool answered = false;
  SerialStatus status = SerialStatus::Ok;
};

struct PaintSpan {
  Interval span;
  bool edit_window = false;  // painted a widget of the edit window
  int events = 0;            // paint events delivered within it
};

struct SleepSpan {
  Interval span;
  int ms = 0;
};

struct Probe {
  std::vector<PortCall> calls;
  std::vector<Interval> hooks;
  std::vector<PaintSpan> paints;
  std::vector<SleepSpan> sleeps;
  // Whether a widget belongs to the edit window being opened.
  std::function<bool(QObject*)> in_edit_window;
  int paint_depth = 0;
};

// ---- The decorators ---------------------------------------------------------------------------

// The program's line: every Transact and ReadData timed and counted, everything passed on.
class TimedPort final : public velmark::SerialPort {
 public:
  TimedPort(std::unique_ptr<velmark::SerialPort> inner, Probe& probe, bool framed_blocks)
      : inner_(std::move(inner)), probe_(probe), framed_blocks_(framed_blocks) {}
  SerialStatus Init(int frame_size, int max_units) override {
    return inner_->Init(frame_size, max_units);
  }
  SerialStatus Open(const std::string& name, int baud) override { return inner_->Open(name, baud); }
  SerialStatus Transact(velmark::Frame& frame, int timeout_ms, bool wait_reply,
                        bool before_block_read, int count) override {
    PortCall call;
    call.cmd = frame[3];
    call.block_request = before_block_read;
    call.block_count = (frame[7] << 8) | frame[8];
    const bool open = inner_->IsOpen();
    call.start = Steady::now();
    call.status = inner_->Transact(frame, timeout_ms, wait_reply, before_block_read, count);
    call.end = Steady::now();
    call.sent = open ? kFrameSize : 0;
    // The reply frame of a block request is counted with its block.
    call.answered = call.status == SerialStatus::Ok && wait_reply && !before_block_read;
    call.received = call.answered ? kFrameSize : 0;
    last_cmd_ = call.cmd;
    probe_.calls.push_back(call);
    return call.status;
  }
  SerialStatus Close() override { return inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override {
    PortCall call;
    call.block_data = true;
    call.cmd = last_cmd_;
    call.block_count = static_cast<int>(block.size());
    call.start = Steady::now();
    call.status = inner_->ReadData(block, timeout_ms, flags);
    call.end = Steady::now();
    call.answered = call.status == SerialStatus::Ok;
    if (call.answered) {
      call.received = static_cast<int>(block.size()) + (framed_blocks_ ? kFrameSize : 0);
    }
    probe_.calls.push_back(call);
    return call.status;
  }
  std::string LastErrorText() const override { return inner_->LastErrorText(); }

 private:
  std::unique_ptr<velmark::SerialPort> inner_;
  Probe& probe_;
  bool framed_blocks_;
  std::uint8_t last_cmd_ = 0;
};

// The Qt clock with its pauses recorded: the program's own waits are not overhead of the line.
class TimedClock final : public velmark::ui::Clock {
 public:
  TimedClock(velmark::ui::Clock& inner, Probe& probe) : inner_(inner), probe_(probe) {}
  std::int64_t NowMs() const override { return inner_.NowMs(); }
  void Sleep(int ms) override {
    SleepSpan s;
    s.ms = ms;
    s.span.start = Steady::now();
    inner_.Sleep(ms);
    s.span.end = Steady::now();
    probe_.sleeps.push_back(s);
  }

 private:
  velmark::ui::Clock& inner_;
  Probe& probe_;
};

// QApplication with the handling of paint events timed (outermost ones only: a backing-store
// update sends the paint events of the widgets inside it). `slow_paint_ms` makes every
// outermost handling that painted something take that much longer, as on a slow display.
class TimedApplication final : public QApplication {
 public:
  TimedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  Probe* probe = nullptr;
  int slow_paint_ms = 0;

  bool notify(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    const bool painting = type == QEvent::Paint || type == QEvent::UpdateRequest ||
                          type == QEvent::UpdateLater || type == QEvent::Expose;
    if (!probe || !painting) return QApplication::notify(receiver, event);
    Probe& p = *probe;
    const bool outermost = p.paint_depth == 0;
    std::size_t index = 0;
    if (outermost) {
      index = p.paints.size();
      p.paints.push_back(PaintSpan{{Steady::now(), Steady::now()}, false, 0});
    } else {
      index = p.paints.size() - 1;
    }
    if (type == QEvent::Paint) {
      p.paints[index].events += 1;
      if (p.in_edit_window && p.in_edit_window(receiver)) p.paints[index].edit_window = true;
    }
    ++p.paint_depth;
    const bool result = QApplication::notify(receiver, event);
    --p.paint_depth;
    if (outermost && index < p.paints.size()) {
      if (slow_paint_ms > 0 && p.paints[index].events > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(slow_paint_ms));
      }
      p.paints[index].span.end = Steady::now();
    }
    return result;
  }
};

// ---- velmark-sim ------------------------------------------------------------------------------

using velmark::bench::Sim;

// ---- Options ------------------------------------------------------------------------------

struct Options {
  int runs = 3;
  double gap_ms = 20;
  int settle_ms = 500;
  int slow_paint_ms = 0;
  bool verbose = false;
  std::vector<std::string> sim_args;
  // Taken from the simulator's options, for the wire time.
  int baud = 9600;
  int latency_ms = 2;
  bool framed_blocks = true;
  bool paced = true;
};

std::optional<int> Number(const std::string& text) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > 1'000'000) return std::nullopt;
  return static_cast<int>(v);
}

std::string ParseOptions(int argc, char** argv, Options& o) {
  if (const char* env = std::getenv("VELMARK_SIM_ARGS")) {
    std::istringstream words(env);
    for (std::string w; words >> w;) o.sim_args.push_back(w);
  }
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      for (++i; i < argc; ++i) o.sim_args.emplace_back(argv[i]);
      break;
    }
    if (a == "--verbose") {
      o.verbose = true;
      continue;
    }
    if ((a == "--runs" || a == "--gap-ms" || a == "--settle-ms" || a == "--slow-paint-ms") &&
        i + 1 < argc) {
      const auto n = Number(argv[++i]);
      if (!n) return a + " needs a whole number";
      if (a == "--runs") o.runs = std::max(1, *n);
      if (a == "--gap-ms") o.gap_ms = *n;
      if (a == "--settle-ms") o.settle_ms = *n;
      if (a == "--slow-paint-ms") o.slow_paint_ms = *n;
      continue;
    }
    return "unknown option " + a +
           " (--runs N, --gap-ms N, --settle-ms N, --slow-paint-ms N, --verbose,"
           " -- velmark-sim options)";
  }
  for (std::size_t i = 0; i < o.sim_args.size(); ++i) {
    const std::string& a = o.sim_args[i];
    const std::string next = i + 1 < o.sim_args.size() ? o.sim_args[i + 1] : std::string();
    if (a == "--latency-ms" && Number(next)) o.latency_ms = *Number(next);
    if (a == "--baud" && Number(next)) o.baud = *Number(next);
    if (a == "--block-reply") o.framed_blocks = next != "bare";
    if (a == "--block-reply=bare") o.framed_blocks = false;
    if (a == "--no-pacing") o.paced = false;
  }
  return {};
}

// ---- Driving the program ------------------------------------------------------------------

// Runs the event loop until `ready` holds or the time is up.
bool WaitFor(const std::function<bool()>& ready, int timeout_ms) {
  if (ready()) return true;
  QEventLoop loop;
  QTimer poll;
  QElapsedTimer elapsed;
  elapsed.start();
  bool ok = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (ready()) {
      ok = true;
      loop.quit();
    } else if (elapsed.elapsed() > timeout_ms) {
      loop.quit();
    }
  });
  poll.start(5);
  loop.exec();
  return ok;
}

void RunFor(int ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  WaitFor([&] { return elapsed.elapsed() >= ms; }, ms + 1000);
}

// The Connect item of the main window's menu bar.
QAction* ConnectAction(velmark::ui::qt::QtDesktop& desktop, velmark::Program& program) {
  auto* main = qobject_cast<QMainWindow*>(desktop.WidgetOf(program.Main()));
  if (!main) return nullptr;
  for (QAction* bar_item : main->menuBar()->actions()) {
    if (!bar_item->menu() || bar_item->text() != "Connect") continue;
    for (QAction* item : bar_item->menu()->actions()) {
      if (item->text() == "Connect") return item;
    }
  }
  return nullptr;
}

struct RunTimes {
  TimePoint click;
  TimePoint returned;
  std::optional<TimePoint> painted;
};

struct RunOutcome {
  std::string error;  // empty: the open happened
  RunTimes times;
  std::vector<velmark::ui::ShownMessage> messages;
  QSize screen;
};

RunOutcome OneRun(TimedApplication& app, const Options& o, Probe& probe) {
  namespace ui = velmark::ui;
  RunOutcome out;
  if (const QScreen* s = QGuiApplication::primaryScreen()) out.screen = s->geometry().size();
  const fs::path data = fs::current_path();
  velmark::InitCfg cfg;
  cfg.ComPort = 1;
  cfg.SavedConnectionType = velmark::kUsb;
  if (std::string e = velmark::WriteInitCfg(data, cfg); !e.empty()) {
    out.error = "init.cfg: " + e;
    return out;
  }

  // As apps/velmark/main.cpp has it, with the message boxes and file dialogs scripted.
  ui::qt::QtDesktop desktop;
  desktop.OnFrameClosed = nullptr;  // the benchmark's own loops end each run
  ui::ScriptedMessageBox messages;
  ui::ScriptedFileDialog files;
  ui::qt::QtClock qt_clock;
  TimedClock clock(qt_clock, probe);
  ui::qt::QtScreen screen;
  ui::Platform platform{desktop, messages, files, qt_clock, clock, screen};

  velmark::ProgramOptions options = velmark::MachinePortOptions(data);
  auto posix = std::make_unique<velmark::PosixSerialPort>(data);
  posix->SetWaitHook([&desktop, &probe] {
    Interval call{Steady::now(), {}};
    desktop.PumpPaintEvents();
    call.end = Steady::now();
    probe.hooks.push_back(call);
  });
  auto line = std::make_unique<TimedPort>(std::move(posix), probe, o.framed_blocks);
  velmark::Program program(platform, std::move(line), std::move(options));
  app.setQuitOnLastWindowClosed(false);
  bool ended = false;
  program.OnEnd = [&ended](int) { ended = true; };

  QPointer<QWidget> edit_outer;
  probe.in_edit_window = [&](QObject* receiver) {
    if (!edit_outer) {
      if (velmark::FrmKVRxxxA* w = program.ExistingEditWindow(0)) edit_outer = desktop.WidgetOf(*w);
    }
    auto* widget = qobject_cast<QWidget*>(receiver);
    return edit_outer && widget && (widget == edit_outer || edit_outer->isAncestorOf(widget));
  };
  struct Detach {
    Probe& p;
    ~Detach() { p.in_edit_window = nullptr; }
  } detach{probe};

  auto fail = [&](const std::string& why) {
    out.error = why;
    out.messages = messages.Shown();
    return out;
  };

  // Splash, then the main window after its two seconds.
  program.Start();
  if (!WaitFor([&] { return program.Main().IsShown() && !program.Splash().Loaded(); }, 10000)) {
    return fail("the main window did not appear");
  }
  QAction* connect = nullptr;
  if (!WaitFor(
          [&] {
            connect = ConnectAction(desktop, program);
            return connect && connect->isEnabled();
          },
          5000)) {
    return fail("no usable Connect item in the main window's menu bar");
  }

  // Connect: the port window shows COM 1 from init.cfg and is left with OK from inside its
  // modal loop; then the connection window searches and the device list polls the unit.
  QTimer press_ok;
  QObject::connect(&press_ok, &QTimer::timeout, [&] {
    velmark::FrmSelPort& w = program.SelPort();
    if (!w.IsShown() || w.Combo1.Text() != "COM 1") return;
    if (auto* ok = qobject_cast<QAbstractButton*>(desktop.WidgetOf(w.Command1(0)))) {
      press_ok.stop();
      ok->click();
    }
  });
  press_ok.start(5);
  QTimer::singleShot(0, connect, &QAction::trigger);
  velmark::FrmSearchNet& list = program.SearchNet();
  const bool listed = WaitFor(
      [&] {
        return program.Ended() ||
               (list.Loaded() && list.IsShown() && !list.LblSearching.Visible() &&
                list.MSFlexGrid1.Enabled() && list.MSFlexGrid1.Rows() > 0);
      },
      20000);
  press_ok.stop();
  if (!listed || program.Ended()) return fail("the device list did not fill");
  if (list.MSFlexGrid1.TextMatrix(0, 0).find("On-line") == std::string::npos) {
    return fail("row 0 of the device list reads \"" + list.MSFlexGrid1.TextMatrix(0, 0) + "\"");
  }
  auto* table = qobject_cast<QTableWidget*>(desktop.WidgetOf(list.MSFlexGrid1));
  if (!table) return fail("the device list has no table widget");
  // The person looks at the list before double-clicking: everything due is painted.
  RunFor(o.settle_ms);

  // The double click on row 0, as the table widget reports it.
  {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
      out.times.click = Steady::now();
      Q_EMIT table->cellDoubleClicked(0, 0);
      out.times.returned = Steady::now();
      loop.quit();
    });
    loop.exec();
  }
  velmark::FrmKVRxxxA* edit = program.ExistingEditWindow(0);
  if (!edit || !edit->Loaded()) return fail("the edit window of unit 0 did not load");
  auto first_edit_paint = [&]() -> std::optional<TimePoint> {
    for (const PaintSpan& p : probe.paints) {
      if (p.edit_window && p.span.start >= out.times.click && p.span.end > p.span.start) {
        return p.span.end;
      }
    }
    return std::nullopt;
  };
  WaitFor([&] { return first_edit_paint().has_value(); }, 5000);
  out.times.painted = first_edit_paint();
  RunFor(100);

  // Exit: the edit window's question, then the main window's.
  probe.in_edit_window = nullptr;
  messages.Queue(ui::MsgAnswer::Yes);
  edit->UserClose();
  messages.Queue(ui::MsgAnswer::Yes);
  program.Main().UserClose();
  WaitFor([&] { return ended; }, 5000);
  out.messages = messages.Shown();
  if (!ended) out.error = "the program did not end";
  return out;
}

// ---- The numbers --------------------------------------------------------------------------

struct Exchange {
  TimePoint start;
  TimePoint end;
  std::uint8_t cmd = 0;
  int block = 0;  // block bytes asked for, 0 for a plain request
  int sent = 0;
  int received = 0;
  int answers = 0;
  bool ok = true;
};

const char* CommandName(std::uint8_t cmd) {
  switch (cmd) {
    case velmark::CmdPoll:
      return "poll";
    case velmark::CmdPing:
      return "ping";
    case velmark::CmdReadBlock:
      return "read-block";
    case velmark::CmdReadMemory:
      return "read-memory";
    case velmark::CmdReadVersion:
      return "version";
    case velmark::CmdReadProgramStates:
      return "program-states";
    case velmark::CmdLinkMask:
      return "link-mask";
    case velmark::CmdRelease:
      return "release";
    default:
      return "";
  }
}

std::string Describe(const Exchange& e) {
  char text[64];
  std::snprintf(text, sizeof text, "%02X %s", e.cmd, CommandName(e.cmd));
  std::string s = text;
  if (e.block > 0) s += "(" + std::to_string(e.block) + ")";
  if (!e.ok) s += " FAILED";
  return s;
}

double Overlap(const Interval& a, TimePoint from, TimePoint to) {
  const TimePoint s = std::max(a.start, from);
  const TimePoint e = std::min(a.end, to);
  return e > s ? Ms(s, e) : 0.0;
}

struct Numbers {
  double open_ms = 0;
  double wire_ms = 0;
  double ratio = 0;
  double in_exchanges_ms = 0;
  double gap_sum_ms = 0;
  double gap_max_ms = 0;
  double hook_ms = 0;
  double hook_max_ms = 0;
  int hook_calls = 0;
  double click_to_return_ms = 0;
  double click_to_painted_ms = -1;
};

Numbers Report(const Options& o, const Probe& probe, const RunTimes& t) {
  Numbers n;
  const double byte_ms = 10'000.0 / o.baud;
  std::vector<Exchange> ex;
  for (const PortCall& c : probe.calls) {
    if (c.start < t.click || c.end > t.returned) continue;
    if (c.block_data && !ex.empty() && ex.back().block > 0 && ex.back().answers == 0) {
      Exchange& e = ex.back();
      e.end = c.end;
      e.received += c.received;
      e.answers += c.answered ? 1 : 0;
      e.ok = e.ok && c.status == SerialStatus::Ok;
      continue;
    }
    Exchange e;
    e.start = c.start;
    e.end = c.end;
    e.cmd = c.cmd;
    e.block = c.block_request || c.block_data ? c.block_count : 0;
    e.sent = c.sent;
    e.received = c.received;
    e.answers = c.answered ? 1 : 0;
    e.ok = c.status == SerialStatus::Ok;
    ex.push_back(e);
  }
  if (ex.empty()) {
    std::printf("  no exchange between the double click and its return\n");
    return n;
  }
  const TimePoint first = ex.front().start;
  const TimePoint last = ex.back().end;
  long bytes = 0;
  int answers = 0;
  for (const Exchange& e : ex) {
    bytes += e.sent + e.received;
    answers += e.answers;
    n.in_exchanges_ms += Ms(e.start, e.end);
  }
  n.open_ms = Ms(first, last);
  n.wire_ms = bytes * byte_ms + answers * o.latency_ms;
  n.ratio = n.wire_ms > 0 ? n.open_ms / n.wire_ms : 0;
  n.click_to_return_ms = Ms(t.click, t.returned);
  if (t.painted) n.click_to_painted_ms = Ms(t.click, *t.painted);

  double paint_ms = 0, paint_in_hooks_ms = 0;
  int paint_events = 0;
  for (const PaintSpan& p : probe.paints) {
    const double in = Overlap(p.span, first, last);
    if (in <= 0) continue;
    paint_ms += in;
    paint_events += p.events;
    for (const Interval& h : probe.hooks) paint_in_hooks_ms += Overlap(p.span, h.start, h.end);
  }
  for (const Interval& h : probe.hooks) {
    if (h.start < first || h.end > last) continue;
    n.hook_ms += h.Length();
    n.hook_max_ms = std::max(n.hook_max_ms, h.Length());
    n.hook_calls += 1;
  }

  struct Gap {
    double ms;
    std::size_t after;
    double slept_ms;
    double painted_ms;
  };
  std::vector<Gap> gaps;
  for (std::size_t i = 0; i + 1 < ex.size(); ++i) {
    Gap g{Ms(ex[i].end, ex[i + 1].start), i, 0, 0};
    for (const SleepSpan& s : probe.sleeps)
      g.slept_ms += Overlap(s.span, ex[i].end, ex[i + 1].start);
    for (const PaintSpan& p : probe.paints) {
      g.painted_ms += Overlap(p.span, ex[i].end, ex[i + 1].start);
    }
    n.gap_sum_ms += g.ms;
    n.gap_max_ms = std::max(n.gap_max_ms, g.ms);
    gaps.push_back(g);
  }
  double slept_ms = 0, paint_in_gaps_ms = 0, paint_in_pauses_ms = 0;
  for (const SleepSpan& s : probe.sleeps) {
    slept_ms += Overlap(s.span, first, last);
    for (const PaintSpan& p : probe.paints) {
      paint_in_pauses_ms +=
          Overlap(p.span, std::max(s.span.start, first), std::min(s.span.end, last));
    }
  }
  for (const Gap& g : gaps) paint_in_gaps_ms += g.painted_ms;

  std::printf(
      "  open %.1f ms (first request to last answer), wire %.1f ms (%ld bytes, %d answers"
      " x %d ms), ratio %.3f\n",
      n.open_ms, n.wire_ms, bytes, answers, o.latency_ms, n.ratio);
  std::printf(
      "  %zu exchanges: %.1f ms inside them; %zu gaps: sum %.1f ms, largest %.1f ms;"
      " program pauses %.1f ms\n",
      ex.size(), n.in_exchanges_ms, gaps.size(), n.gap_sum_ms, n.gap_max_ms, slept_ms);
  std::printf(
      "  wait hook: %d calls, %.1f ms in total, longest %.1f ms\n"
      "  painting %.1f ms (%d paint events): %.1f ms inside the hook, %.1f ms in gaps (%.1f ms"
      " of it in the program's pauses)\n",
      n.hook_calls, n.hook_ms, n.hook_max_ms, paint_ms, paint_events, paint_in_hooks_ms,
      paint_in_gaps_ms, paint_in_pauses_ms);
  std::printf(
      "  double click to first request %.1f ms, last answer to return %.1f ms;"
      " double click to return %.1f ms, to the edit window painted ",
      Ms(t.click, first), Ms(last, t.returned), n.click_to_return_ms);
  if (t.painted) {
    std::printf("%.1f ms\n", n.click_to_painted_ms);
  } else {
    std::printf("(no paint seen)\n");
  }
  bool any = false;
  for (const Gap& g : gaps) {
    if (g.ms <= o.gap_ms) continue;
    if (!any) std::printf("  gaps above %.0f ms:\n", o.gap_ms);
    any = true;
    std::printf(
        "    %7.1f ms at +%7.1f  after %-22s before %-22s pause %.1f ms, painting %.1f ms\n", g.ms,
        Ms(first, ex[g.after].end), Describe(ex[g.after]).c_str(),
        Describe(ex[g.after + 1]).c_str(), g.slept_ms, g.painted_ms);
  }
  if (!any) std::printf("  no gap above %.0f ms\n", o.gap_ms);
  if (o.verbose) {
    std::printf("  exchanges (start, length, wire, hook time inside):\n");
    for (const Exchange& e : ex) {
      double hook = 0;
      for (const Interval& h : probe.hooks) hook += Overlap(h, e.start, e.end);
      const double wire = (e.sent + e.received) * byte_ms + e.answers * o.latency_ms;
      std::printf("    +%7.1f %7.1f ms  wire %7.1f  hook %5.1f  %s\n", Ms(first, e.start),
                  Ms(e.start, e.end), wire, hook, Describe(e).c_str());
    }
    std::printf("  painting (start, length, paint events, where):\n");
    for (const PaintSpan& p : probe.paints) {
      if (p.events == 0 || p.span.start < first || p.span.end > last) continue;
      const char* where = "gap";
      for (const Interval& h : probe.hooks) {
        if (Overlap(p.span, h.start, h.end) > 0) where = "wait hook";
      }
      for (const SleepSpan& sl : probe.sleeps) {
        if (Overlap(p.span, sl.span.start, sl.span.end) > 0) where = "program pause";
      }
      std::printf("    +%7.1f %7.1f ms  %3d  %s%s\n", Ms(first, p.span.start), p.span.Length(),
                  p.events, where, p.edit_window ? ", edit window" : "");
    }
  }
  return n;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void Summary(const std::vector<Numbers>& all) {
  struct Row {
    const char* name;
    double Numbers::*field;
  };
  const Row rows[] = {
      {"open_ms", &Numbers::open_ms},
      {"wire_ms", &Numbers::wire_ms},
      {"ratio", &Numbers::ratio},
      {"in_exchanges_ms", &Numbers::in_exchanges_ms},
      {"gap_sum_ms", &Numbers::gap_sum_ms},
      {"gap_max_ms", &Numbers::gap_max_ms},
      {"hook_total_ms", &Numbers::hook_ms},
      {"hook_max_ms", &Numbers::hook_max_ms},
      {"click_to_return_ms", &Numbers::click_to_return_ms},
      {"click_to_painted_ms", &Numbers::click_to_painted_ms},
  };
  std::printf("\nover %zu runs            median       min       max\n", all.size());
  for (const Row& r : rows) {
    std::vector<double> v;
    for (const Numbers& n : all) v.push_back(n.*r.field);
    std::printf("  %-20s %9.3f %9.3f %9.3f\n", r.name, Median(v),
                *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (const std::string error = ParseOptions(argc, argv, o); !error.empty()) {
    std::fprintf(stderr, "bench_qt_open_speed: %s\n", error.c_str());
    return 2;
  }
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if (!display && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  std::vector<std::string> sim_args = {"--usb"};
  sim_args.insert(sim_args.end(), o.sim_args.begin(), o.sim_args.end());
  Sim sim(sim_args);
  if (!sim.Ready()) {
    std::fprintf(stderr, "bench_qt_open_speed: velmark-sim (%s) did not start\n",
                 velmark::bench::SimBinary().c_str());
    return 1;
  }
  fs::current_path(sim.Folder());  // the data folder, as the program takes it

  static int qt_argc = 1;
  TimedApplication app(qt_argc, argv);
  velmark::ui::qt::ApplyDefaultLook(app);
  app.slow_paint_ms = o.slow_paint_ms;

  std::string sim_line;
  for (const auto& a : sim_args) sim_line += " " + a;
  std::printf("velmark-sim%s; platform %s; wire: %d baud, %d ms per answer, block replies %s\n",
              sim_line.c_str(), QGuiApplication::platformName().toStdString().c_str(), o.baud,
              o.latency_ms, o.framed_blocks ? "with their frame" : "bare");
  if (o.slow_paint_ms > 0) std::printf("every paint made %d ms slower\n", o.slow_paint_ms);
  if (!o.paced) std::printf("(velmark-sim does not pace the bytes: the wire time is not real)\n");

  std::vector<Numbers> all;
  for (int run = 1; run <= o.runs; ++run) {
    Probe probe;
    app.probe = &probe;
    const RunOutcome outcome = OneRun(app, o, probe);
    app.probe = nullptr;
    std::printf("run %d (screen %dx%d):\n", run, outcome.screen.width(), outcome.screen.height());
    if (o.verbose || !outcome.error.empty()) {
      for (const auto& m : outcome.messages) {
        std::printf("  message \"%s\" / \"%s\" answered %s%s\n", m.text.c_str(), m.title.c_str(),
                    m.answer == velmark::ui::MsgAnswer::Yes  ? "Yes"
                    : m.answer == velmark::ui::MsgAnswer::No ? "No"
                                                             : "Ok",
                    m.expected ? "" : " (not scripted)");
      }
    }
    if (!outcome.error.empty() && outcome.error != "the program did not end") {
      std::printf("  FAILED: %s\n", outcome.error.c_str());
      return 1;
    }
    all.push_back(Report(o, probe, outcome.times));
    if (!outcome.error.empty()) std::printf("  note: %s\n", outcome.error.c_str());
    std::fflush(stdout);
  }
  Summary(all);
  return 0;
}
