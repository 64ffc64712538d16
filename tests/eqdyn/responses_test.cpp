#include "eqdyn/responses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "eqdyn/band_response.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

constexpr int kGridLines = 37;  // 1 + 12 horizontal, 24 vertical

class Responses : public ::testing::Test {
 protected:
  void SetUp() override {
    state_->CurUnit = 3;
    for (int b = 0; b < kBandCount; ++b) {
      rec().EqFreq[b] = 1000;
      rec().EqQ[b] = 2.4;
    }
    for (int x = 0; x < kXoverCount; ++x) rec().XoverFreq[x] = 1000;
  }
  DeviceSettings& rec() { return state_->DeviceRecords[3]; }
  UnitResponses& resp() { return state_->Responses(3); }
  void Bell(int band, double freq, double gain) {
    rec().EqType[band] = 0;
    rec().EqFreq[band] = freq;
    rec().EqGain[band] = gain;
  }

  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
};

TEST_F(Responses, InputSumIsItsBandsInOrder) {
  const int ch = 1;
  for (int k = 0; k <= BandLast[ch]; ++k) Bell(BandOf(ch, k), 100.0 * (k + 1), k - 6.0);
  for (int k = 0; k <= BandLast[ch]; ++k)
    ASSERT_TRUE(ComputeBandResponse(*state_, BandOf(ch, k), nullptr));
  for (int p = 0; p < kGridPoints; ++p) {
    double want = 0.0;
    for (int k = 0; k <= BandLast[ch]; ++k) {
      const double f0 = 100.0 * (k + 1), g = k - 6.0;
      const double kw = std::fabs(g) > 6 ? 1 + (std::fabs(g) - 6) * 1.1 / 9 : 1;
      const double t = f0 / FreqGrid[p] - FreqGrid[p] / f0;
      want += g / (1 + (2.4 / kw) * (2.4 / kw) * t * t);
    }
    ASSERT_NEAR(resp().ChannelResponse[ch][p], want, 1e-9) << p;
  }
}

TEST_F(Responses, OutputSumStartsWithBothCrossoverFilters) {
  const int ch = 6;
  rec().XoverType[XoverIndex(ch, 0)] = 6;  // -24dB/oct Bw high-pass at 100 Hz
  rec().XoverFreq[XoverIndex(ch, 0)] = 100;
  rec().XoverType[XoverIndex(ch, 1)] = 7;  // -24dB/oct Lz low-pass at 5 kHz
  rec().XoverFreq[XoverIndex(ch, 1)] = 5000;
  Bell(BandOf(ch, 4), 1000, 9);
  ComputeBandResponse(*state_, BandOf(ch, 4), nullptr);
  ComputeXoverResponse(*state_, XoverIndex(ch, 0), nullptr);
  ComputeXoverResponse(*state_, XoverIndex(ch, 1), nullptr);
  // BW4 high-pass at 100 Hz, twice BW2 low-pass at 5 kHz, bell +9 dB (k = 1 + 3·1.1/9) at 1 kHz.
  const auto hp = [](double f) { return -10 * std::log10(1 + std::pow(100 / f, 8)); };
  const auto lp = [](double f) { return -20 * std::log10(1 + std::pow(f / 5000, 4)); };
  const auto bell = [](double f) {
    const double p = 2.4 / (1 + 3 * 1.1 / 9);
    return 9 / (1 + p * p * std::pow(1000 / f - f / 1000, 2));
  };
  for (int p : {0, 300, 780, 1200, 1583}) {
    const double f = FreqGrid[p];
    EXPECT_NEAR(resp().ChannelResponse[ch][p], hp(f) + lp(f) + bell(f), 1e-9) << f;
  }
}

TEST_F(Responses, SwitchedOffBandContributesNothing) {
  const int b = BandOf(2, 5);
  Bell(b, 500, 12);
  ComputeBandResponse(*state_, b, nullptr);
  ASSERT_NEAR(resp().ChannelResponse[2][480], 12.0, 1e-12);  // 500 Hz
  rec().EqBandBypass[b] = 1.0;
  ComputeBandResponse(*state_, b, nullptr);
  for (int p = 0; p < kGridPoints; ++p) {
    ASSERT_EQ(resp().BandResponse[b][p], 0.0);
    ASSERT_EQ(resp().ChannelResponse[2][p], 0.0);
  }
}

TEST_F(Responses, BypassedEqualiserDropsOutButKeepsItsBands) {
  const int ch = 5, b = BandOf(ch, 0);
  rec().XoverType[XoverIndex(ch, 1)] = 2;  // -12dB/oct Bw low-pass at 1 kHz
  ComputeXoverResponse(*state_, XoverIndex(ch, 1), nullptr);
  Bell(b, 2000, -8);
  rec().EqBypass[ch] = 1;
  ComputeBandResponse(*state_, b, nullptr);
  const double bell_at_2k = resp().BandResponse[b][931];  // FreqGrid[931] = 2000
  ASSERT_EQ(FreqGrid[931], 2000);
  EXPECT_NEAR(bell_at_2k, -8.0, 1e-12);
  EXPECT_EQ(resp().ChannelResponse[ch][931], resp().XoverResponse[XoverIndex(ch, 1)][931]);
  rec().EqBypass[ch] = 0;
  ComputeBandResponse(*state_, BandOf(ch, 1), nullptr);  // any band re-sums the channel
  EXPECT_EQ(resp().ChannelResponse[ch][931],
            resp().XoverResponse[XoverIndex(ch, 1)][931] + bell_at_2k);
}

TEST_F(Responses, OutputWithoutCutOffAndBandsIsFlat) {
  for (int b = 0; b < kBandCount; ++b) Bell(b, 1000, 5);  // other channels are not flat
  for (int k = 0; k <= BandLast[7]; ++k) rec().EqBandBypass[BandOf(7, k)] = 1;
  RecomputeAll(*state_);
  for (int p = 0; p < kGridPoints; ++p) ASSERT_EQ(resp().ChannelResponse[7][p], 0.0);
  EXPECT_NE(resp().ChannelResponse[6][780], 0.0);
}

TEST_F(Responses, OnlyTheChangedChannelIsResummed) {
  for (auto& c : resp().ChannelResponse) c.fill(99.0);
  Bell(BandOf(2, 3), 300, 6);
  ComputeBandResponse(*state_, BandOf(2, 3), nullptr);
  rec().XoverType[XoverIndex(5, 0)] = 1;
  ComputeXoverResponse(*state_, XoverIndex(5, 0), nullptr);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const bool changed = ch == 2 || ch == 5;
    EXPECT_EQ(resp().ChannelResponse[ch][100] != 99.0, changed) << "channel " << ch;
  }
}

TEST_F(Responses, UnknownSlopeKeepsTheStoredFilterButResums) {
  const int x = XoverIndex(4, 1);
  rec().XoverType[x] = 9;
  ComputeXoverResponse(*state_, x, nullptr);
  const Curve before = resp().XoverResponse[x];
  rec().XoverType[x] = 13;
  Bell(BandOf(4, 2), 700, 3);
  ComputeBandResponse(*state_, BandOf(4, 2), nullptr);
  ASSERT_TRUE(ComputeXoverResponse(*state_, x, nullptr));
  EXPECT_EQ(resp().XoverResponse[x], before);
  EXPECT_EQ(resp().ChannelResponse[4][500], before[500] + resp().BandResponse[BandOf(4, 2)][500]);
}

TEST_F(Responses, IndexesOutsideTheTablesChangeNothing) {
  EXPECT_FALSE(ComputeBandResponse(*state_, -1, nullptr));
  EXPECT_FALSE(ComputeBandResponse(*state_, kBandCount, nullptr));
  EXPECT_FALSE(ComputeXoverResponse(*state_, 8, nullptr));
  state_->CurUnit = kUnitCount;
  EXPECT_FALSE(ComputeBandResponse(*state_, 0, nullptr));
  RecomputeAll(*state_);  // no unit: nothing to do, nothing thrown
}

TEST_F(Responses, ComputationRedrawsTheGraph) {
  ui::PictureBox picture;
  picture.SetScale(12600, 2880);
  GraphCanvas canvas;
  canvas.Picture1 = &picture;
  Bell(BandOf(0, 0), 1000, 6);
  ComputeBandResponse(*state_, BandOf(0, 0), &canvas);
  ASSERT_EQ(picture.DisplayList().size(), static_cast<std::size_t>(kGridLines + kGridPoints));
  EXPECT_EQ(picture.DisplayList().back().colour, ChannelColour[0]);
  state_->DrawSuppressed = true;
  ComputeXoverResponse(*state_, 3, &canvas);
  EXPECT_EQ(picture.DisplayList().size(), static_cast<std::size_t>(kGridLines));
  state_->DrawSuppressed = false;
  RecomputeAll(*state_, &canvas);
  EXPECT_EQ(picture.DisplayList().size(), static_cast<std::size_t>(kGridLines));
  EXPECT_FALSE(state_->DrawSuppressed);
}

// Values a damaged image or file can leave in a record, next to ordinary ones.
class DamagedRecords {
 public:
  explicit DamagedRecords(unsigned seed) : rng_(seed) {}
  double Freq() { return Pick({0.0, -1.0, kNan, kInf, 1e-300, 1e12}, Uniform(0, 65535)); }
  double Gain() { return Pick({kNan, kInf, -kInf, 1e6, -1e6}, Uniform(0, 255) / 2.0 - 15); }
  double Q() { return Pick({0.0, -3.0, kNan, kInf, 1e9}, Uniform(0, 100) * 0.05 + 0.1); }
  double Flag() { return Pick({kNan, 2.0, -1.0}, Uniform(0, 1)); }
  double Slope() { return Pick({kNan, -1.0, 13.0, 255.0, 1e20, 2.5}, Uniform(0, 12)); }
  std::int16_t Int(int lo, int hi) { return static_cast<std::int16_t>(Uniform(lo, hi)); }

 private:
  static constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double Pick(std::initializer_list<double> odd, double ordinary) {
    if (Uniform(0, 3) != 0) return ordinary;
    return odd.begin()[Uniform(0, static_cast<int>(odd.size()) - 1)];
  }
  std::mt19937 rng_;
};

TEST_F(Responses, DamagedRecordsGiveFiniteResponses) {
  DamagedRecords gen(20240611);
  for (int round = 0; round < 500; ++round) {  // 48000 bands, 4000 filters
    for (int b = 0; b < kBandCount; ++b) {
      rec().EqType[b] = gen.Int(-3, 25);
      rec().EqFreq[b] = gen.Freq();
      rec().EqGain[b] = gen.Gain();
      rec().EqQ[b] = gen.Q();
      rec().EqBandBypass[b] = gen.Flag();
    }
    for (int x = 0; x < kXoverCount; ++x) {
      rec().XoverFreq[x] = gen.Freq();
      rec().XoverType[x] = gen.Slope();
    }
    for (auto& flag : rec().EqBypass) flag = gen.Int(-1, 2);
    RecomputeAll(*state_);
    for (const auto& c : resp().ChannelResponse) {
      for (double v : c) ASSERT_TRUE(std::isfinite(v)) << "round " << round;
    }
    for (const auto& c : resp().BandResponse) {
      for (double v : c) ASSERT_TRUE(std::isfinite(v)) << "round " << round;
    }
    for (const auto& c : resp().XoverResponse) {
      for (double v : c) ASSERT_TRUE(std::isfinite(v)) << "round " << round;
    }
  }
}

TEST_F(Responses, FullRecomputationEqualsTheSequenceOfChanges) {
  DamagedRecords gen(7);
  for (int b = 0; b < kBandCount; ++b) {
    rec().EqType[b] = gen.Int(0, 16);
    rec().EqFreq[b] = gen.Int(20, 20000);
    rec().EqGain[b] = gen.Int(0, 60) / 2.0 - 15;
    rec().EqQ[b] = 0.1 + 0.05 * gen.Int(0, 100);
    rec().EqBandBypass[b] = gen.Int(0, 4) == 0 ? 1 : 0;
  }
  for (int x = 0; x < kXoverCount; ++x) {
    rec().XoverFreq[x] = gen.Int(20, 20000);
    rec().XoverType[x] = gen.Int(0, 12);
  }
  rec().EqBypass[2] = 1;
  rec().EqBypass[6] = 1;
  auto other = std::make_unique<ProgramState>();
  other->CurUnit = 3;
  other->DeviceRecords[3] = rec();
  RecomputeAll(*state_);
  for (int b = 0; b < kBandCount; ++b) ComputeBandResponse(*other, b, nullptr);
  for (int x = 0; x < kXoverCount; ++x) ComputeXoverResponse(*other, x, nullptr);
  const UnitResponses& seq = other->Responses(3);
  EXPECT_EQ(seq.BandResponse, resp().BandResponse);
  EXPECT_EQ(seq.XoverResponse, resp().XoverResponse);
  EXPECT_EQ(seq.ChannelResponse, resp().ChannelResponse);
}

// Curves kept from an earlier computation are exact: after any run of small changes, applied by
// a full recomputation or by the single-band and single-filter edits, every stored curve is bit
// for bit what a first computation of the same record gives.
TEST_F(Responses, KeptCurvesEqualAFirstComputation) {
  DamagedRecords gen(99);
  RecomputeAll(*state_);
  for (int round = 0; round < 80; ++round) {
    const bool edits = round % 2 == 1;
    for (int n = gen.Int(1, 4); n > 0; --n) {
      const int b = gen.Int(0, kBandCount - 1);
      const int x = b % kXoverCount;
      switch (gen.Int(0, 6)) {
        case 0:
          rec().EqType[b] = gen.Int(-3, 25);
          break;
        case 1:
          rec().EqFreq[b] = gen.Freq();
          break;
        case 2:
          rec().EqGain[b] = gen.Int(0, 1) ? -0.0 : gen.Gain();
          break;
        case 3:
          rec().EqQ[b] = gen.Q();
          break;
        case 4:
          rec().EqBandBypass[b] = gen.Flag();
          break;
        case 5:
          rec().XoverFreq[x] = gen.Freq();
          rec().XoverType[x] = gen.Int(0, 12);
          if (edits) ComputeXoverResponse(*state_, x, nullptr);
          continue;
        default:
          rec().EqBypass[b % kChannelCount] ^= 1;
          break;
      }
      if (edits) ComputeBandResponse(*state_, b, nullptr);
    }
    RecomputeAll(*state_);  // after edits too, as a decode would: an EQ bypass has no edit
    auto first = std::make_unique<ProgramState>();
    first->CurUnit = 3;
    first->DeviceRecords[3] = rec();
    RecomputeAll(*first);
    const UnitResponses& want = first->Responses(3);
    ASSERT_EQ(std::memcmp(&want.BandResponse, &resp().BandResponse, sizeof want.BandResponse), 0)
        << "round " << round;
    ASSERT_EQ(std::memcmp(&want.XoverResponse, &resp().XoverResponse, sizeof want.XoverResponse), 0)
        << "round " << round;
    ASSERT_EQ(
        std::memcmp(&want.ChannelResponse, &resp().ChannelResponse, sizeof want.ChannelResponse), 0)
        << "round " << round;
  }
}

}  // namespace
}  // namespace velmark
