// Typed values in the edit window: what a person types into each text box family,
// what Enter makes of it (texts, companion controls), the frames that go out byte for byte,
// the warnings, and the repetition on linked channels.
//
// A companion slider set by the box raises its own change handler, which sends the
// family's packet once; the box then sends it again. Up-downs set with UpdatingControls held
// (delays, routing) send once, from the box.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_window_fixture.h"
#include "eqdyn/eq_band.h"
#include "link/rx_tx.h"

namespace velmark::testing {
namespace {

constexpr int kInputPageA = 0, kInputPageC = 2, kOutputPage1 = 4, kOutputPage2 = 5;
constexpr int kGainsPage = 8, kRoutingPage = 9;

class ValueEntryTest : public EditWindowTest {
 protected:
  ValueEntryTest() {
    // Gates, compressors and limiters active, so that their boxes take keys.
    for (int u = 0; u < 2; ++u) {
      ParamImage& img = st.DeviceImages[u];
      for (int c = 0; c < kInputCount; ++c) img[GateAddr[c]] = 0;
      img[CompBypassMaskAddr] = 0;
      img[LimBypassMaskAddr] = 0;
    }
  }

  FrmKVRxxxA& OpenOnPage(int page, int unit = 0) {
    FrmKVRxxxA& w = Open(unit);
    w.ImgNameTab(page).UserClick();
    port.calls.clear();
    return w;
  }

  // A person replaces the box's text and presses Enter.
  static void Enter(ui::TextBox& box, const std::string& text) {
    box.UserReplace(text);
    box.UserKey(ui::kKeyEnter);
  }

  // The program moves a control without its change handling.
  void SetQuietly(ui::RangeControl& control, int value) {
    FlagGuard quiet(st.UpdatingControls);
    control.SetValue(value);
  }

  std::vector<Frame> Sent() const {
    std::vector<Frame> frames;
    for (const TransactCall& c : port.calls) frames.push_back(c.frame);
    return frames;
  }

  static Frame F(std::uint8_t command, const FrameData& data, std::uint8_t id = 0) {
    return BuildFrame(id, command, data);
  }
  static std::vector<Frame> Twice(const Frame& f) { return {f, f}; }

  // The next message box is answered with OK.
  void AnswerOk(int count = 1) {
    for (int i = 0; i < count; ++i) hp.messages.Queue(ui::MsgAnswer::Ok);
  }
  void ExpectWarnings(std::size_t from, const std::vector<std::string>& texts) {
    const auto& shown = hp.messages.Shown();
    ASSERT_EQ(shown.size(), from + texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const ui::ShownMessage& m = shown[from + i];
      EXPECT_EQ(m.text, texts[i]);
      EXPECT_EQ(m.title, "Warning");
      EXPECT_EQ(m.buttons, ui::MsgButtons::Ok);
      EXPECT_TRUE(m.expected);
    }
    EXPECT_EQ(hp.messages.Pending(), 0u);
  }
};

// ---- Gains and master levels (page 8).

TEST_F(ValueEntryTest, GainBoxClampsSnapsSetsTheSliderAndSends) {
  struct Case {
    int slot;
    const char* typed;
    const char* text;
    int slider;
    std::uint8_t command, d0, hi, lo;
  };
  const Case cases[] = {
      {3, "5", "0", 0, CmdGain, 3, 0x01, 0x2C},
      {3, "-45", "-30", 300, CmdGain, 3, 0x00, 0x00},
      {3, "-12.34", "-12.3", 123, CmdGain, 3, 0x00, 0xB1},
      {0, " -7.25 ", "-7.3", 73, CmdGain, 0, 0x00, 0xE3},  // half way: the lower value
      {7, "+0", "0", 0, CmdGain, 7, 0x01, 0x2C},
      {8, "15", "12", 0, CmdAuxGain, 0, 0x01, 0x2C},
      {9, "-20", "-18", 300, CmdAuxGain, 4, 0x00, 0x00},
      {8, "0", "0", 120, CmdAuxGain, 0, 0x00, 0xB4},
  };
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.slot) + " \"" + c.typed + "\"");
    SetQuietly(w.Slider1(c.slot), 77);
    port.calls.clear();
    Enter(w.GainText(c.slot), c.typed);
    EXPECT_EQ(w.GainText(c.slot).Text(), c.text);
    EXPECT_EQ(w.Slider1(c.slot).Value(), c.slider);
    EXPECT_EQ(st.DeviceImages[0][LevelAddr[c.slot]], c.hi);
    EXPECT_EQ(st.DeviceImages[0][LevelAddr[c.slot] + 1], c.lo);
    EXPECT_EQ(Sent(), Twice(F(c.command, {c.d0, 0, 0, 0, 0, 0, c.hi, c.lo})));
  }
  EXPECT_TRUE(hp.messages.Shown().empty());
}

TEST_F(ValueEntryTest, AnUnchangedSliderLeavesTheBoxToSendOnce) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  ASSERT_EQ(w.Slider1(2).Value(), 0);
  Enter(w.GainText(2), "3");
  EXPECT_EQ(w.GainText(2).Text(), "0");
  EXPECT_EQ(Sent(), (std::vector{F(CmdGain, {2, 0, 0, 0, 0, 0, 0x01, 0x2C})}));
}

TEST_F(ValueEntryTest, CommaLocaleTypesAndReadsTheComma) {
  st.DecimalIsComma = true;
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  w.GainText(1).UserReplace("");
  w.GainText(1).UserType("-12.5");
  EXPECT_EQ(w.GainText(1).Text(), "-12,5");
  w.GainText(1).UserKey(ui::kKeyEnter);
  EXPECT_EQ(w.GainText(1).Text(), "-12,5");
  EXPECT_EQ(w.Slider1(1).Value(), 125);
  EXPECT_EQ(st.DeviceRecords[0].LevelGain[1], -12.5);
  EXPECT_EQ(Sent(), Twice(F(CmdGain, {1, 0, 0, 0, 0, 0, 0x00, 0xAF})));
}

TEST_F(ValueEntryTest, ALetterWarnsAndBecomesAQuestionMarkThatEnterRefuses) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  const std::uint8_t hi = st.DeviceImages[0][LevelAddr[4]];
  w.GainText(4).UserReplace("-1");
  AnswerOk();
  w.GainText(4).UserType("a");
  EXPECT_EQ(w.GainText(4).Text(), "-1?");
  ExpectWarnings(0, {"  Incorrect value"});
  AnswerOk();
  w.GainText(4).UserKey(ui::kKeyEnter);
  // The refused Enter is replaced like a refused key: one more "?".
  EXPECT_EQ(w.GainText(4).Text(), "-1??");
  ExpectWarnings(0, {"  Incorrect value", "  Incorrect value"});
  EXPECT_EQ(w.Slider1(4).Value(), 0);
  EXPECT_EQ(st.DeviceImages[0][LevelAddr[4]], hi);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, GainKeysAcceptedAndRefused) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  w.GainText(0).UserReplace("");
  w.GainText(0).UserType("+-0123456789.,");
  EXPECT_EQ(w.GainText(0).Text(), "+-0123456789..");
  w.GainText(0).UserKey(ui::kKeyBackspace);
  EXPECT_EQ(w.GainText(0).Text(), "+-0123456789.");
  AnswerOk(2);
  w.GainText(0).UserType(" é");
  EXPECT_EQ(w.GainText(0).Text(), "+-0123456789.??");
  ExpectWarnings(0, {"  Incorrect value", "  Incorrect value"});
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, NothingHappensWhileTheProgramFillsControls) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  w.GainText(0).UserReplace("-6");
  st.UpdatingControls = true;
  w.GainText(0).UserType("a");
  w.GainText(0).UserKey(ui::kKeyEnter);
  st.UpdatingControls = false;
  EXPECT_EQ(w.GainText(0).Text(), "-6a");
  EXPECT_EQ(w.Slider1(0).Value(), 0);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, ABoxWorksOnItsOwnWindowsUnit) {
  FrmKVRxxxA& w0 = OpenOnPage(kGainsPage, 0);
  FrmKVRxxxA& w1 = OpenOnPage(kGainsPage, 1);
  ASSERT_EQ(st.CurUnit, 1);
  (void)w1;
  port.calls.clear();
  Enter(w0.GainText(5), "-3");
  EXPECT_EQ(st.CurUnit, 0);
  EXPECT_EQ(w0.Slider1(5).Value(), 30);
  EXPECT_EQ(ReadWord(st.DeviceImages[0], LevelAddr[5]), 270);
  EXPECT_EQ(ReadWord(st.DeviceImages[1], LevelAddr[5]), 300);
  EXPECT_EQ(Sent(), Twice(F(CmdGain, {5, 0, 0, 0, 0, 0, 0x01, 0x0E}, 0)));
}

TEST_F(ValueEntryTest, LinkedGainIsRepeatedOnTheLinkedChannelsOnly) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  st.LinkFlag[0][0] = st.LinkFlag[0][2] = st.LinkFlag[0][4] = 1;
  Enter(w.GainText(0), "-6");
  EXPECT_EQ(w.Slider1(2).Value(), 60);
  EXPECT_EQ(w.GainText(2).Text(), "-6");
  EXPECT_EQ(st.DeviceRecords[0].LevelGain[2], -6.0);
  EXPECT_EQ(ReadWord(st.DeviceImages[0], LevelAddr[2]), 240);
  // Not linked, or linked in the other group.
  EXPECT_EQ(w.Slider1(1).Value(), 0);
  EXPECT_EQ(w.Slider1(4).Value(), 0);
  // The linked channel is changed locally; only the edited one is sent.
  EXPECT_EQ(Sent(), Twice(F(CmdGain, {0, 0, 0, 0, 0, 0, 0x00, 0xF0})));
}

TEST_F(ValueEntryTest, AFailedFirstPacketEndsTheEntry) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  hp.messages.Queue(ui::MsgAnswer::Ok);
  Enter(w.GainText(6), "-10");
  ASSERT_EQ(hp.messages.Shown().size(), 1u);
  EXPECT_EQ(hp.messages.Shown()[0].title, kLinkFailureTitle);
  EXPECT_TRUE(st.NeedsConnect[0]);
  // The slider's own handler sent once and failed; the box does not try again.
  EXPECT_EQ(Sent(), (std::vector{F(CmdGain, {6, 0, 0, 0, 0, 0, 0x00, 0xC8})}));
}

// ---- Delays (page 8).

TEST_F(ValueEntryTest, DelayBoxSplitsIntoCoarseAndFineAndSendsOnce) {
  struct Case {
    int channel, unit;
    const char* typed;
    int coarse, fine;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, "12.5", 12, 48, "12.499"},
      {4, 1, "200", 270, 96, "92.13932"},  // metres: 115.93932 m, then the output limit
      {0, 0, "12.52 ms", 12, 50, "12.52"},
      {3, 0, "500", 340, 96, "340.998"},
  };
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    st.DeviceRecords[0].DelayUnit = static_cast<std::int16_t>(c.unit);
    port.calls.clear();
    Enter(w.Text2(c.channel), c.typed);
    EXPECT_EQ(w.UpDown2(c.channel).Value(), c.coarse);
    EXPECT_EQ(w.UpDown1(c.channel).Value(), c.fine);
    EXPECT_EQ(w.Text2(c.channel).Text(), c.text);
    const auto ch = static_cast<std::uint8_t>(c.channel);
    EXPECT_EQ(Sent(),
              (std::vector{F(CmdDelay, {ch, 0, 0, 0, 0, static_cast<std::uint8_t>(c.coarse >> 8),
                                        static_cast<std::uint8_t>(c.coarse & 0xFF),
                                        static_cast<std::uint8_t>(c.fine)})}));
  }
}

TEST_F(ValueEntryTest, DelayBoxBlanksRefusedKeysAndWarnsOnAnEmptyText) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  w.Text2(2).UserReplace("1");
  w.Text2(2).UserType("a-");  // no message: each becomes a blank
  EXPECT_EQ(w.Text2(2).Text(), "1  ");
  w.Text2(2).UserType(" 5");
  EXPECT_EQ(w.Text2(2).Text(), "1   5");
  w.Text2(2).UserReplace("  ");
  AnswerOk();
  w.Text2(2).UserKey(ui::kKeyEnter);
  ExpectWarnings(0, {"  Incorrect value"});
  EXPECT_EQ(w.Text2(2).Text(), "  ");  // no key inserted
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, LinkedDelayIsRepeated) {
  FrmKVRxxxA& w = OpenOnPage(kGainsPage);
  st.LinkFlag[0][5] = st.LinkFlag[0][7] = 1;
  Enter(w.Text2(5), "12.5");
  EXPECT_EQ(w.UpDown2(7).Value(), 12);
  EXPECT_EQ(w.UpDown1(7).Value(), 48);
  EXPECT_EQ(st.DeviceRecords[0].DelayCoarse[7], 12);
  EXPECT_EQ(Sent(), (std::vector{F(CmdDelay, {5, 0, 0, 0, 0, 0x00, 0x0C, 0x30})}));
}

// ---- Routing and noise generators (page 9).

TEST_F(ValueEntryTest, RoutingBoxSetsItsLevelQuietlyAndSendsTheRow) {
  FrmKVRxxxA& w = OpenOnPage(kRoutingPage);
  ASSERT_EQ(w.TextSRout(5).Text(), "0");
  w.TextSRout(5).SetCaret(0);
  w.TextSRout(5).UserType("1");  // "10"
  AnswerOk();
  w.TextSRout(5).UserType("-");
  ExpectWarnings(0, {"  Incorrect Q value"});
  EXPECT_EQ(w.TextSRout(5).Text(), "1 0");
  EXPECT_FALSE(st.UpdatingControls);
  // The user edits the digits of the shown text; a pasted sign is taken on Enter.
  Enter(w.TextSRout(5), "-12");
  EXPECT_EQ(w.TextSRout(5).Text(), "-12");
  EXPECT_EQ(w.UpDownSRout(5).Value(), 18);
  // Out2 (row 1) fed by input B (column 1): mask 0x02 and the row's four levels.
  EXPECT_EQ(Sent(), (std::vector{F(CmdInputRouting, {5, 1, 0xFF, 0x02, 30, 18, 30, 30})}));

  port.calls.clear();
  Enter(w.TextFRout(0), "-30.4");
  EXPECT_EQ(w.TextFRout(0).Text(), "-30");
  EXPECT_EQ(w.UpDownFRout(0).Value(), 0);
  EXPECT_EQ(Sent(), (std::vector{F(CmdOutputRouting, {4, 0, 0xFF, 0x01, 0, 30, 30, 30})}));

  port.calls.clear();
  AnswerOk();
  Enter(w.TextFRout(0), "x");
  ExpectWarnings(1, {"  Incorrect Q value"});
  EXPECT_EQ(w.TextFRout(0).Text(), "x ");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, NoiseLevelBoxSetsTheSlider) {
  FrmKVRxxxA& w = OpenOnPage(kRoutingPage);
  const std::uint8_t type = st.DeviceImages[0][NoiseTypeAddr(1)];
  Enter(w.TextNoiseLev(1), "-12.4");
  EXPECT_EQ(w.TextNoiseLev(1).Text(), "-12");
  EXPECT_EQ(w.SliderNoiseLev(1).Value(), 12);
  EXPECT_EQ(Sent(), Twice(F(CmdNoiseGenerator, {1, 0, 0, 0, 0, 0, type, 28})));
  port.calls.clear();
  // At the bottom already (level step 0): the slider does not move and only the box sends.
  Enter(w.TextNoiseLev(0), "-55");
  EXPECT_EQ(w.TextNoiseLev(0).Text(), "-40");
  EXPECT_EQ(w.SliderNoiseLev(0).Value(), 40);
  const std::uint8_t type0 = st.DeviceImages[0][NoiseTypeAddr(0)];
  EXPECT_EQ(Sent(), (std::vector{F(CmdNoiseGenerator, {0, 0, 0, 0, 0, 0, type0, 0})}));
  port.calls.clear();
  Enter(w.TextNoiseLev(0), "-5.5");  // half way: the lower value
  EXPECT_EQ(w.TextNoiseLev(0).Text(), "-6");
  EXPECT_EQ(w.SliderNoiseLev(0).Value(), 6);
  EXPECT_EQ(Sent(), Twice(F(CmdNoiseGenerator, {0, 0, 0, 0, 0, 0, type0, 34})));
}

// ---- Noise gate, compressor, limiter (channel pages).

TEST_F(ValueEntryTest, NoiseGateBoxes) {
  struct Case {
    int k;
    const char* typed;
    const char* text;
    int slider;
    std::array<std::uint8_t, 3> codes;  // threshold, release, attack
  };
  // Defaults: threshold −80 (code 0), release 50 ms (2), attack 3 ms (2).
  const Case cases[] = {
      {0, "-62", "-60", 2, {4, 2, 2}}, {0, "-62.5", "-65", 3, {3, 2, 2}},
      {0, "-20", "-50", 0, {6, 2, 2}}, {1, "150", "100", 9, {6, 3, 2}},  // half way 100 / 200
      {2, "40", "40", 15, {6, 3, 13}},
  };
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    port.calls.clear();
    Enter(w.NGText(c.k), c.typed);
    EXPECT_EQ(w.NGText(c.k).Text(), c.text);
    EXPECT_EQ(w.SliderNG(c.k).Value(), c.slider);
    EXPECT_EQ(Sent(), Twice(F(CmdNoiseGate, {0, 0, 0, 0, 0, c.codes[0], c.codes[1], c.codes[2]})));
  }
}

TEST_F(ValueEntryTest, CompressorBoxes) {
  struct Case {
    int i;
    const char* typed;
    const char* text;
    int slider;
    FrameData data;
  };
  // Defaults: threshold +20 (150), ratio 32:1 (30), knee 0, release 1.1 s (10), attack 7 ms
  // (2), make-up 0 dB (120).
  const Case cases[] = {
      {1, "4:1", "4:1", 28, {0, 1, 0, 0, 0, 150, 2, 0}},
      {1, "1", "2:1", 30, {0, 1, 0, 0, 0, 150, 0, 0}},
      {1, "4", "4:1", 28, {0, 1, 0, 0, 0, 150, 2, 0}},
      {0, "5.1", "5", 75, {0, 1, 0, 0, 0, 75, 2, 0}},
      {2, "150", "100", 0, {0, 1, 0, 0, 0, 75, 2, 100}},
      {3, "0.35", "0.3", 27, {0, 2, 0, 0, 0, 0, 2, 2}},
      {4, "22.5", "20", 14, {0, 2, 0, 0, 0, 0, 2, 15}},
      {5, "3.45", "3.4", 86, {0, 3, 0, 0, 0, 0, 0, 154}},
  };
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.i) + " \"" + c.typed + "\"");
    port.calls.clear();
    Enter(w.CmpText(c.i), c.typed);
    EXPECT_EQ(w.CmpText(c.i).Text(), c.text);
    EXPECT_EQ(w.SliderCmp(c.i).Value(), c.slider);
    EXPECT_EQ(Sent(), Twice(F(CmdCompressor, c.data)));
  }
  AnswerOk();
  port.calls.clear();
  Enter(w.CmpText(1), "  ");
  ExpectWarnings(0, {"  Incorrect value"});
  EXPECT_EQ(w.CmpText(1).Text(), "  ?");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, OutputCompressorBoxesAndTheCurve) {
  FrmKVRxxxA& w = OpenOnPage(kOutputPage2);
  w.PicCmp.Cls();
  Enter(w.CmpText(6), "0");
  EXPECT_EQ(w.SliderCmp(6).Value(), 100);
  EXPECT_FALSE(w.PicCmp.DisplayList().empty());  // the transfer curve was drawn again
  EXPECT_EQ(Sent(), Twice(F(CmdCompressor, {5, 1, 0, 0, 0, 50, 30, 0})));
}

TEST_F(ValueEntryTest, LimiterBoxes) {
  struct Case {
    int e;
    const char* typed;
    const char* text;
    int slider;
    std::array<std::uint8_t, 3> codes;
  };
  // Defaults: threshold +20 (150), release 1.1 s (10), attack 3 ms (2).
  const Case cases[] = {
      {1, "0", "0", 100, {50, 10, 2}},
      {4, "2.05", "2.0", 30, {50, 19, 2}},
      {5, "250", "200", 7, {50, 19, 33}},
  };
  FrmKVRxxxA& w = OpenOnPage(kOutputPage1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    port.calls.clear();
    Enter(w.LimText(c.e), c.typed);
    EXPECT_EQ(w.LimText(c.e).Text(), c.text);
    EXPECT_EQ(w.SliderLim(c.e).Value(), c.slider);
    EXPECT_EQ(Sent(), Twice(F(CmdLimiter, {4, 0xFF, 0, 0, 0, c.codes[0], c.codes[1], c.codes[2]})));
  }
}

TEST_F(ValueEntryTest, LinkedDynamicsAreRepeated) {
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  st.LinkFlag[0][0] = st.LinkFlag[0][3] = 1;
  Enter(w.NGText(0), "-60");
  Enter(w.CmpText(3), "0.35");
  const ParamImage& img = st.DeviceImages[0];
  for (int b = 0; b < kGateBytes; ++b) EXPECT_EQ(img[GateAddr[3] + b], img[GateAddr[0] + b]);
  EXPECT_EQ(img[GateAddr[3] + 1], 4);
  EXPECT_EQ(img[CompAddr[3] + 3], 2);
  EXPECT_EQ(img[GateAddr[1] + 1], 0);  // not linked
  EXPECT_EQ(img[CompAddr[1] + 3], 10);
}

// ---- Equaliser bands.

TEST_F(ValueEntryTest, EqGainFrequencyAndQBoxes) {
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  // Band 5 of input A: Bell at 250 Hz, Q code 31 (2.4), 0 dB (code 30).
  Enter(w.TxtEqGain(5), "7.25");
  EXPECT_EQ(w.TxtEqGain(5).Text(), "7");
  EXPECT_EQ(w.Slider2(5).Value(), 16);
  EXPECT_EQ(st.DeviceRecords[0].EqGain[5], 7.0);
  EXPECT_EQ(Sent(), Twice(F(CmdEqBand, {0, 5, 0, 0, 0x00, 0xFA, 31, 44})));
  // The band's response holds the new gain at its own frequency.
  const UnitResponses& r = st.Responses(0);
  EXPECT_NEAR(r.BandResponse[5][250 - 20], 7.0, 0.05);

  port.calls.clear();
  Enter(w.TxtEqFreq(5), "25000");
  EXPECT_EQ(w.TxtEqFreq(5).Text(), "20000");
  EXPECT_EQ(st.DeviceRecords[0].EqFreq[5], 20000);
  EXPECT_EQ(Sent(), (std::vector{F(CmdEqBand, {0, 5, 0, 0, 0x4E, 0x20, 31, 44})}));

  port.calls.clear();
  Enter(w.TxtEqFreq(5), "19");
  EXPECT_EQ(w.TxtEqFreq(5).Text(), "20");
  EXPECT_EQ(Sent(), (std::vector{F(CmdEqBand, {0, 5, 0, 0, 0x00, 0x14, 31, 44})}));

  // Q: the first four characters, "12.3", nearest the table's 12.0 (code 59).
  port.calls.clear();
  Enter(w.TxtEqQ(5), "12.345");
  EXPECT_EQ(w.UDEqQ(5).Value(), 59);
  EXPECT_EQ(w.TxtEqQ(5).Text(), "12");
  EXPECT_EQ(Sent(), (std::vector{F(CmdEqBand, {0, 5, 0, 0, 0x00, 0x14, 59, 44})}));
}

TEST_F(ValueEntryTest, EqQOfOtherBandTypes) {
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  // Band 0 is "LoShQ" (type 6): code = (Q − 0.1) / 0.05.
  Enter(w.TxtEqQ(0), "1.1");
  EXPECT_EQ(w.UDEqQ(0).Value(), 20);
  EXPECT_EQ(w.TxtEqQ(0).Text(), "1.1");
  EXPECT_EQ(Sent(), (std::vector{F(CmdEqBand, {0, 0, 0, 6, 0x00, 0x64, 20, 30})}));
}

TEST_F(ValueEntryTest, EqBoxRefusals) {
  FrmKVRxxxA& w = OpenOnPage(kInputPageA);
  // Frequency: the warning, but the key stays.
  w.TxtEqFreq(3).UserReplace("8");
  AnswerOk();
  w.TxtEqFreq(3).UserType("k");
  EXPECT_EQ(w.TxtEqFreq(3).Text(), "8k");
  AnswerOk();
  w.TxtEqFreq(3).UserKey(ui::kKeyEnter);
  EXPECT_EQ(w.TxtEqFreq(3).Text(), "8k");
  // Q: the warning and a blank.
  w.TxtEqQ(3).UserReplace("2");
  AnswerOk();
  w.TxtEqQ(3).UserType("-");
  EXPECT_EQ(w.TxtEqQ(3).Text(), "2 ");
  AnswerOk();
  Enter(w.TxtEqQ(3), "q");
  EXPECT_EQ(w.TxtEqQ(3).Text(), "q ");
  ExpectWarnings(
      0, {"  Incorrect value", "  Incorrect value", "  Incorrect Q value", "  Incorrect Q value"});
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, LinkedEqBandIsRepeatedAndRecomputed) {
  FrmKVRxxxA& w = OpenOnPage(kInputPageC);
  st.LinkFlag[0][2] = st.LinkFlag[0][1] = 1;
  Enter(w.TxtEqGain(7), "-6");
  const int source = BandOf(2, 7), target = BandOf(1, 7);
  EXPECT_EQ(st.DeviceRecords[0].EqGain[target], -6.0);
  EXPECT_EQ(st.DeviceImages[0][EqBandAddr[target] + 4], 18);
  EXPECT_EQ(st.DeviceImages[0][EqBandAddr[BandOf(0, 7)] + 4], 30);
  EXPECT_EQ(st.Responses(0).BandResponse[target], st.Responses(0).BandResponse[source]);
  EXPECT_EQ(Sent(), Twice(F(CmdEqBand, {2, 7, 0, 0, 0x03, 0xE8, 31, 18})));  // 1000 Hz
}

TEST_F(ValueEntryTest, OutputPageBandElements) {
  FrmKVRxxxA& w = OpenOnPage(kOutputPage1);
  // Element 13 is band 0 of output 1: Bell at 20 Hz.
  Enter(w.TxtEqGain(13), "-15.3");
  EXPECT_EQ(w.TxtEqGain(13).Text(), "-15");
  EXPECT_EQ(w.Slider2(13).Value(), 60);
  EXPECT_EQ(Sent(), Twice(F(CmdEqBand, {4, 0, 0, 0, 0x00, 0x14, 31, 0})));
}

// ---- Crossover filters (output pages).

TEST_F(ValueEntryTest, CrossoverFrequencyBox) {
  FrmKVRxxxA& w = OpenOnPage(kOutputPage2);
  Enter(w.TextHpLpF(1), "25000");
  EXPECT_EQ(w.TextHpLpF(1).Text(), "20000");
  EXPECT_EQ(st.DeviceRecords[0].XoverFreq[XoverIndex(5, 1)], 20000);
  EXPECT_EQ(Sent(), (std::vector{F(CmdCrossover, {5, 1, 0, 0, 0, 0x4E, 0x20, 0})}));
  port.calls.clear();
  Enter(w.TextHpLpF(0), "80.9");
  EXPECT_EQ(w.TextHpLpF(0).Text(), "80");
  EXPECT_EQ(Sent(), (std::vector{F(CmdCrossover, {5, 0, 0, 0, 0, 0x00, 0x50, 0})}));
  port.calls.clear();
  Enter(w.TextHpLpF(0), "10");
  EXPECT_EQ(w.TextHpLpF(0).Text(), "20");
  EXPECT_EQ(Sent(), (std::vector{F(CmdCrossover, {5, 0, 0, 0, 0, 0x00, 0x14, 0})}));
}

TEST_F(ValueEntryTest, CrossoverBoxTakesKeysEvenWhileTheProgramFillsControls) {
  FrmKVRxxxA& w = OpenOnPage(kOutputPage2);
  w.TextHpLpF(0).UserReplace("1");
  st.UpdatingControls = true;
  AnswerOk();
  w.TextHpLpF(0).UserType("-");
  st.UpdatingControls = false;
  ExpectWarnings(0, {"  Incorrect f value"});
  EXPECT_EQ(w.TextHpLpF(0).Text(), "1?");
  AnswerOk();
  w.TextHpLpF(0).UserKey(ui::kKeyEnter);
  ExpectWarnings(0, {"  Incorrect f value", "  Incorrect f value"});
  EXPECT_EQ(w.TextHpLpF(0).Text(), "1??");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(ValueEntryTest, SlopeListTakesTheClampedFrequency) {
  FrmKVRxxxA& w = OpenOnPage(kOutputPage2);
  st.LinkFlag[0][5] = st.LinkFlag[0][7] = 1;
  w.TextHpLpF(1).UserReplace("2500");
  w.ComboHpLpS(1).UserSelect(6);
  EXPECT_EQ(w.TextHpLpF(1).Text(), "2500");
  // Output 2 low-pass, filter 3: 2500 Hz, "-24dB/oct Bw".
  EXPECT_EQ(Sent(), (std::vector{F(CmdCrossover, {5, 1, 0, 0, 0, 0x09, 0xC4, 6})}));
  const DeviceSettings& rec = st.DeviceRecords[0];
  EXPECT_EQ(rec.XoverType[XoverIndex(7, 1)], 6);  // linked output 4
  EXPECT_EQ(rec.XoverFreq[XoverIndex(7, 1)], 2500);
  // The responses of both filters now cut above 2500 Hz.
  const UnitResponses& r = st.Responses(0);
  const int p = kGridPoints - 1;  // 20 kHz
  EXPECT_LT(r.XoverResponse[XoverIndex(5, 1)][p], -60);
  EXPECT_EQ(r.XoverResponse[XoverIndex(7, 1)], r.XoverResponse[XoverIndex(5, 1)]);

  port.calls.clear();
  w.TextHpLpF(1).UserReplace("9e9");
  AnswerOk();
  w.ComboHpLpS(1).UserSelect(2);
  ExpectWarnings(0, {"  Incorrect frequency value"});
  EXPECT_EQ(w.TextHpLpF(1).Text(), "9e9");
  EXPECT_TRUE(Sent().empty());

  w.TextHpLpF(1).UserReplace("30000");
  w.ComboHpLpS(1).UserSelect(3);
  EXPECT_EQ(w.TextHpLpF(1).Text(), "20000");
  EXPECT_EQ(Sent(), (std::vector{F(CmdCrossover, {5, 1, 0, 0, 0, 0x4E, 0x20, 3})}));
}

}  // namespace
}  // namespace velmark::testing
