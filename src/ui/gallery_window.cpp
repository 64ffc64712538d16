#include "ui/gallery_window.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "link/frames.h"
#include "ui/pictures.h"

namespace velmark::ui {

namespace {

// The layout is drawn up in pixels at 96 dpi; controls take twips.
constexpr int P(int px) {
  return px * 15;
}
void Place(Control& c, int x, int y, int w, int h) {
  c.Move(P(x), P(y), P(w), P(h));
}

constexpr Colour kSilver = 12632256;
constexpr Colour kGreen = 65280;
constexpr Colour kOrange = 33023;
constexpr Colour kRed = 255;
constexpr Colour kGridGrey = MakeColour(80, 80, 80);

constexpr const char* kInputs[] = {"Analog Input", "Digital SP/DIF", "Noise Generator"};
constexpr const char* kPrograms[] = {"01: Default", "02: Live stage", "03: Studio", "04: Speech"};
constexpr const char* kUnits[] = {"ID:01  VELMARK  - On-line", "ID:02  VELMARK  - On-line",
                                  "ID:03  VELMARK  - Off-line"};
constexpr const char* kTypes[] = {"Bell", "Low Shelf", "High Shelf"};
constexpr int kNameLength = 16;
constexpr int kPresetSize = kNameLength + 2;

std::string GainTextOf(int steps) {
  return steps == 0 ? "0" : "-" + std::to_string(steps);
}

}  // namespace

GalleryAbout::GalleryAbout(Platform& platform) : Window(platform, "GalleryAbout") {
  SetCaption("About");
  SetClientSize(P(330), P(170));
  Register("ImgLogo", ImgLogo);
  Register("Label4", Label4);
  Register("Label1", Label1);
  Register("Label2", Label2);
  Register("Text1", Text1);
  Register("BtnOk", BtnOk);
  Place(ImgLogo, 16, 16, 64, 64);
  ImgLogo.SetPicture(pictures::kLogo);
  Place(Label4, 96, 16, 220, 30);
  Label4.SetFont(14, true);
  Label4.SetCaption("VELMARK");
  Place(Label1, 96, 54, 120, 20);
  Label1.SetCaption("Software Version:");
  Place(Label2, 220, 54, 96, 20);
  Place(Text1, 96, 84, 218, 24);
  Text1.SetToolTip("A note");
  Place(BtnOk, 230, 130, 84, 28);
  BtnOk.SetCaption("OK");
  BtnOk.OnClick = [this] { Unload(); };
}

void GalleryAbout::Form_Load() {
  Label2.SetCaption("3.1.2");
  Text1.SetText("");
}

GalleryWindow::GalleryWindow(Platform& platform, std::filesystem::path data_folder)
    : Window(platform, "Gallery"), About(platform), data_folder_(std::move(data_folder)) {
  SetCaption("VELMARK - Control gallery");
  SetClientSize(P(640), P(484));
  for (int i = 0; i < 5; ++i) ImageBtn.Add(i);
  for (int i = 0; i < 3; ++i) Caption.Add(i);
  for (int i = 0; i < 2; ++i) Option1.Add(i).SetGroup(NoiseGroup);
  for (int i = 0; i < 2; ++i) Command1.Add(i);
  for (int k = 0; k < 6; ++k) Shape1.Add(k);
  Register("ImageBtn", ImageBtn);
  Register("FrameChannel", FrameChannel);
  Register("FrameNoise", FrameNoise);
  Register("FrameResponse", FrameResponse);
  Register("FrameMeter", FrameMeter);
  Register("Caption", Caption);
  Register("Text1", Text1);
  Register("GainText", GainText);
  Register("UpDown1", UpDown1);
  Register("Combo1", Combo1);
  Register("Check1", Check1);
  Register("Check2", Check2);
  Register("Option1", Option1);
  Register("Slider1", Slider1);
  Register("Picture1", Picture1);
  Register("LblEQType", LblEQType);
  Register("ShapeEq", ShapeEq);
  Register("Shape1", Shape1);
  Register("ProgressBar1", ProgressBar1);
  Register("List1", List1);
  Register("Grid1", Grid1);
  Register("LblStatus", LblStatus);
  Register("Command1", Command1);
  Register("Timer1", Timer1);
  Layout();
  WireEvents();
  WireTools();
}

void GalleryWindow::Layout() {
  static constexpr const char* kTips[] = {"Save preset", "Load preset", "Lock", "About", "Mute"};
  static constexpr const char* kPictures[] = {pictures::kToolSave, pictures::kToolLoad,
                                              pictures::kToolUnlock, pictures::kToolAbout,
                                              pictures::kMuteOff};
  for (int i = 0; i < 5; ++i) {
    Place(ImageBtn(i), i < 4 ? 8 + 44 * i : 592, 6, 40, 40);
    ImageBtn(i).SetToolTip(kTips[i]);
    ImageBtn(i).SetPicture(kPictures[i]);
  }
  Place(FrameChannel, 8, 54, 300, 176);
  FrameChannel.SetCaption("Channel");
  static constexpr const char* kFields[] = {"Name", "Gain [dB]", "Input"};
  for (int i = 0; i < 3; ++i) {
    Caption(i).SetContainer(&FrameChannel);
    Place(Caption(i), 12, 28 + 32 * i, 80, 18);
    Caption(i).SetCaption(kFields[i]);
  }
  for (Control* c :
       std::initializer_list<Control*>{&Text1, &GainText, &UpDown1, &Combo1, &Check1, &Check2}) {
    c->SetContainer(&FrameChannel);
  }
  Place(Text1, 96, 24, 192, 24);
  Text1.SetMaxLength(kNameLength);
  Place(GainText, 96, 56, 64, 24);
  Place(UpDown1, 161, 56, 18, 24);
  UpDown1.SetRange(0, 30);
  Place(Combo1, 96, 88, 192, 24);
  Place(Check1, 96, 120, 190, 20);
  Check1.SetCaption("Invert polarity");
  Place(Check2, 96, 144, 190, 20);
  Check2.SetCaption("Link with output 2");

  Place(FrameNoise, 8, 238, 300, 60);
  FrameNoise.SetCaption("Noise Generator");
  Option1(0).SetCaption("White Noise");
  Option1(1).SetCaption("Pink Noise");
  for (int i = 0; i < 2; ++i) {
    Option1(i).SetContainer(&FrameNoise);
    Place(Option1(i), 12 + 140 * i, 26, 130, 22);
  }

  Place(FrameResponse, 318, 54, 314, 244);
  FrameResponse.SetCaption("Response");
  Picture1.SetContainer(&FrameResponse);
  Place(Picture1, 12, 24, 250, 180);
  Picture1.SetScale(1000, 600);
  Picture1.SetToolTip("Right click to choose the filter type");
  Slider1.SetContainer(&FrameResponse);
  Place(Slider1, 272, 20, 30, 188);
  Slider1.SetRange(0, 60);
  LblEQType.SetContainer(&FrameResponse);
  Place(LblEQType, 12, 214, 250, 18);
  ShapeEq.SetVisible(false);
  ShapeEq.SetCaption("Filter type");
  ShapeEq.SetItems({kTypes[0], kTypes[1], kTypes[2]});

  Place(FrameMeter, 8, 306, 300, 52);
  FrameMeter.SetCaption("Level");
  for (int k = 0; k < 6; ++k) {
    Shape1(k).SetContainer(&FrameMeter);
    Place(Shape1(k), 12 + 26 * k, 26, 20, 14);
    Shape1(k).SetFillColor(kSilver);
  }
  ProgressBar1.SetContainer(&FrameMeter);
  Place(ProgressBar1, 180, 24, 108, 18);
  ProgressBar1.SetMax(6);

  Place(List1, 8, 366, 300, 76);
  List1.SetToolTip("Double click to copy name");
  Place(Grid1, 318, 306, 314, 136);
  Grid1.SetToolTip("Double Click to edit parameters");
  Place(LblStatus, 8, 456, 430, 18);
  Place(Command1(0), 456, 450, 84, 28);
  Command1(0).SetCaption("Apply");
  Place(Command1(1), 548, 450, 84, 28);
  Command1(1).SetCaption("Reset");
}

void GalleryWindow::Fill() {
  UpdatingControls = true;
  Combo1.Clear();
  for (const char* t : kInputs) Combo1.AddItem(t);
  Combo1.SetListIndex(0);
  List1.Clear();
  for (const char* t : kPrograms) List1.AddItem(t);
  Grid1.SetRows(3);
  Grid1.SetColWidth(0, P(290));
  for (int r = 0; r < 3; ++r) Grid1.SetTextMatrix(r, 0, kUnits[r]);
  Option1(0).SetValue(true);
  Text1.SetText("Main left");
  ShowGain(6);
  Slider1.SetValue(24);
  ShapeEq.SetChecked(0, true);
  LblEQType.SetCaption("Type: Bell");
  UpdatingControls = false;
}

void GalleryWindow::Form_Load() {
  Fill();
  DrawResponse();
  LblStatus.SetCaption("Ready");
  // The meter starts after two seconds and then runs every 80 ms.
  Timer1.SetInterval(2000);
  Timer1.SetTimerEnabled(true);
}

void GalleryWindow::Form_QueryUnload(bool& cancel, UnloadMode mode) {
  if (mode != UnloadMode::User) return;
  auto answer = Services().messages.Show("               Are you sure ? ", "Exit", MsgIcon::None,
                                         MsgButtons::YesNo);
  cancel = answer != MsgAnswer::Yes;
  if (!cancel) Timer1.SetTimerEnabled(false);
}

void GalleryWindow::ShowGain(int steps) {
  const bool was = UpdatingControls;
  UpdatingControls = true;
  UpDown1.SetValue(steps);
  GainText.SetText(GainTextOf(UpDown1.Value()));
  UpdatingControls = was;
}

void GalleryWindow::ApplyGainText() {
  double x = 0;
  try {
    x = std::stod(GainText.Text());
  } catch (const std::exception&) {
    Services().messages.Show("  Incorrect value", "Warning", MsgIcon::None, MsgButtons::Ok);
    return;
  }
  x = std::clamp(x, -30.0, 0.0);
  ShowGain(static_cast<int>(std::lround(-x)));
  ++GainChanges;
}

void GalleryWindow::WireEvents() {
  GainText.OnKeyPress = [this](int& key) {
    if (UpdatingControls) return;
    if (key == kKeyEnter) return ApplyGainText();
    if (key == ',') key = '.';
    const bool accepted =
        (key >= '0' && key <= '9') || key == '-' || key == '.' || key == kKeyBackspace;
    if (!accepted) {
      Services().messages.Show("  Incorrect value", "Warning", MsgIcon::None, MsgButtons::Ok);
      key = '?';
    }
  };
  UpDown1.OnChange = [this] {
    if (UpdatingControls) return;
    ++GainChanges;
    ShowGain(UpDown1.Value());
  };
  Text1.OnKeyPress = [](int& key) {
    if (key < 0) key = 0;  // only the single-byte set goes into a unit's name
  };
  Combo1.OnClick = [this] {
    if (!UpdatingControls) LblStatus.SetCaption("Input: " + Combo1.Text());
  };
  Check1.OnClick = [this] {
    LblStatus.SetCaption(Check1.Value() ? "Polarity inverted" : "Polarity normal");
  };
  Check2.OnClick = [this] {
    LblStatus.SetCaption(Check2.Value() ? "Linked with output 2" : "Not linked");
  };
  for (auto& [i, option] : Option1) {
    option.OnClick = [this, i = i] {
      if (!UpdatingControls) LblStatus.SetCaption("Noise: " + Option1(i).Caption());
    };
  }
  Slider1.OnChange = [this] {
    if (!UpdatingControls) DrawResponse();
  };
  Picture1.OnMouseDown = [this](int button, int, double x, double y) {
    if (button == kRightButton) {
      Services().desktop.PopupMenu(*this, ShapeEq, Picture1.Left() + static_cast<int>(x),
                                   Picture1.Top() + static_cast<int>(y));
    }
  };
  ShapeEq.OnClick = [this](int i) {
    for (int k = 0; k < ShapeEq.ItemCount(); ++k) ShapeEq.SetChecked(k, k == i);
    LblEQType.SetCaption(std::string("Type: ") + kTypes[i]);
    DrawResponse();
  };
  List1.OnDblClick = [this] {
    if (List1.ListIndex() >= 0) Text1.SetText(List1.Text().substr(4));
  };
  Grid1.OnDblClick = [this] {
    LblStatus.SetCaption("Unit " + std::to_string(Grid1.Row() + 1) + " selected");
  };
  Timer1.OnTimer = [this] {
    Timer1.SetInterval(80);
    MeterTick();
  };
}

void GalleryWindow::WireTools() {
  ImageBtn(0).OnClick = [this] { SaveSettings(); };
  ImageBtn(1).OnClick = [this] { LoadSettings(); };
  ImageBtn(2).OnClick = [this] {
    locked_ = !locked_;
    FrameChannel.SetEnabled(!locked_);
    ImageBtn(2).SetPicture(locked_ ? pictures::kToolLock : pictures::kToolUnlock);
    ImageBtn(2).SetToolTip(locked_ ? "Unlock" : "Lock");
  };
  ImageBtn(3).OnClick = [this] {
    About.ShowModal();
    LblStatus.SetCaption("Note: " + About.Text1.Text());
  };
  ImageBtn(4).OnClick = [this] {
    muted_ = !muted_;
    ImageBtn(4).SetPicture(muted_ ? pictures::kMuteOn : pictures::kMuteOff);
    MeterTick();
  };
  Command1(0).OnClick = [this] {
    if (Text1.Text().empty()) {
      Services().messages.Show("Please input the Name !", "Edit Names", MsgIcon::Information,
                               MsgButtons::Ok);
      return;
    }
    const auto steps = static_cast<std::uint8_t>(UpDown1.Value());
    if (OnSend) OnSend(BuildFrame(0, CmdGain, FrameData{0, steps, 0, 0, 0, 0, 0, 0}));
    LblStatus.SetCaption("Sent gain " + GainText.Text() + " dB");
  };
  Command1(1).OnClick = [this] {
    if (Services().messages.Show("Reset all values?", "Reset", MsgIcon::Exclamation,
                                 MsgButtons::YesNo) == MsgAnswer::Yes) {
      ResetAll();
    }
  };
}

void GalleryWindow::ResetAll() {
  Fill();
  Check1.SetValue(0);
  Check2.SetValue(0);
  DrawResponse();
  LblStatus.SetCaption("Values reset");
}

// Bell, low shelf or high shelf at 1 kHz over 20 Hz .. 20 kHz, +-15 dB over the height.
void GalleryWindow::DrawResponse() {
  Picture1.Cls();
  Picture1.SetDrawWidth(1);
  for (int d = 1; d < 3; ++d) Picture1.Line(d * 1000.0 / 3, 0, d * 1000.0 / 3, 600, kGridGrey);
  for (int db = -10; db <= 10; db += 5) {
    Picture1.Line(0, 300 - db * 20, 1000, 300 - db * 20, kGridGrey);
  }
  const double gain = (30 - Slider1.Value()) / 2.0;
  int type = 0;
  for (int k = 0; k < ShapeEq.ItemCount(); ++k) {
    if (ShapeEq.ItemAt(k).checked) type = k;
  }
  auto response = [&](double x) {
    const double octaves = (x - 2000.0 / 3) / (1000.0 / 3) * std::log2(10.0);
    if (type == 0) return gain * std::exp(-octaves * octaves);
    const double step = 1 / (1 + std::exp(-2 * octaves));
    return gain * (type == 1 ? 1 - step : step);
  };
  Picture1.SetDrawWidth(2);
  Picture1.SetPenColour(kOrange);
  double px = 0, py = 300 - response(0) * 20;
  for (int i = 1; i <= 100; ++i) {
    double x = i * 10.0, y = 300 - response(x) * 20;
    Picture1.Line(px, py, x, y);
    px = x;
    py = y;
  }
  Picture1.Flush();
}

void GalleryWindow::MeterTick() {
  static constexpr int kPattern[] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2};
  const int level = muted_ ? 0 : kPattern[meter_step_++ % std::size(kPattern)];
  for (int k = 0; k < 4; ++k) Shape1(k).SetFillColor(level > k ? kGreen : kSilver);
  Shape1(4).SetFillColor(level >= 5 ? kOrange : kSilver);
  Shape1(5).SetFillColor(level == 6 ? kRed : kSilver);
  ProgressBar1.SetValue(level);
}

void GalleryWindow::SaveSettings() {
  FileRequest request{"file preset (*.C44)|*.C44", (data_folder_ / "preset").string(), true};
  auto path = Services().files.SaveFile(request);
  if (!path) return;
  std::string name = Text1.Text();
  name.resize(kNameLength, ' ');
  std::ofstream out(*path, std::ios::binary | std::ios::trunc);
  out << name << static_cast<char>(UpDown1.Value()) << static_cast<char>(Slider1.Value());
  if (!out) {
    Services().messages.Show("Cannot write the file", "Save", MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  LblStatus.SetCaption("Saved " + std::filesystem::path(*path).filename().string());
}

void GalleryWindow::LoadSettings() {
  FileRequest request{"file preset (*.C44)|*.C44", (data_folder_ / "preset").string(), false};
  auto path = Services().files.OpenFile(request);
  if (!path) return;
  std::ifstream in(*path, std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() != kPresetSize) {
    Services().messages.Show("Not a preset file", "Load", MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  std::string name = data.substr(0, kNameLength);
  name.erase(name.find_last_not_of(' ') + 1);
  UpdatingControls = true;
  Text1.SetText(name);
  ShowGain(static_cast<unsigned char>(data[kNameLength]));
  Slider1.SetValue(static_cast<unsigned char>(data[kNameLength + 1]));
  UpdatingControls = false;
  DrawResponse();
  LblStatus.SetCaption("Loaded " + name);
}

}  // namespace velmark::ui
