#include "app/frm_version.h"

#include "app/program.h"
#include "ui/pictures.h"

namespace velmark {

FrmVersion::FrmVersion(Program& program)
    : Window(program.Platform(), "FrmVersion"), program_(program) {
  SetCaption("About");
  SetClientSize(4080, 2175);
  Label4.SetCaption("VELMARK");
  Label4.SetFont(18, true);
  Label4.SetAlignment(ui::Alignment::Center);
  Label4.Move(120, 120, 3840, 495);
  Label1.SetCaption("Software Version:");
  Label1.Move(240, 780, 1800, 255);
  Label2.Move(2160, 780, 1680, 255);
  Label5.SetCaption("Firmware Version:");
  Label5.Move(240, 1095, 1800, 255);
  Label3.Move(2160, 1095, 1680, 255);
  ImgBtn1.SetPicture(ui::pictures::kButton);
  ImgBtn1.Move(1440, 1560, 1215, 375);
  LblBtn1.SetCaption("OK");
  LblBtn1.SetAlignment(ui::Alignment::Center);
  LblBtn1.Move(1440, 1620, 1215, 255);
  Register("Label4", Label4);
  Register("Label1", Label1);
  Register("Label2", Label2);
  Register("Label5", Label5);
  Register("Label3", Label3);
  Register("ImgBtn1", ImgBtn1);
  Register("LblBtn1", LblBtn1);
  ImgBtn1.OnClick = [this] { Unload(); };
  LblBtn1.OnClick = [this] { Unload(); };
}

void FrmVersion::Form_Load() {
  const ProgramState& st = program_.State();
  Label2.SetCaption(st.ProgramVersion);
  Label3.SetCaption(st.FirmwareVersion[st.CurUnit]);
}

}  // namespace velmark
