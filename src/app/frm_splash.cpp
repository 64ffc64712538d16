#include "app/frm_splash.h"

#include <cmath>

#include "app/program.h"

namespace velmark {
namespace {

int Scaled(int twips, double scale) {
  return static_cast<int>(std::lround(twips / scale));
}

}  // namespace

double ScaleFactorFor(int dpi) {
  return 0.75 / (72.0 / (dpi > 0 ? dpi : 96));
}

frmSplash::frmSplash(Program& program)
    : Window(program.Platform(), "frmSplash"), program_(program) {
  SetCaption("VELMARK");
  LblProduct.SetCaption("VELMARK");
  LblProduct.SetAlignment(ui::Alignment::Center);
  LblProduct.SetFont(28, true);
  LblTitle.SetCaption("Speaker management");
  LblTitle.SetAlignment(ui::Alignment::Center);
  LblTitle.SetFont(12, false);
  Label1.SetCaption("Searching COM: please wait ");
  Register("LblProduct", LblProduct);
  Register("LblTitle", LblTitle);
  Register("Label1", Label1);
  Register("Label2", Label2);
  Register("Timer1", Timer1);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  LayOut(1.0);
}

void frmSplash::LayOut(double scale) {
  const int w = Scaled(kSplashWidth, scale);
  SetClientSize(w, Scaled(kSplashHeight, scale));
  LblProduct.Move(0, Scaled(420, scale), w, Scaled(720, scale));
  LblTitle.Move(0, Scaled(1200, scale), w, Scaled(360, scale));
  Label1.Move(Scaled(240, scale), Scaled(1740, scale), Scaled(4950, scale), Scaled(255, scale));
  Label2.Move(Scaled(240, scale), Scaled(2010, scale), Scaled(4950, scale), Scaled(255, scale));
}

void frmSplash::CheckScreen(const ui::ScreenMetrics& m) {
  const double scale = program_.State().ScaleFactor;
  auto& messages = Services().messages;
  if (scale * 1024 > m.width_px || scale * 768 > m.height_px) {
    messages.Show(kScreenTooSmallText, kScreenTooSmallTitle, ui::MsgIcon::Information,
                  ui::MsgButtons::Ok);
  }
  LayOut(scale);
  ProgramState& st = program_.State();
  st.DecimalIsComma = Services().screen.LocaleText(ui::kLocaleDecimalSeparator) != ".";
  st.DefaultVersion = std::string(kDefaultVersion);
  st.ProgramVersion = std::string(kProgramVersion);
  Label1.SetVisible(false);
  Label2.SetVisible(false);
  // Only a screen short of both sides is below the minimum.
  if (m.width_px < 800 && m.height_px < 600) {
    messages.Show(kMinimumResolutionText, kMinimumResolutionTitle, ui::MsgIcon::None,
                  ui::MsgButtons::Ok);
  }
}

void frmSplash::Form_Load() {
  const ui::ScreenMetrics m = Services().screen.Metrics();
  program_.State().ScaleFactor = ScaleFactorFor(m.dpi);
  CheckScreen(m);
  program_.State().DataFolder = program_.StartFolder().string();
  Timer1.SetInterval(kSplashTimerMs);
  Timer1.SetTimerEnabled(true);
}

void frmSplash::Timer1_Timer() {
  Timer1.SetTimerEnabled(false);
  program_.Main().Show();
  Unload();
}

}  // namespace velmark
