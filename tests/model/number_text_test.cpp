#include "model/number_text.h"

#include <gtest/gtest.h>

namespace velmark {
namespace {

TEST(NumberText, ShortestDecimalWithTheLocaleSeparator) {
  struct Case {
    double value;
    const char* dot;
    const char* comma;
  };
  const Case cases[] = {
      {0, "0", "0"},
      {-0.0, "0", "0"},
      {-21.3, "-21.3", "-21,3"},
      {87 / 10.0 - 30, "-21.3", "-21,3"},
      {12.52, "12.52", "12,52"},
      {12.52 * 0.34, "4.2568", "4,2568"},
      {340.998, "340.998", "340,998"},
      {-18, "-18", "-18"},
      {20000, "20000", "20000"},
      {0.1 + 0.2, "0.3", "0,3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberText(c.value, false), c.dot) << c.value;
    EXPECT_EQ(NumberText(c.value, true), c.comma) << c.value;
  }
}

TEST(ParseNumber, AcceptsSignDigitsAndOneSeparator) {
  EXPECT_EQ(ParseNumber("-12.34", false), -12.34);
  EXPECT_EQ(ParseNumber("-12,34", true), -12.34);
  EXPECT_EQ(ParseNumber("-12.34", true), -12.34);
  EXPECT_EQ(ParseNumber(" 7 ", false), 7.0);
  EXPECT_EQ(ParseNumber("+5", false), 5.0);
  EXPECT_EQ(ParseNumber(".5", false), 0.5);
  for (const char* bad : {"", " ", "-", "?", "12?", "1.2.3", "12,5", "abc", "1e3", "- 5"}) {
    EXPECT_FALSE(ParseNumber(bad, false).has_value()) << bad;
  }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

}  // namespace
}  // namespace velmark
