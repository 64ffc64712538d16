#pragma once
// The splash window: measures the screen, warns when the edit window will not fit, reads the
// user's decimal separator and after two seconds hands over to the main window.

#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

inline constexpr const char* kLineBreak = "\n";
inline constexpr const char* kScreenTooSmallText =
    "The size of the edit window exceed the size of the monitor\n"
    "please try to set the monitor resolution to 96dpi (small icon)";
inline constexpr const char* kScreenTooSmallTitle = "VELMARK";
inline constexpr const char* kMinimumResolutionText = "Minimum display resolution is 800x600";
inline constexpr const char* kMinimumResolutionTitle = "Warning";
inline constexpr int kSplashTimerMs = 2000;
inline constexpr int kSplashWidth = 5430;  // twips at 96 dpi
inline constexpr int kSplashHeight = 2325;

// Display scale for a screen of `dpi` horizontal pixels per inch: 0.75 / (72 / dpi), i.e.
// dpi / 96. A screen that reports no dpi counts as 96.
double ScaleFactorFor(int dpi);

class frmSplash : public ui::Window {
 public:
  explicit frmSplash(Program& program);

  ui::Label LblProduct;  // "VELMARK"
  ui::Label LblTitle;    // "Speaker management"
  ui::Label Label1;      // "Searching COM: please wait ", hidden at load
  ui::Label Label2;      // hidden at load
  ui::Timer Timer1;

 protected:
  void Form_Load() override;

 private:
  void CheckScreen(const ui::ScreenMetrics& m);
  void LayOut(double scale);
  void Timer1_Timer();

  Program& program_;
};

}  // namespace velmark
