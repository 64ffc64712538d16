// VELMARK Control on the Qt binding: the splash, then the multiple-document main window. The
// data folder (init.cfg, presets, Eeprom.txt, COM<n> links) is the current directory. The
// program ends when its exit is confirmed or its serial port cannot be set up.

#include <QApplication>
#include <filesystem>

#include "app/machine_ports.h"
#include "app/program.h"
#include "link/posix_serial_port.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  velmark::ui::qt::ApplyDefaultLook(app);
  // The services go before the windows that use them, and are gone after them.
  velmark::ui::qt::QtDesktop desktop;
  velmark::ui::qt::QtMessageBox messages;
  velmark::ui::qt::QtFileDialog files;
  velmark::ui::qt::QtClock clock;
  velmark::ui::qt::QtScreen screen;
  velmark::ui::Platform platform{desktop, messages, files, clock, clock, screen};

  const std::filesystem::path data = std::filesystem::current_path();
  velmark::ProgramOptions options = velmark::MachinePortOptions(data);
  // While an exchange waits for a unit (up to 10 s) the windows keep painting; the user's
  // input waits until the exchange is over.
  auto line = std::make_unique<velmark::PosixSerialPort>(data);
  line->SetWaitHook([&desktop] { desktop.PumpPaintEvents(); });
  velmark::Program program(platform, std::move(line), std::move(options));
  // The windows stay until the end is asked for; only then does the event loop stop.
  app.setQuitOnLastWindowClosed(false);
  program.OnEnd = [](int code) { QCoreApplication::exit(code); };
  program.Start();
  return app.exec();
}
