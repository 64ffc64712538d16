#include "commands/defaults_ops.h"

#include <gtest/gtest.h>

#include "commands/builder_fixture.h"
#include "model/defaults.h"

namespace velmark {
namespace {

using testing::BuilderFixture;
using testing::Packet;

// A unit with a non-default configuration and system settings of its own.
void MakeCustomUnit(BuilderFixture& fx) {
  ParamImage& img = fx.Img();
  for (int a = 0; a < kParamBytes; ++a) img[a] = static_cast<std::uint8_t>(a * 7);
  img[kInputSourceAddr] = 1;
  img[kInputSourceAddr + 1] = 2;
  img[kDelayUnitAddr] = 1;
  img[kPasswordOnAddr] = 1;
  img[kLockOnAddr] = 1;
  for (int i = 0; i < kPasswordLength; ++i)
    img[kPasswordCodeAddr + i] = static_cast<std::uint8_t>(10 + i);
  img[kShowCursorAddr + 2] = 1;
  fx.Rec().LockOn = 1;
  fx.Rec().PasswordOn = 1;
  fx.Rec().LevelGain[0] = -7;
}

TEST(SetDefaultTest, YesResetsTheParametersAndKeepsTheSystemSettings) {
  BuilderFixture fx;
  MakeCustomUnit(fx);
  const ParamImage before = fx.Img();
  fx.platform.messages.Queue(ui::MsgAnswer::Yes);
  EXPECT_TRUE(SetDefault(fx.core));

  const auto& shown = fx.platform.messages.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text,
            "Overwrite the current configuration with the Default configuration, do you want to "
            "continue?");
  EXPECT_EQ(shown[0].title, "Set Default");
  EXPECT_EQ(shown[0].buttons, ui::MsgButtons::YesNo);
  EXPECT_EQ(fx.Sent(), (std::vector{Packet(CmdSetDefault, {}),
                                    Packet(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, 0})}));
  EXPECT_FALSE(fx.st.SendSuppressed);

  for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(fx.Img()[a], DefaultImage[a]) << a;
  for (int a = kParamBytes; a < kImageSize; ++a) ASSERT_EQ(fx.Img()[a], before[a]) << a;
  const DeviceSettings& rec = fx.Rec();
  for (int n = 0; n < kChannelCount; ++n) {
    EXPECT_EQ(rec.Mute[n], n >= 4 ? 1 : 0);
    EXPECT_EQ(rec.CompBypass[n], 1);
    if (n >= 4) {
      EXPECT_EQ(rec.LimBypass[n], 1);
    }
  }
  for (double g : rec.EqGain) EXPECT_EQ(g, 0.0);
  EXPECT_EQ(rec.LevelGain[0], 0.0);
  // The unit keeps its delay unit, sources, lock and password.
  EXPECT_EQ(rec.DelayUnit, 1);
  EXPECT_EQ(rec.InputSourceAB, 1);
  EXPECT_EQ(rec.InputSourceCD, 2);
  EXPECT_EQ(rec.LockOn, 1);
  EXPECT_EQ(rec.PasswordOn, 1);
  EXPECT_EQ(fx.W().FrameDly(0).Caption(), "Delay [ m ]");
}

TEST(SetDefaultTest, NoOrAFailedPacketChangesNothing) {
  for (bool answer_yes : {false, true}) {
    BuilderFixture fx;
    MakeCustomUnit(fx);
    const ParamImage before = fx.Img();
    const DeviceSettings rec = fx.Rec();
    fx.platform.messages.Queue(answer_yes ? ui::MsgAnswer::Yes : ui::MsgAnswer::No);
    fx.FailFrom(0);
    EXPECT_FALSE(SetDefault(fx.core));
    EXPECT_EQ(fx.Img(), before);
    EXPECT_EQ(fx.Rec(), rec);
    EXPECT_FALSE(fx.windows.Created(0)) << "nothing was decoded";
    const std::vector<testing::SentPacket> sent = fx.Sent();
    if (answer_yes) {
      EXPECT_EQ(sent, (std::vector{Packet(CmdSetDefault, {})}));
    } else {
      EXPECT_TRUE(sent.empty());
    }
  }
}

TEST(LoadFactoryPresetTest, FillsImageAndRecordAndSendsNothing) {
  BuilderFixture fx;
  ParamImage& img = fx.st.DeviceImages[3];
  img.fill(0xAA);
  LoadFactoryPreset(fx.st, 3);
  for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(img[a], DefaultImage[a]) << a;
  EXPECT_EQ(img[kParamBytes], 0xAA);
  EXPECT_EQ(img[kInputSourceAddr], 0);
  EXPECT_EQ(img[kInputSourceAddr + 1], 0);
  EXPECT_EQ(img[kDelayUnitAddr], 1);
  EXPECT_EQ(img[kLockOnAddr], 0xAA);

  const DeviceSettings& rec = fx.st.DeviceRecords[3];
  EXPECT_EQ(rec.InputSourceAB, 0);
  EXPECT_EQ(rec.InputSourceCD, 0);
  EXPECT_EQ(rec.DelayUnit, 1);
  EXPECT_EQ(rec.PasswordOn, 0.0);
  EXPECT_EQ(rec.LockOn, 0.0);
  EXPECT_EQ(rec.PasswordCode, FactoryPasswordCodes);
  for (double slot : rec.ProgramSlot) EXPECT_EQ(slot, 255.0);
  for (const auto& name : rec.ProgramName) EXPECT_EQ(name, "Program Empty   ");
  EXPECT_EQ(rec.CurrentProgramName, "Factory Preset");
  EXPECT_TRUE(fx.Sent().empty());
  EXPECT_EQ(fx.st.DeviceRecords[0], DeviceSettings{});
  EXPECT_THROW(LoadFactoryPreset(fx.st, kUnitCount), std::out_of_range);
}

}  // namespace
}  // namespace velmark
