// VELMARK Control on the Qt binding: the splash, then the multiple-document main window. The
// data folder (init.cfg, presets, Eeprom.txt, COM<n> links) is the current directory; with
// --data-home, as the desktop entry starts it, the program first moves into the user's own data
// folder. The program ends when its exit is confirmed or its serial port cannot be set up.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "app/data_home.h"
#include "app/machine_ports.h"
#include "app/program.h"
#include "link/posix_serial_port.h"
#include "ui/qt/export/sheet_export.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmark [--data-home]\n"
    "  --data-home  work in $XDG_DATA_HOME/velmark (default ~/.local/share/velmark), made on\n"
    "               first start; without it the data folder is the current directory\n";

// Makes the user's data folder the current directory; the error text when it cannot.
std::string EnterDataHome() {
  const velmark::DataHome home = velmark::PrepareDataHome();
  if (!home.error.empty()) return home.error;
  std::error_code ec;
  std::filesystem::current_path(home.folder, ec);
  if (ec) return "the data folder " + home.folder.string() + " cannot be entered: " + ec.message();
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--help") {  // needs no display
    std::cout << kUsage;
    return 0;
  }
  QApplication app(argc, argv);  // takes the toolkit's own options out of the arguments
  const QStringList args = app.arguments().mid(1);
  if (!args.isEmpty() && args != QStringList{"--data-home"}) {
    std::cerr << "velmark: unknown arguments: " << args.join(' ').toStdString() << "\n" << kUsage;
    return 2;
  }
  velmark::ui::qt::ApplyDefaultLook(app);
  // The services go before the windows that use them, and are gone after them.
  velmark::ui::qt::QtDesktop desktop;
  velmark::ui::qt::QtMessageBox messages;
  velmark::ui::qt::QtFileDialog files;
  velmark::ui::qt::QtClock clock;
  velmark::ui::qt::QtScreen screen;
  velmark::ui::qt::QtPictures pictures;
  velmark::ui::Platform platform{desktop, messages, files, clock, clock, screen, &pictures};
  if (!args.isEmpty()) {
    if (const std::string error = EnterDataHome(); !error.empty()) {
      std::cerr << "velmark: " << error << "\n";
      messages.Show("The program cannot start: " + error + ".", "VELMARK",
                    velmark::ui::MsgIcon::Critical, velmark::ui::MsgButtons::Ok);
      return 1;
    }
  }

  const std::filesystem::path data = std::filesystem::current_path();
  velmark::ProgramOptions options = velmark::MachinePortOptions(data);
  options.record_frames = false;  // nobody reads them here; a long session would only grow
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
