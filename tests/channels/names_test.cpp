#include "channels/names.h"

#include <gtest/gtest.h>

#include "commands/builder_fixture.h"

namespace velmark {
namespace {

using testing::BuilderFixture;
using testing::Packet;

TEST(PadNameTest, CentresInSixCharactersAndWritesTheBytes) {
  struct Case {
    const char* name;
    const char* padded;
  };
  const Case cases[] = {
      {"", "      "},         {"X", "   X  "},     {"Sub", "  Sub "},   {"  ", "      "},
      {"AB", "  AB  "},       {"ABCD", " ABCD "},  {"ABCDE", " ABCDE"}, {"ABCDEF", "ABCDEF"},
      {"ABCDEFGH", "ABCDEF"}, {" a b ", "  a b "},
  };
  for (const Case& c : cases) {
    BuilderFixture fx;
    std::string name = c.name;
    PadName(fx.core, name, 6);
    EXPECT_EQ(name, c.padded) << '"' << c.name << '"';
    for (int k = 0; k < kChannelNameLength; ++k) {
      EXPECT_EQ(fx.Img()[NameAddr[6] + k], static_cast<std::uint8_t>(c.padded[k])) << c.name;
    }
  }
}

TEST(PadNameTest, OneLetterNameImageBytesAndChannelOutsideRange) {
  BuilderFixture fx;
  std::string name = "X";
  PadName(fx.core, name, 0);
  const std::uint8_t expected[] = {32, 32, 32, 88, 32, 32};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(fx.Img()[82 + k], expected[k]);
  const ParamImage before = fx.Img();
  std::string other = "Y";
  PadName(fx.core, other, 8);
  EXPECT_EQ(fx.Img(), before);
}

TEST(ApplyNamesTest, SendsEightNamesInOrderThenShowsThemTrimmed) {
  BuilderFixture fx;
  fx.st.ChannelNames[0] = {"X", "Sub", "  ", "Kick", "Left", "Right", "Mon", "Fill 1"};
  EXPECT_FALSE(ApplyNames(fx.core));
  const auto sent = fx.Sent();
  ASSERT_EQ(sent.size(), 8u);
  for (int c = 0; c < kChannelCount; ++c) {
    const std::string& padded = fx.st.ChannelNames[0][c];
    ASSERT_EQ(padded.size(), 6u);
    FrameData d{static_cast<std::uint8_t>(c), 0};
    for (int k = 0; k < 6; ++k) d[2 + k] = static_cast<std::uint8_t>(padded[k]);
    EXPECT_EQ(sent[c], Packet(CmdChannelName, d)) << c;
  }
  EditControls& w = fx.W();
  EXPECT_EQ(w.LblNameTab(0).Caption(), "X");
  EXPECT_EQ(w.LblWinDly(1).Caption(), "Sub");
  EXPECT_EQ(w.Label300(2).Caption(), "");
  EXPECT_EQ(w.FrameGain(3).Caption(), "Kick");
  EXPECT_EQ(w.LabelRoutIn(5).Caption(), "Right");
  EXPECT_EQ(w.LabelRoutFin(3).Caption(), "Fill 1");
  EXPECT_EQ(w.LabelRoutFin(0).Caption(), "Left");
  EXPECT_EQ(fx.st.ChannelNames[0][2], "      ");
}

TEST(ApplyNamesTest, StopsAtTheFirstFailedPacket) {
  BuilderFixture fx;
  fx.W().LblNameTab(0).SetCaption("old");
  fx.st.ChannelNames[0] = {"A", "B", "C", "D", "E", "F", "G", "H"};
  fx.FailFrom(2);
  EXPECT_TRUE(ApplyNames(fx.core));
  const auto sent = fx.Sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2].data[0], 2);
  EXPECT_EQ(fx.W().LblNameTab(0).Caption(), "old");
  // Names and image keep the new texts, also for the channels that were not sent.
  EXPECT_EQ(fx.st.ChannelNames[0][7], "   H  ");
  EXPECT_EQ(fx.Img()[NameAddr[7] + 3], 'H');
}

TEST(ApplyNamesTest, SuppressedSendsNothingAndShowsEverything) {
  BuilderFixture fx;
  fx.st.SendSuppressed = true;
  fx.st.ChannelNames[0][4] = "Sub";
  EXPECT_FALSE(ApplyNames(fx.core));
  EXPECT_TRUE(fx.Sent().empty());
  EXPECT_EQ(fx.W().LblNameTab(4).Caption(), "Sub");
}

TEST(NameCaptionTest, BytesBeyondAsciiBecomeUtf8) {
  EXPECT_EQ(NameCaption(" Caf\xE9 "), "Caf\xC3\xA9");
  EXPECT_EQ(NameCaption("      "), "");
  EXPECT_EQ(NameCaption("a  b"), "a  b");
}

}  // namespace
}  // namespace velmark
