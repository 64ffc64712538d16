#include "commands/routing.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "commands/level_delay.h"
#include "model/number_text.h"

namespace velmark {
namespace {

template <typename T>
using Member = ui::ControlArray<T> EditControls::*;

// What differs between the two matrices.
struct RoutingMatrix {
  Member<ui::CheckBox> check;
  Member<ui::UpDown> level;
  Member<ui::TextBox> text;
  std::array<Member<ui::Shape>, 2> lines;  // the cell's diagram lines; unused entries null
  const std::array<int, 4>* row_addr;
  const std::array<int, 16>* level_addr;
  std::uint8_t command;
};

constexpr RoutingMatrix kInputRouting = {&EditControls::CheckSRout,
                                         &EditControls::UpDownSRout,
                                         &EditControls::TextSRout,
                                         {&EditControls::LineOut1, &EditControls::LineDly},
                                         &InRouteAddr,
                                         &InRouteLevelAddr,
                                         CmdInputRouting};

constexpr RoutingMatrix kOutputRouting = {&EditControls::CheckFRout,
                                          &EditControls::UpDownFRout,
                                          &EditControls::TextFRout,
                                          {&EditControls::LineFOut, nullptr},
                                          &OutRouteAddr,
                                          &OutRouteLevelAddr,
                                          CmdOutputRouting};

constexpr int kCells = 16, kColumns = 4;

void SendRouting(Core& core, const RoutingMatrix& m, int p) {
  if (p < 0 || p >= kCells) return;
  const int row = p / kColumns, column = p % kColumns;
  EditControls& w = core.Win();
  auto& checks = w.*m.check;
  const int level = std::clamp((w.*m.level)(p).Value(), 0, 0xFF);

  (w.*m.text)(p).SetText(NumberText(level - kRouteLevelMax, core.st.DecimalIsComma));

  ParamImage& img = core.Img();
  std::uint8_t mask = 0;
  for (int i = 0; i < kColumns; ++i) {
    if (checks(kColumns * row + i).Value() != 0) mask = static_cast<std::uint8_t>(mask | (1 << i));
  }
  const int row_addr = (*m.row_addr)[row];
  img[row_addr] = mask;
  img[(*m.level_addr)[p]] = static_cast<std::uint8_t>(level);

  const bool on = checks(p).Value() != 0;
  (w.*m.text)(p).SetEnabled(on);
  (w.*m.level)(p).SetEnabled(on);
  for (const auto& line : m.lines) {
    if (line) (w.*line)(p).SetVisible(on);
  }

  const int first_level = (*m.level_addr)[kColumns * row];
  core.Send(m.command, {static_cast<std::uint8_t>(row + kInputCount),
                        static_cast<std::uint8_t>(column), 0xFF, img[row_addr], img[first_level],
                        img[first_level + 1], img[first_level + 2], img[first_level + 3]});
}

constexpr int kSourcesPerPair = 3, kNoiseTypesPerPair = 2;

}  // namespace

void SendInRouting(Core& core, int p) {
  SendRouting(core, kInputRouting, p);
}

void SendOutRouting(Core& core, int p) {
  SendRouting(core, kOutputRouting, p);
}

void SendInputSource(Core& core, int o) {
  if (o < 0 || o >= 2 * kSourcesPerPair) return;
  const int pair = o / kSourcesPerPair, source = o % kSourcesPerPair;
  EditControls& w = core.Win();
  for (int i = 0; i < kSourcesPerPair; ++i) {
    w.Option2(kSourcesPerPair * pair + i).SetForeColor(kLightGrey);
  }
  w.Option2(o).SetForeColor(kOrange);

  ParamImage& img = core.Img();
  const int addr = InputSourceAddr(pair);
  img[addr] = static_cast<std::uint8_t>(source);
  DeviceSettings& rec = core.Rec();
  (pair == 0 ? rec.InputSourceAB : rec.InputSourceCD) = img[addr];
  core.Send(CmdInputSource, {static_cast<std::uint8_t>(pair), 0, 0, 0, 0, 0, 0, img[addr]});
}

void SendNoiseGen(Core& core, int pair) {
  if (pair != 0 && pair != 1) return;
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  const int white = kNoiseTypesPerPair * pair, pink = white + 1;
  const bool is_white = w.OptionNoiseLev(white).Value();
  rec.NoiseType[pair] = is_white ? 0 : 1;
  w.OptionNoiseLev(is_white ? pink : white).SetForeColor(kLightGrey);
  w.OptionNoiseLev(is_white ? white : pink).SetForeColor(kOrange);

  const int v = std::clamp(w.SliderNoiseLev(pair).Value(), 0, kNoiseLevelMax);
  rec.NoiseLevel[pair] = static_cast<std::int16_t>(kNoiseLevelMax - v);
  w.TextNoiseLev(pair).SetText(NumberText(-v, core.st.DecimalIsComma));

  ParamImage& img = core.Img();
  img[NoiseTypeAddr(pair)] = static_cast<std::uint8_t>(rec.NoiseType[pair]);
  img[NoiseLevelAddr(pair)] = static_cast<std::uint8_t>(rec.NoiseLevel[pair]);
  w.SlNoiseLev(pair).SetTop(KnobTop(v, kNoiseLevelMax));
  core.Send(CmdNoiseGenerator, {static_cast<std::uint8_t>(pair), 0, 0, 0, 0, 0,
                                img[NoiseTypeAddr(pair)], img[NoiseLevelAddr(pair)]});
}

}  // namespace velmark
