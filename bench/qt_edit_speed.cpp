// Editing on the Qt window, offscreen: one move event of a band marker dragged over the
// response graph, from the mouse event to the finished repaint of the graph picture. Target:
// at most 5 ms on a 2-core machine.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_qt_edit_speed

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <memory>

#include "commands/core.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "model/defaults.h"
#include "sim/sim_line.h"
#include "ui/headless.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"

namespace velmark {
namespace {

using Windows = EditWindowTable;

// The edit window of one unit on the Qt desktop, over the in-process simulated unit.
struct QtRig {
  ui::qt::QtDesktop desktop;
  ui::ScriptedMessageBox messages;
  ui::ScriptedFileDialog files;
  ui::qt::QtClock clock;
  ui::qt::QtScreen screen;
  ui::Platform platform{desktop, messages, files, clock, clock, screen};
  ProgramState st;
  SimLine line{SimBus::Usb()};
  RxTx link{st, line, messages};
  Windows windows;
  Core core{st, link, platform, windows};
  QtRig() {
    windows.core = &core;
    st.LinkStarted = true;
    st.ComPort = 1;
    st.DeviceTable[0] = {true, true, 0, true};
    line.Open("COM1", 9600);
    CopyDefaultImage(st.DeviceImages[0]);
  }
};

void Send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// Arguments: 1 to repaint the graph after each move, 2 to repaint only (no move).
void BM_BandMarkerMove(benchmark::State& state) {
  const bool move = state.range(0) != 2, repaint = state.range(0) != 0;
  QtRig rig;
  FrmKVRxxxA& w = rig.windows.Window(0);
  w.Show();
  w.SetPageTab(0);  // input A: its response graph with the band markers
  QCoreApplication::processEvents();
  const int band = 6;  // a bell in the middle of the graph
  QWidget* marker = rig.desktop.WidgetOf(w.Label5(band));
  QWidget* graph = rig.desktop.WidgetOf(w.Picture1);
  if (!marker || !graph) return state.SkipWithError("the marker or the graph has no widget");
  const QPointF centre(marker->width() / 2.0, marker->height() / 2.0);
  Send(marker, QEvent::MouseButtonPress, centre, Qt::LeftButton);
  const std::size_t frames_before = rig.line.Sent().size();
  int step = 0;
  for (auto _ : state) {
    // Small moves up and down: the marker stays on the graph, the band keeps changing.
    const double dy = (step++ % 2 == 0) ? 3.0 : -3.0;
    if (move) Send(marker, QEvent::MouseMove, centre + QPointF(1.0, dy), Qt::LeftButton);
    if (repaint) graph->repaint();
  }
  state.counters["frames_sent_during_moves"] =
      static_cast<double>(rig.line.Sent().size() - frames_before);
  Send(marker, QEvent::MouseButtonRelease, centre, Qt::NoButton);
  state.counters["frames_sent_after_release"] =
      static_cast<double>(rig.line.Sent().size() - frames_before);
}
BENCHMARK(BM_BandMarkerMove)
    ->Arg(1)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("what")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
}  // namespace velmark

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
