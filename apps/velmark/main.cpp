// VELMARK Control: the multiple-document main window on the Qt binding. The program ends when
// the main window has been closed.

#include <QApplication>

#include "ui/qt/qt_desktop.h"
#include "ui/qt/qt_services.h"
#include "ui/window.h"

namespace {

// The main frame until the program's own main window takes its place.
class MainFrame : public velmark::ui::Window {
 public:
  explicit MainFrame(velmark::ui::Platform& platform) : Window(platform, "MDIFrmMain") {
    SetMdiFrame(true);
    SetCaption("VELMARK - Speaker management");
    SetClientSize(1024 * 15, 720 * 15);  // twips
  }
};

}  // namespace

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
  MainFrame frame(platform);
  frame.Show();
  return app.exec();
}
