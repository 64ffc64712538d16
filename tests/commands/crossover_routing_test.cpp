#include <gtest/gtest.h>

#include "commands/builder_fixture.h"
#include "commands/crossover.h"
#include "commands/routing.h"

namespace velmark {
namespace {

using testing::BuilderFixture;
using testing::Packet;

TEST(SendCrossoverTest, TextAndListGiveRecordBytesAndPacket) {
  struct Case {
    int channel, f;
    const char* typed;
    int index;
    const char* shown;
    double freq;
    std::uint8_t hi, lo;
  };
  const Case cases[] = {
      {5, 1, "2500", 6, "2500", 2500, 0x09, 0xC4},  // filter 3: bytes 462..464
      {4, 0, "80.9", 0, "80", 80, 0x00, 0x50},
      {7, 1, "20000", 12, "20000", 20000, 0x4E, 0x20},
      {6, 0, " 20 ", 1, "20", 20, 0x00, 0x14},
  };
  for (const Case& c : cases) {
    BuilderFixture fx;
    fx.st.CurChannel[0] = c.channel;
    fx.W().TextHpLpF(c.f).SetText(c.typed);
    fx.W().ComboHpLpS(c.f).SetListIndex(c.index);
    SendCrossover(fx.core, c.f);
    const int k = XoverIndex(c.channel, c.f);
    EXPECT_EQ(fx.W().TextHpLpF(c.f).Text(), c.shown) << c.typed;
    EXPECT_EQ(fx.Rec().XoverFreq[k], c.freq);
    EXPECT_EQ(fx.Rec().XoverType[k], c.index);
    const int a = XoverAddr[k];
    EXPECT_EQ(fx.Img()[a], c.hi);
    EXPECT_EQ(fx.Img()[a + 1], c.lo);
    EXPECT_EQ(fx.Img()[a + 2], c.index);
    const auto ch = static_cast<std::uint8_t>(c.channel), f = static_cast<std::uint8_t>(c.f);
    EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdCrossover, {ch, f, 0, 0, 0, c.hi, c.lo,
                                                            static_cast<std::uint8_t>(c.index)})}));
  }
}

TEST(SendCrossoverTest, CommaLocaleTakesEitherSeparator) {
  BuilderFixture fx;
  fx.st.DecimalIsComma = true;
  fx.st.CurChannel[0] = 4;
  fx.W().ComboHpLpS(0).SetListIndex(2);
  fx.W().TextHpLpF(0).SetText("80,9");
  SendCrossover(fx.core, 0);
  EXPECT_EQ(fx.W().TextHpLpF(0).Text(), "80");
  fx.W().TextHpLpF(0).SetText("99.5");
  SendCrossover(fx.core, 0);
  EXPECT_EQ(fx.Rec().XoverFreq[0], 99);
}

TEST(SendCrossoverTest, NothingHappensWhereNoFilterOrValueExists) {
  struct Case {
    const char* what;
    int channel, f;
    const char* text;
    int index;
  };
  const Case cases[] = {
      {"input channel", 2, 0, "100", 1},     {"filter 2", 4, 2, "100", 1},
      {"not a number", 4, 0, "abc", 1},      {"negative", 4, 0, "-5", 1},
      {"beyond the word", 4, 1, "70000", 1}, {"no list selection", 4, 0, "100", -1},
  };
  for (const Case& c : cases) {
    BuilderFixture fx;
    fx.st.CurChannel[0] = c.channel;
    if (c.f <= 1) {
      fx.W().TextHpLpF(c.f).SetText(c.text);
      fx.W().ComboHpLpS(c.f).SetListIndex(c.index);
    }
    const ParamImage before = fx.Img();
    const DeviceSettings rec = fx.Rec();
    SendCrossover(fx.core, c.f);
    EXPECT_EQ(fx.Img(), before) << c.what;
    EXPECT_EQ(fx.Rec(), rec) << c.what;
    EXPECT_TRUE(fx.Sent().empty()) << c.what;
    if (c.f <= 1) {
      EXPECT_EQ(fx.W().TextHpLpF(c.f).Text(), c.text) << c.what;
    }
  }
}

TEST(SendRoutingTest, TurningOnACellRebuildsTheRowAndSendsIt) {
  BuilderFixture fx;
  for (int i = 0; i < 4; ++i) fx.Img()[441 + i] = static_cast<std::uint8_t>(20 + i);
  fx.Img()[440] = 0xF0;              // stale bits go: the mask is rebuilt from the four boxes
  fx.W().CheckSRout(5).SetValue(1);  // Out2 already fed by input B
  fx.W().CheckSRout(6).SetValue(1);  // now also by input C
  fx.W().UpDownSRout(6).SetValue(24);
  SendInRouting(fx.core, 6);
  EXPECT_EQ(fx.Img()[440], 0x06);
  EXPECT_EQ(fx.Img()[443], 24);
  EXPECT_EQ(fx.W().TextSRout(6).Text(), "-6");
  EXPECT_TRUE(fx.W().TextSRout(6).Enabled());
  EXPECT_TRUE(fx.W().UpDownSRout(6).Enabled());
  EXPECT_TRUE(fx.W().LineOut1(6).Visible());
  EXPECT_TRUE(fx.W().LineDly(6).Visible());
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdInputRouting, {5, 2, 0xFF, 0x06, 20, 21, 24, 23})}));
}

TEST(SendRoutingTest, CellThatIsOffIsDisabledAndHiddenAndTheRowStillGoesOut) {
  BuilderFixture fx;
  fx.W().CheckFRout(8).SetValue(1);  // physical output 3 fed by Out1
  fx.W().UpDownFRout(9).SetValue(30);
  SendOutRouting(fx.core, 9);
  EXPECT_FALSE(fx.W().TextFRout(9).Enabled());
  EXPECT_FALSE(fx.W().UpDownFRout(9).Enabled());
  EXPECT_FALSE(fx.W().LineFOut(9).Visible());
  EXPECT_EQ(fx.W().TextFRout(9).Text(), "0");
  EXPECT_EQ(fx.Img()[736], 0x01);
  EXPECT_EQ(fx.Img()[738], 30);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdOutputRouting, {6, 1, 0xFF, 0x01, 0, 30, 0, 0})}));
  // The input matrix is a different table: its lines and bytes were not touched.
  EXPECT_TRUE(fx.W().LineOut1(9).Visible());
  EXPECT_EQ(fx.Img()[InRouteAddr[2]], 0);
}

TEST(SendRoutingTest, CellOutsideTheMatrixDoesNothing) {
  BuilderFixture fx;
  SendInRouting(fx.core, 16);
  SendOutRouting(fx.core, -1);
  EXPECT_TRUE(fx.Sent().empty());
}

TEST(SendInputSourceTest, OptionIndexGivesPairAndSource) {
  struct Case {
    int o;
    int addr;
    std::uint8_t pair, source;
  };
  const Case cases[] = {{4, 818, 1, 1}, {0, 817, 0, 0}, {2, 817, 0, 2}, {5, 818, 1, 2}};
  for (const Case& c : cases) {
    BuilderFixture fx;
    fx.Img()[c.addr] = 9;
    SendInputSource(fx.core, c.o);
    EXPECT_EQ(fx.Img()[c.addr], c.source) << c.o;
    EXPECT_EQ(c.pair == 0 ? fx.Rec().InputSourceAB : fx.Rec().InputSourceCD, c.source);
    for (int i = 0; i < 3; ++i) {
      const int k = 3 * c.pair + i;
      EXPECT_EQ(fx.W().Option2(k).ForeColor(), k == c.o ? kOrange : kLightGrey) << k;
    }
    EXPECT_EQ(fx.Sent(),
              (std::vector{Packet(CmdInputSource, {c.pair, 0, 0, 0, 0, 0, 0, c.source})}));
  }
}

TEST(SendNoiseGenTest, SliderAndTypeGiveLevelTextKnobAndPacket) {
  BuilderFixture fx;
  fx.W().OptionNoiseLev(3).SetValue(true);  // generator C/D pink
  fx.W().SliderNoiseLev(1).SetValue(12);
  SendNoiseGen(fx.core, 1);
  EXPECT_EQ(fx.Rec().NoiseType[1], 1);
  EXPECT_EQ(fx.Rec().NoiseLevel[1], 28);
  EXPECT_EQ(fx.W().TextNoiseLev(1).Text(), "-12");
  EXPECT_EQ(fx.W().SlNoiseLev(1).Top(), 726);
  EXPECT_EQ(fx.W().OptionNoiseLev(3).ForeColor(), kOrange);
  EXPECT_EQ(fx.W().OptionNoiseLev(2).ForeColor(), kLightGrey);
  EXPECT_EQ(fx.Img()[835], 1);
  EXPECT_EQ(fx.Img()[836], 28);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdNoiseGenerator, {1, 0, 0, 0, 0, 0, 1, 28})}));

  fx.ClearSent();
  fx.W().OptionNoiseLev(0).SetValue(true);
  fx.W().SliderNoiseLev(0).SetValue(0);
  SendNoiseGen(fx.core, 0);
  EXPECT_EQ(fx.W().TextNoiseLev(0).Text(), "0");
  EXPECT_EQ(fx.W().SlNoiseLev(0).Top(), 360);
  EXPECT_EQ(fx.W().OptionNoiseLev(0).ForeColor(), kOrange);
  EXPECT_EQ(fx.W().OptionNoiseLev(1).ForeColor(), kLightGrey);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdNoiseGenerator, {0, 0, 0, 0, 0, 0, 0, 40})}));
}

}  // namespace
}  // namespace velmark
