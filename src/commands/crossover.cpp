#include "commands/crossover.h"

#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace velmark {

void SendCrossover(Core& core, int f) {
  const int c = core.Channel();
  if (c < kInputCount || c >= kChannelCount || (f != 0 && f != 1)) return;
  EditControls& w = core.Win();
  const bool comma = core.st.DecimalIsComma;
  ui::TextBox& text = w.TextHpLpF(f);
  const auto typed = ParseNumber(text.Text(), comma);
  if (!typed) return;
  const double freq = std::floor(*typed);
  if (!(freq >= 0 && freq <= 0xFFFF)) return;
  const int type = w.ComboHpLpS(f).ListIndex();
  if (type < 0 || type > 0xFF) return;

  text.SetText(NumberText(freq, comma));
  const int k = XoverIndex(c, f);
  DeviceSettings& rec = core.Rec();
  rec.XoverFreq[k] = freq;
  rec.XoverType[k] = type;

  ParamImage& img = core.Img();
  const int a = XoverAddr[k];
  const auto bytes = SplitAddress(freq);
  img[a] = bytes[2];
  img[a + 1] = bytes[3];
  img[a + 2] = static_cast<std::uint8_t>(type);
  core.Send(CmdCrossover, {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(f), 0, 0, 0,
                           img[a], img[a + 1], img[a + 2]});
}

}  // namespace velmark
