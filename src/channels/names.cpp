#include "channels/names.h"

#include <array>
#include <cstdint>

namespace velmark {
namespace {

// Blanks before and after a name of length 0..6.
struct Padding {
  int front, back;
};
constexpr std::array<Padding, kChannelNameLength + 1> kPadding = {
    {{6, 0}, {3, 2}, {2, 2}, {2, 1}, {1, 1}, {1, 0}, {0, 0}}};

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

void AppendLatin1(std::string& out, unsigned char c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void PadName(Core& core, std::string& name, int channel) {
  if (channel < 0 || channel >= kChannelCount) return;
  if (name.size() > static_cast<std::size_t>(kChannelNameLength)) name.resize(kChannelNameLength);
  const Padding pad = kPadding[name.size()];
  name = std::string(static_cast<std::size_t>(pad.front), ' ') + name +
         std::string(static_cast<std::size_t>(pad.back), ' ');
  ParamImage& img = core.Img();
  for (int k = 0; k < kChannelNameLength; ++k) {
    img[NameAddr[channel] + k] = static_cast<std::uint8_t>(name[static_cast<std::size_t>(k)]);
  }
}

bool ApplyNames(Core& core) {
  auto& names = core.st.ChannelNames[ProgramState::Checked(core.st.CurUnit)];
  for (int c = 0; c < kChannelCount; ++c) PadName(core, names[c], c);

  const ParamImage& img = core.Img();
  for (int c = 0; c < kChannelCount; ++c) {
    const int a = NameAddr[c];
    const bool failed =
        core.Send(CmdChannelName, {static_cast<std::uint8_t>(c), 0, img[a], img[a + 1], img[a + 2],
                                   img[a + 3], img[a + 4], img[a + 5]});
    if (failed) return true;
  }

  EditControls& w = core.Win();
  for (int c = 0; c < kChannelCount; ++c) {
    const std::string caption = NameCaption(names[c]);
    w.LblNameTab(c).SetCaption(caption);
    w.LblWinDly(c).SetCaption(caption);
    w.Label300(c).SetCaption(caption);
    w.FrameGain(c).SetCaption(caption);
    w.LabelRoutIn(c).SetCaption(caption);
    if (!IsInputChannel(c)) w.LabelRoutFin(c - kInputCount).SetCaption(caption);
  }
  return false;
}

std::string NameCaption(std::string_view name) {
  std::string out;
  for (char c : TrimBlanks(name)) AppendLatin1(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace velmark
