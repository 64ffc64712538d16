// Response export: the CSV text of a decoded configuration read back as numbers, and the
// channel names and curve choices the exports use.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "model/defaults.h"
#include "report/decoded_unit.h"
#include "report/response_csv.h"

namespace velmark {
namespace {

struct Point {
  double hz, db;
};

struct ReadBack {
  std::vector<std::string> comments;
  std::vector<Point> points;
  bool well_formed = true;  // every other line is exactly "number number"
};

// The file as a measurement program reads it: "*" lines are comments, the rest number pairs.
ReadBack ReadCsv(const std::string& text) {
  ReadBack r;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] == '*') {
      r.comments.push_back(line);
      continue;
    }
    Point p{};
    const char* end = line.data() + line.size();
    auto a = std::from_chars(line.data(), end, p.hz);
    if (a.ec != std::errc() || a.ptr == end || *a.ptr != ' ') {
      r.well_formed = false;
      continue;
    }
    auto b = std::from_chars(a.ptr + 1, end, p.db);
    if (b.ec != std::errc() || b.ptr != end) r.well_formed = false;
    r.points.push_back(p);
  }
  return r;
}

// Where the curve crosses `level` going up (rising) or down, linearly between grid points.
double Crossing(const std::vector<Point>& pts, double level, bool rising) {
  for (std::size_t i = 1; i < pts.size(); ++i) {
    const Point& a = pts[i - 1];
    const Point& b = pts[i];
    const bool crosses = rising ? a.db < level && b.db >= level : a.db >= level && b.db < level;
    if (crosses) return a.hz + (level - a.db) / (b.db - a.db) * (b.hz - a.hz);
  }
  return NAN;
}

// The factory image with band 8 of input A (the 1 kHz bell) set to `gain_code`, Q code 22.
ParamImage BellImage(int gain_code) {
  ParamImage img{};
  std::copy(DefaultImage.begin(), DefaultImage.end(), img.begin());
  const int a = EqBandAddr[BandOf(0, 7)];
  img[a] = 0;  // Bell
  WriteWord(img, a + 1, 1000);
  img[a + 3] = 22;  // EqQTable[22] = 1.4
  img[a + 4] = static_cast<std::uint8_t>(gain_code);
  return img;
}

class ResponseExportTest : public ::testing::Test {
 protected:
  std::string Csv(const ResponseChoice& choice) {
    return ResponseCsv(
        ExportedCurve(unit.Responses(), choice),
        ResponseComments("show.C44", choice, unit.State().ChannelNames[0][choice.channel]));
  }
  DecodedUnit unit;
};

// A bell of +6 dB at 1 kHz with Q 1.4: +6 dB at 1000 Hz, and half the gain where Q = f0 / (f2 −
// f1) with f1 · f2 = f0² puts it: f1,2 = f0 (√(1 + 4Q²) ∓ 1) / 2Q.
TEST_F(ResponseExportTest, BellAtOneKilohertzReadsBackWithItsGainAndBandwidth) {
  unit.Decode(BellImage(42));  // 42 / 2 − 15 = +6 dB
  const ReadBack r = ReadCsv(Csv({0, std::nullopt}));
  ASSERT_TRUE(r.well_formed);
  ASSERT_EQ(r.points.size(), static_cast<std::size_t>(kGridPoints));
  EXPECT_EQ(r.points.front().hz, 20);
  EXPECT_EQ(r.points.back().hz, 20000);
  int at_1k = 0;
  for (const Point& p : r.points) {
    if (p.hz == 1000) {
      EXPECT_EQ(p.db, 6.0);
      ++at_1k;
    }
  }
  EXPECT_EQ(at_1k, 2);  // the grid holds 1000 Hz twice
  const double q = 1.4, root = std::sqrt(1 + 4 * q * q);
  const double f1 = 1000 * (root - 1) / (2 * q), f2 = 1000 * (root + 1) / (2 * q);
  EXPECT_NEAR(Crossing(r.points, 3.0, true), f1, 0.002 * f1);
  EXPECT_NEAR(Crossing(r.points, 3.0, false), f2, 0.002 * f2);
  // Every value is the stored channel sum to the four decimals written.
  const Curve& stored = unit.Responses().ChannelResponse[0];
  for (int p = 0; p < kGridPoints; ++p) {
    ASSERT_NEAR(r.points[p].db, stored[p], 0.00005) << FreqGrid[p];
    ASSERT_EQ(r.points[p].hz, FreqGrid[p]);
  }
}

// Output 1 with input A: its own curve (crossovers at 20 Hz and 16 kHz) plus the bell; alone,
// output 1 knows nothing of the input's bell.
TEST_F(ResponseExportTest, WithInputAddsTheInputsEqToTheOutput) {
  unit.Decode(BellImage(18));  // −6 dB
  const ReadBack own = ReadCsv(Csv({4, std::nullopt}));
  const ReadBack with = ReadCsv(Csv({4, 0}));
  ASSERT_EQ(own.points.size(), with.points.size());
  for (std::size_t p = 0; p < own.points.size(); ++p) {
    if (own.points[p].hz != 1000) continue;
    EXPECT_NEAR(with.points[p].db - own.points[p].db, -6.0, 0.0001);
    EXPECT_NEAR(own.points[p].db, 0.0, 0.01);
  }
  EXPECT_NE(with.comments[2].find("Out 1 \"Out 1\" with the EQ of In A"), std::string::npos)
      << with.comments[2];
}

TEST(ResponseCsvTest, CommentsStayOnOneLineAndNamesArePrintable) {
  Curve flat{};
  flat[5] = -0.00001;  // rounds to zero: written without a sign
  const std::string text = ResponseCsv(
      flat, ResponseComments("a\nb.C44", {6, std::nullopt}, std::string("X\x01y  ", 5)));
  const ReadBack r = ReadCsv(text);
  ASSERT_TRUE(r.well_formed);
  ASSERT_EQ(r.comments.size(), 5u);
  EXPECT_EQ(r.comments[1], "* Source: a?b.C44");
  EXPECT_EQ(r.comments[2], "* Channel: Out 3 \"X?y\"");
  EXPECT_NE(text.find("\n25 0.0000\n"), std::string::npos);
}

TEST(ResponseChannelsTest, TabNamesParseBothWaysAndNothingElseDoes) {
  const struct {
    const char* word;
    std::optional<int> channel;
  } cases[] = {{"A", 0},
               {"d", 3},
               {"1", 4},
               {"4", 7},
               {"E", std::nullopt},
               {"0", std::nullopt},
               {"5", std::nullopt},
               {"A1", std::nullopt},
               {"", std::nullopt},
               {"In A", std::nullopt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(ParseChannelTabName(c.word), c.channel);
  }
  for (int ch = 0; ch < kChannelCount; ++ch) EXPECT_EQ(ParseChannelTabName(ChannelTabName(ch)), ch);
  EXPECT_EQ(ChannelLongName(2), "In C");
  EXPECT_EQ(ChannelLongName(5), "Out 2");
  EXPECT_EQ(ChannelTabName(8), "");
}

}  // namespace
}  // namespace velmark
