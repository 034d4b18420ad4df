#include "tax/text_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varnex {
namespace {

struct NumberCase {
  const char* text;
  double value;
};

TEST(TextToNumber, TakesTheLongestNumericPrefix) {
  const NumberCase cases[] = {
      {"1234.5", 1234.5}, {" 12 ", 12},     {"12abc", 12},     {"1,234", 1},
      {"", 0},            {"   ", 0},       {"abc", 0},        {"-3.15", -3.15},
      {"+5", 5},          {"- 5", 0},       {".5", 0.5},       {"5.", 5},
      {"1e3", 1000},      {"1E3", 1000},    {"1d3", 1000},     {"1D3", 1000},
      {"2E-2", 0.02},     {"1e", 1},        {"1e+", 1},        {"1+5", 1},
      {"0x1A", 0},        {"１２３４．５", 1234.5}, {"　１２", 12}, {"１，２３４", 1},
      {"￥100", 0},       {"\t\n\v\f\r7", 7}, {".", 0},        {"-", 0},
      {"+.", 0},          {"1.2.3", 1.2},   {"..5", 0},        {"inf", 0},
      {"nan", 0},         {"1e3.5", 1000},  {"-0", 0},         {"00012.50", 12.5},
      {"1.5e+2x", 150},   {"3%", 3},        {"１ｅ２", 100},   {"－８", -8},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextToNumber, ConvertsToTheNearestDouble) {
  EXPECT_EQ(TextToNumber("0.1"), 0.1);
  EXPECT_EQ(TextToNumber("2.675"), 2.675);
  EXPECT_EQ(TextToNumber("9007199254740993"), 9007199254740992.0);  // ties to even
  EXPECT_EQ(TextToNumber("123456789012345678901234567890"), 1.2345678901234568e29);
  EXPECT_TRUE(std::signbit(TextToNumber("-0")));
}

TEST(TextToNumber, OutOfRangeGivesInfinityOrZero) {
  EXPECT_EQ(TextToNumber("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextToNumber("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextToNumber("1e-400"), 0.0);
  EXPECT_EQ(TextToNumber("0.000001e-999999999999"), 0.0);
  EXPECT_EQ(TextToNumber("1e99999999999999999999"), std::numeric_limits<double>::infinity());
}

struct IntegerCase {
  const char* text;
  std::int32_t value;
};

TEST(TextToInteger, ReadsDigitsAndWrapsModulo2To32) {
  const IntegerCase cases[] = {
      {"12.9", 12},          {"-3.7", -3},          {"12abc", 12},
      {"1e3", 1},            {"１２", 12},          {"", 0},
      {"4294967296", 0},     {"4294967297", 1},     {"2147483647", 2147483647},
      {"2147483648", INT32_MIN}, {"-2147483648", INT32_MIN}, {"  +42", 42},
      {"- 1", 0},            {"abc", 0},            {"99999999999", 1215752191},
      {"　－７", -7},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
}

TEST(NumberToInteger, TruncatesAndKeepsTheLow32Bits) {
  EXPECT_EQ(NumberToInteger(2.9), 2);
  EXPECT_EQ(NumberToInteger(-2.9), -2);
  EXPECT_EQ(NumberToInteger(12.0), 12);
  EXPECT_EQ(NumberToInteger(4294967296.0 + 5), 5);
  EXPECT_EQ(NumberToInteger(2147483648.0), INT32_MIN);
  EXPECT_EQ(NumberToInteger(std::nan("")), 0);
  EXPECT_EQ(NumberToInteger(1e300), 0);
  EXPECT_EQ(NumberToInteger(-std::numeric_limits<double>::infinity()), 0);
}

TEST(IntegerToText, WritesPlainDigits) {
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(12), "12");
  EXPECT_EQ(IntegerToText(-7), "-7");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace varnex
