// A long seeded run of what a person does in the edit window — typing values with Enter,
// moving sliders and up-downs, dragging knobs and band markers, clicking switches, changing
// pages — against the in-process simulated unit. Afterwards the unit's memory holds exactly the
// program's image: every change reached the unit, and nothing else did. The link boxes stay
// off: a unit repeats a linked change on its own, which the simulated unit does not do.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>

#include "commands/builder_fixture.h"
#include "commands/core.h"
#include "commands/decode_image.h"
#include "editor/edit_window_table.h"
#include "editor/frm_kvr.h"
#include "editor/refresh_channel_page.h"
#include "model/image.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

namespace velmark {
namespace {

// System page bytes that the window's switches write, by unit system index.
constexpr int kSystemBytes[] = {16, 17, 18, 33, 34, 35, 36};

using Windows = EditWindowTable;

class Person {
 public:
  explicit Person(std::uint64_t seed) : line_(SimBus::Usb(seed)), gen_(seed) {
    windows_.core = &core_;
    st_.LinkStarted = true;
    st_.ComPort = 1;
    st_.DeviceTable[0] = {true, false, 0, true};
    st_.DeviceName[0] = " VELMARK ";
    line_.Open("COM1", 9600);
    // The program's image starts as what the unit holds, as after a complete read.
    const UnitMemory& memory = line_.Unit(0)->Memory();
    const ParamBytes params = memory.Params();
    std::copy(params.begin(), params.end(), st_.DeviceImages[0].begin());
    for (int i : kSystemBytes) st_.DeviceImages[0][SystemAddr(i)] = memory.System(i);
    hp_.messages.OnUnexpected = [](const ui::ShownMessage& m) {
      ADD_FAILURE() << "unexpected message box: \"" << m.text << "\"";
    };
    Window().Show();
    Window().LblShowCursor.UserClick();  // the band markers on the graph
  }

  FrmKVRxxxA& Window() { return windows_.Window(0); }
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }

  void Step() {
    FrmKVRxxxA& w = Window();
    if (Pick(0, 7) == 0) return w.ImgNameTab(Pick(0, 9)).UserClick();
    const int page = st_.CurPage[0];
    if (page < kInputCount) return OnInputPage();
    if (page < kChannelCount) return OnOutputPage();
    if (page == 8) return OnGainsPage();
    OnRoutingPage();
  }

  void ExpectUnitEqualsImage() {
    const UnitMemory& memory = line_.Unit(0)->Memory();
    const ParamBytes params = memory.Params();
    const ParamImage& img = st_.DeviceImages[0];
    for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(params[a], img[a]) << "address " << a;
    for (int i : kSystemBytes) ASSERT_EQ(memory.System(i), img[SystemAddr(i)]) << "system " << i;
  }

  // The image, decoded by a fresh program, gives back what the edits left in the record and in
  // the boxes that show every channel at once. Edits reach values the default image never has
  // (odd gain codes, half-dB steps, fine delays, every filter type), so this is where a decoder
  // that rounds or maps one family wrongly shows.
  void ExpectDecodeGivesBackTheEdits() {
    testing::BuilderFixture fx;
    fx.Img() = st_.DeviceImages[0];
    fx.st.SendSuppressed = true;
    DecodeImage(fx.core);
    const DeviceSettings& edited = st_.DeviceRecords[0];
    const DeviceSettings& decoded = fx.Rec();
    EXPECT_EQ(decoded.EqGain, edited.EqGain);
    EXPECT_EQ(decoded.EqFreq, edited.EqFreq);
    EXPECT_EQ(decoded.EqQ, edited.EqQ);
    EXPECT_EQ(decoded.EqType, edited.EqType);
    EXPECT_EQ(decoded.EqBandBypass, edited.EqBandBypass);
    EXPECT_EQ(decoded.LevelGain, edited.LevelGain);
    EXPECT_EQ(decoded.Mute, edited.Mute);
    EXPECT_EQ(decoded.Polarity, edited.Polarity);
    EXPECT_EQ(decoded.EqBypass, edited.EqBypass);
    EXPECT_EQ(decoded.DelayUnit, edited.DelayUnit);
    EXPECT_EQ(decoded.DelayCoarse, edited.DelayCoarse);
    EXPECT_EQ(decoded.DelayFine, edited.DelayFine);
    EXPECT_EQ(decoded.XoverFreq, edited.XoverFreq);
    EXPECT_EQ(decoded.XoverType, edited.XoverType);
    EXPECT_EQ(decoded.CompBypass, edited.CompBypass);
    EXPECT_EQ(decoded.LimBypass, edited.LimBypass);
    EXPECT_EQ(decoded.InputSourceAB, edited.InputSourceAB);
    EXPECT_EQ(decoded.InputSourceCD, edited.InputSourceCD);
    EXPECT_EQ(decoded.NoiseType, edited.NoiseType);
    EXPECT_EQ(decoded.NoiseLevel, edited.NoiseLevel);
    const EditControls& shown = Window();
    const EditControls& fresh = fx.windows.EditControlsOf(0);
    // A box the page does not use keeps whatever the window last wrote into it, and a fresh
    // window leaves it empty: only boxes the fresh refresh filled are compared.
    int compared = 0;
    const auto same_texts = [&compared](const auto& a, const auto& b, const char* family) {
      for (const auto& [i, box] : b) {
        if (box.Text().empty() || !a.Has(i)) continue;
        ++compared;
        EXPECT_EQ(box.Text(), a(i).Text()) << family << " " << i;
      }
    };
    same_texts(shown.GainText, fresh.GainText, "GainText");
    same_texts(shown.Text2, fresh.Text2, "Text2");
    same_texts(shown.TextSRout, fresh.TextSRout, "TextSRout");
    same_texts(shown.TextFRout, fresh.TextFRout, "TextFRout");
    same_texts(shown.TextNoiseLev, fresh.TextNoiseLev, "TextNoiseLev");
    // The dynamics, crossover and EQ boxes show one channel: compare them page by page.
    for (int page = 0; page < kChannelCount; ++page) {
      SCOPED_TRACE(page);
      Window().ImgNameTab(page).UserClick();
      fx.st.CurPage[0] = page;
      fx.st.CurChannel[0] = page;
      fx.st.SendSuppressed = true;
      RefreshChannelPage(fx.core);
      same_texts(shown.NGText, fresh.NGText, "NGText");
      same_texts(shown.CmpText, fresh.CmpText, "CmpText");
      same_texts(shown.LimText, fresh.LimText, "LimText");
      same_texts(shown.TxtEqGain, fresh.TxtEqGain, "TxtEqGain");
      same_texts(shown.TxtEqFreq, fresh.TxtEqFreq, "TxtEqFreq");
      same_texts(shown.TxtEqQ, fresh.TxtEqQ, "TxtEqQ");
      if (page >= kInputCount) same_texts(shown.TextHpLpF, fresh.TextHpLpF, "TextHpLpF");
    }
    EXPECT_GT(compared, 400);
  }

  std::size_t FramesSent() const { return line_.Sent().size(); }

 private:
  // Selects the whole text and types the new one, then Enter: the key filter sees every key.
  void Type(ui::TextBox& box, const std::string& text) {
    box.SetSelection(0, static_cast<int>(box.Text().size()));
    box.UserType(text);
    box.UserKey(ui::kKeyEnter);
  }
  std::string Number(int lo, int hi, bool decimals) {
    std::string text = std::to_string(Pick(lo, hi));
    if (decimals && Pick(0, 1) == 0) text += "." + std::to_string(Pick(0, 99));
    return text;
  }
  void Drag(ui::Control& c, double dx, double dy) {
    auto& mouse = dynamic_cast<ui::MouseEvents&>(c);
    if (mouse.OnMouseDown) mouse.OnMouseDown(1, 0, 60, 60);
    if (mouse.OnMouseMove) mouse.OnMouseMove(1, 0, 60 + dx, 60 + dy);
    if (mouse.OnMouseUp) mouse.OnMouseUp(1, 0, 60 + dx, 60 + dy);
  }

  // The equaliser of a channel page: elements 0..12 on an input, 13..23 on an output.
  void OnEqualiser(int first, int last) {
    FrmKVRxxxA& w = Window();
    const int e = Pick(first, last);
    switch (Pick(0, 7)) {
      case 0:
        return Type(w.TxtEqGain(e), Number(-20, 20, true));
      case 1:
        return Type(w.TxtEqFreq(e), Number(10, 22000, false));
      case 2:
        return w.Slider2(e).UserSetValue(Pick(0, 60));
      case 3:
        return w.UDEqQ(e).UserSetValue(Pick(0, 100));
      case 4:
        return Drag(w.ImgEQGain(e), 0, Pick(-900, 900));
      case 5:
        if (w.Label5(e).Visible()) Drag(w.Label5(e), Pick(-2000, 2000), Pick(-600, 600));
        return;
      case 6:
        return w.LblEQsByp(e).UserClick();
      default:
        return w.CheckEqByp(first == 0 ? 0 : 1).UserClick();
    }
  }

  void OnInputPage() {
    FrmKVRxxxA& w = Window();
    switch (Pick(0, 5)) {
      case 0:
        return Type(w.NGText(Pick(0, 2)), Number(-90, 1000, true));
      case 1:
        return w.SliderNG(Pick(0, 2)).UserSetValue(Pick(0, 28));
      case 2:
        return w.CheckNGByp.UserClick();
      case 3:
        return Type(w.CmpText(Pick(0, 5)), Number(-15, 40, true));
      case 4:
        return w.CheckCmp(0).UserClick();
      default:
        return OnEqualiser(0, 12);
    }
  }

  void OnOutputPage() {
    FrmKVRxxxA& w = Window();
    switch (Pick(0, 7)) {
      case 0:
        return Type(w.LimText(std::array{1, 4, 5}[Pick(0, 2)]), Number(-15, 30, true));
      case 1:
        return w.CheckLimByp.UserClick();
      case 2:
        return Type(w.TextHpLpF(Pick(0, 1)), Number(5, 25000, false));
      case 3:
        return w.ComboHpLpS(Pick(0, 1)).UserSelect(Pick(0, 12));
      case 4:
        return w.SliderCmp(Pick(6, 11)).UserSetValue(Pick(0, 240));
      case 5:
        return w.CheckCmp(1).UserClick();
      default:
        return OnEqualiser(13, 23);
    }
  }

  void OnGainsPage() {
    FrmKVRxxxA& w = Window();
    const int c = Pick(0, 7);
    switch (Pick(0, 6)) {
      case 0:
        return Type(w.GainText(Pick(0, 9)), Number(-35, 15, true));
      case 1:
        return w.Slider1(Pick(0, 9)).UserSetValue(Pick(0, 300));
      case 2:
        return Type(w.Text2(c), Number(0, 400, true));
      case 3:
        return (Pick(0, 1) == 0 ? w.UpDown1(c) : w.UpDown2(c)).UserSetValue(Pick(0, 340));
      case 4:
        return w.Check2(c).UserClick();
      case 5:
        return Drag(w.GainSl(Pick(0, 9)), 0, Pick(-1500, 1500));
      default:
        return w.Option1(Pick(0, 1)).UserClick();
    }
  }

  void OnRoutingPage() {
    FrmKVRxxxA& w = Window();
    const int p = Pick(0, 15);
    const bool in = Pick(0, 1) == 0;
    switch (Pick(0, 6)) {
      case 0:
        return (in ? w.CheckSRout(p) : w.CheckFRout(p)).UserClick();
      case 1:
        return (in ? w.UpDownSRout(p) : w.UpDownFRout(p)).UserSetValue(Pick(0, 30));
      case 2: {
        // The minus cannot be typed: a person replaces the digits after it.
        ui::TextBox& box = in ? w.TextSRout(p) : w.TextFRout(p);
        const bool negative = !box.Text().empty() && box.Text()[0] == '-';
        box.SetSelection(negative ? 1 : 0, static_cast<int>(box.Text().size()) - negative);
        box.UserType(std::to_string(Pick(0, 40)));
        return box.UserKey(ui::kKeyEnter);
      }
      case 3:
        return w.ImgMute(Pick(0, 7)).UserClick();
      case 4:
        return w.Option2(Pick(0, 5)).UserClick();
      case 5:
        return w.OptionNoiseLev(Pick(0, 3)).UserClick();
      default:
        return Pick(0, 1) == 0 ? w.SliderNoiseLev(Pick(0, 1)).UserSetValue(Pick(0, 40))
                               : Type(w.TextNoiseLev(Pick(0, 1)), Number(-50, 5, false));
    }
  }

  ui::HeadlessPlatform hp_;
  ProgramState st_;
  SimLine line_;
  RxTx link_{st_, line_, hp_.messages};
  Windows windows_;
  Core core_{st_, link_, hp_.platform, windows_};
  std::mt19937_64 gen_;
};

TEST(RandomUserEdits, TheUnitEndsWithExactlyTheProgramsImage) {
  for (std::uint64_t seed : {11u, 12u, 13u}) {
    SCOPED_TRACE(seed);
    Person person(seed);
    for (int i = 0; i < 1500; ++i) {
      person.Step();
      if (::testing::Test::HasFailure()) return;
    }
    person.ExpectUnitEqualsImage();
    person.ExpectDecodeGivesBackTheEdits();
    EXPECT_GT(person.FramesSent(), 1000u);
  }
}

}  // namespace
}  // namespace velmark
