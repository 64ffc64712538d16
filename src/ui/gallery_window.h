#pragma once
// A small settings dialog holding one control of every kind, wired like the program's windows
// are: guarded change handlers, a key-press filter, a modal window, a message box, the file
// dialogs, a timer-driven level meter, a popup menu and a drawn response curve. It shows what
// the binding looks like and gives the scenario runner something real to drive.

#include <filesystem>
#include <functional>

#include "link/serial_port.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark::ui {

class GalleryAbout : public Window {
 public:
  explicit GalleryAbout(Platform& platform);
  Label Label1, Label2, Label4;
  TextBox Text1;  // a note typed while the window is modal
  Button BtnOk;
  Image ImgLogo;

 protected:
  void Form_Load() override;
};

class GalleryWindow : public Window {
 public:
  GalleryWindow(Platform& platform, std::filesystem::path data_folder);

  // Where the Apply button's frame goes (the host records it).
  std::function<void(const velmark::Frame&)> OnSend;

  ControlArray<Image> ImageBtn;  // 0 save, 1 load, 2 lock, 3 about, 4 mute
  Frame FrameChannel, FrameNoise, FrameResponse, FrameMeter;
  ControlArray<Label> Caption;  // the field labels
  TextBox Text1;                // channel name, at most 16 characters
  TextBox GainText;             // gain in dB, Enter applies
  UpDown UpDown1;               // gain steps 0..30 (0 dB .. -30 dB)
  ComboBox Combo1;              // input source
  CheckBox Check1, Check2;
  OptionGroup NoiseGroup;
  ControlArray<OptionButton> Option1;
  Slider Slider1;              // EQ gain 0..60, top = +15 dB
  PictureBox Picture1;         // the response curve
  Label LblEQType;             // filter type chosen from the popup menu
  Menu ShapeEq;                // the popup menu of filter types
  ControlArray<Shape> Shape1;  // meter lamps 0..5
  ProgressBar ProgressBar1;
  ListBox List1;
  Grid Grid1;
  Label LblStatus;
  ControlArray<Button> Command1;  // 0 Apply, 1 Reset
  Timer Timer1;
  GalleryAbout About;

  bool UpdatingControls = false;
  int GainChanges = 0;  // gain changes a person made (the guarded handler counts them)

 protected:
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, UnloadMode mode) override;

 private:
  void Layout();
  void Fill();
  void WireEvents();
  void WireTools();
  void ApplyGainText();
  void ShowGain(int steps);
  void DrawResponse();
  void MeterTick();
  void SaveSettings();
  void LoadSettings();
  void ResetAll();

  std::filesystem::path data_folder_;
  bool locked_ = false;
  bool muted_ = false;
  int meter_step_ = 0;
};

}  // namespace velmark::ui
