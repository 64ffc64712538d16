#include "model/image.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace velmark {
namespace {

TEST(ImageLayout, AreasTileTheImage) {
  EXPECT_EQ(kParamAreaStart + kParamAreaSize, kSystemAreaStart);
  EXPECT_EQ(kSystemAreaStart + kSystemAreaSize, kHostAreaStart);
  EXPECT_EQ(kHostAreaStart + kHostAreaSize, kImageSize);
  EXPECT_EQ(sizeof(ParamImage), 1651u);
}

TEST(ImageLayout, EqBandAddresses) {
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(EqBandAddr[i], 15 + 5 * i);
    EXPECT_EQ(EqBandAddr[13 + i], 103 + 5 * i);
    EXPECT_EQ(EqBandAddr[39 + i], 279 + 5 * i);
  }
  EXPECT_EQ(EqBandAddr[12], 75);
  EXPECT_EQ(EqBandAddr[25], 163);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(EqBandAddr[52 + i], 377 + 5 * i);
    EXPECT_EQ(EqBandAddr[85 + i], 641 + 5 * i);
  }
  EXPECT_EQ(EqBandAddr[95], 691);
}

TEST(ImageLayout, RoutingLevelAddresses) {
  const std::array<int, 16> in = {353, 354, 355, 356, 441, 442, 443, 444,
                                  529, 530, 531, 532, 617, 618, 619, 620};
  const std::array<int, 16> out = {705, 706, 707, 708, 721, 722, 723, 724,
                                   737, 738, 739, 740, 753, 754, 755, 756};
  EXPECT_EQ(InRouteLevelAddr, in);
  EXPECT_EQ(OutRouteLevelAddr, out);
}

// Paints every field into a map of owners; a second owner of any byte is a layout fault.
class ByteOwners {
 public:
  void Claim(int addr, int size, const std::string& what) {
    for (int a = addr; a < addr + size; ++a) {
      ASSERT_GE(a, 0);
      ASSERT_LT(a, kParamBytes) << what;
      EXPECT_EQ(owner_[a], "") << "byte " << a << " is both " << owner_[a] << " and " << what;
      owner_[a] = what;
    }
  }
  int Claimed(int from, int to) const {
    int n = 0;
    for (int a = from; a < to; ++a) n += owner_[a].empty() ? 0 : 1;
    return n;
  }

 private:
  std::array<std::string, kParamBytes> owner_;
};

TEST(ImageLayout, ChannelFieldsFillTheirBlockWithoutOverlap) {
  ByteOwners owners;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const std::string c = "ch" + std::to_string(ch) + " ";
    owners.Claim(LevelAddr[ch], 2, c + "level");
    owners.Claim(DelayAddr[ch], 3, c + "delay");
    owners.Claim(CompAddr[ch], kCompBytes, c + "comp");
    for (int i = 0; i <= BandLast[ch]; ++i) {
      owners.Claim(EqBandAddr[BandOf(ch, i)], kEqBandBytes, c + "band " + std::to_string(i));
    }
    owners.Claim(EqMaskAddr[ch], 2, c + "band mask");
    owners.Claim(NameAddr[ch], kChannelNameLength, c + "name");
    if (IsInputChannel(ch)) {
      owners.Claim(GateAddr[ch], kGateBytes, c + "gate");
    } else {
      const int out = ch - kInputCount;
      owners.Claim(InRouteAddr[out], 1, c + "route mask");
      for (int i = 0; i < 4; ++i) owners.Claim(InRouteLevelAddr[4 * out + i], 1, c + "route lvl");
      owners.Claim(LimAddr[ch], kLimBytes, c + "limiter");
      owners.Claim(XoverAddr[XoverIndex(ch, 0)], kXoverBytes, c + "high-pass");
      owners.Claim(XoverAddr[XoverIndex(ch, 1)], kXoverBytes, c + "low-pass");
    }
    // Every field lies inside the channel's own block and together they fill it.
    const int block = ChannelBlockAddr[ch];
    EXPECT_EQ(owners.Claimed(block, block + kChannelBlockSize), kChannelBlockSize) << c;
  }
  EXPECT_EQ(owners.Claimed(0, 8 * kChannelBlockSize), 8 * kChannelBlockSize);
  for (int row = 0; row < 4; ++row) {
    owners.Claim(OutRouteAddr[row], 1, "out route mask");
    for (int i = 0; i < 4; ++i) owners.Claim(OutRouteLevelAddr[4 * row + i], 1, "out route lvl");
  }
  owners.Claim(kProgramNameAddr, kProgramNameLength, "program name");
  owners.Claim(LevelAddr[8], 2, "Master G");
  owners.Claim(LevelAddr[9], 2, "Master V");
  for (int a : {PolarityMaskAddr, MuteMaskAddr, EqBypassMaskAddr, CompBypassMaskAddr,
                LimBypassMaskAddr, ProgramNumberAddr}) {
    owners.Claim(a, 1, "unit byte " + std::to_string(a));
  }
}

TEST(ImageLayout, InputLimiterEntriesPointAtOutputOne) {
  for (int ch = 0; ch < kInputCount; ++ch) EXPECT_EQ(LimAddr[ch], LimAddr[4]);
}

TEST(ImageLayout, SystemAndHostAddresses) {
  EXPECT_EQ(InputSourceAddr(0), 817);
  EXPECT_EQ(InputSourceAddr(1), 818);
  EXPECT_EQ(NoiseTypeAddr(1), 835);
  EXPECT_EQ(NoiseLevelAddr(1), 836);
  EXPECT_EQ(kPasswordCodeAddr + kPasswordLength - 1, 830);
  EXPECT_EQ(SystemAddr(18), kDelayUnitAddr);
  EXPECT_EQ(SystemAddr(23), kLockOnAddr);
  EXPECT_EQ(kShowCursorAddr + kChannelCount - 1, 1607);
}

TEST(ImageWords, BigEndianRoundTrip) {
  ParamImage img{};
  const struct {
    int value, high, low;
  } cases[] = {{0, 0, 0}, {300, 1, 44}, {20000, 0x4E, 0x20}, {255, 0, 255}, {65535, 255, 255}};
  for (const auto& c : cases) {
    WriteWord(img, 100, c.value);
    EXPECT_EQ(img[100], c.high) << c.value;
    EXPECT_EQ(img[101], c.low) << c.value;
    EXPECT_EQ(ReadWord(img, 100), c.value);
  }
  WriteWord(img, kImageSize - 2, 0x1234);  // last word of the host area
  EXPECT_EQ(img[kImageSize - 1], 0x34);
  EXPECT_EQ(img[99], 0);
  EXPECT_EQ(img[102], 0);
}

TEST(ImageMasks, BitHelpers) {
  std::uint8_t mask = 0;
  mask = WithMaskBit(mask, 7, true);
  mask = WithMaskBit(mask, 0, true);
  EXPECT_EQ(mask, 0x81);
  mask = WithMaskBit(mask, 0, true);  // setting twice keeps one bit
  EXPECT_EQ(mask, 0x81);
  mask = WithMaskBit(mask, 7, false);
  EXPECT_EQ(mask, 0x01);
  for (int n = 0; n < kChannelCount; ++n) EXPECT_EQ(MaskBit(0xA5, n), (0xA5 >> n) & 1) << n;

  const std::array<std::int16_t, kChannelCount> flags = {1, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(PackMask(flags), 0x85);
  const std::array<double, kChannelCount> all = {1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(PackMask(all), 0xFF);
}

}  // namespace
}  // namespace velmark
