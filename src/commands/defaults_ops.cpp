#include "commands/defaults_ops.h"

#include "commands/decode_image.h"
#include "model/defaults.h"

namespace velmark {

namespace {
constexpr double kEmptyProgramSlot = 255.0;
}  // namespace

bool SetDefault(Core& core) {
  const ui::MsgAnswer answer = core.ui.messages.Show(kSetDefaultQuestion, kSetDefaultTitle,
                                                     ui::MsgIcon::None, ui::MsgButtons::YesNo);
  if (answer != ui::MsgAnswer::Yes) return false;
  if (core.Send(CmdSetDefault, FrameData{})) return false;
  CopyDefaultImage(core.Img());
  core.st.SendSuppressed = true;
  DecodeImage(core);
  core.st.SendSuppressed = false;
  return true;
}

void LoadFactoryPreset(ProgramState& st, int unit) {
  const int u = ProgramState::Checked(unit);
  ParamImage& img = st.DeviceImages[u];
  CopyDefaultImage(img);
  img[InputSourceAddr(0)] = 0;
  img[InputSourceAddr(1)] = 0;
  img[kDelayUnitAddr] = 1;

  DeviceSettings& rec = st.DeviceRecords[u];
  rec.InputSourceAB = 0;
  rec.InputSourceCD = 0;
  rec.DelayUnit = 1;
  rec.PasswordOn = 0;
  rec.LockOn = 0;
  rec.PasswordCode = FactoryPasswordCodes;
  rec.ProgramSlot.fill(kEmptyProgramSlot);
  rec.ProgramName.fill(std::string(kEmptyProgramNameText));
  rec.CurrentProgramName = kFactoryPresetName;
}

}  // namespace velmark
