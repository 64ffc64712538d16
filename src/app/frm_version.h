#pragma once
// The version window: this program's version and the firmware version of the current unit.

#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

class FrmVersion : public ui::Window {
 public:
  explicit FrmVersion(Program& program);

  ui::Label Label1;  // "Software Version:"
  ui::Label Label2;  // ProgramVersion
  ui::Label Label5;  // "Firmware Version:"
  ui::Label Label3;  // FirmwareVersion of CurUnit
  ui::Label Label4;  // "VELMARK"
  ui::Image ImgBtn1;
  ui::Label LblBtn1;  // "OK", drawn on ImgBtn1

 protected:
  void Form_Load() override;

 private:
  Program& program_;
};

}  // namespace velmark
