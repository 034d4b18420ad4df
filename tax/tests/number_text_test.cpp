#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tax/text_convert.h"

namespace varnex {
namespace {

struct TextCase {
  double value;
  const char* text;
};

TEST(NumberToText, ShowsAtMost13SignificantDigits) {
  const TextCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {45, "45"},
      {1234.5, "1234.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {12345678.9, "12345678.9"},
      {-3.15, "-3.15"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {1e-7, "1e-007"},
      {0.000025, "2.5e-005"},
      {9999999999999, "9999999999999"},
      {9999999999999.5, "1e+013"},
      {10000000000000, "1e+013"},
      {123456789012.34, "123456789012.3"},
      {999999999999.99, "1000000000000"},
      {345.50, "345.5"},
      {540.00, "540"},
      {-100, "-100"},
      {1e100, "1e+100"},
      {-1.5e-300, "-1.5e-300"},
      {5e-324, "4.940656458412e-324"},
      {1.7976931348623157e308, "1.797693134862e+308"},
      {123456789012345.0, "1.234567890123e+014"},
      {0.00012345678901234, "0.0001234567890123"},
      {9255, "9255"},
      {4955.36, "4955.36"},
      {3597.446, "3597.446"},
      {22495.0, "22495"},
      {1214.13, "1214.13"},
      {0.5, "0.5"},
      {2.5e12, "2500000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value), c.text) << c.value;
}

TEST(NumberToText, RoundsHalfUpOnThe17DigitString) {
  // 0.12345678901245 is held as 0.12345678901244999...; its 17-digit string
  // 0.12345678901245000 has a 5 in the 14th place, so it rounds up, where
  // rounding the exact binary value to 13 digits would go down.
  EXPECT_EQ(NumberToText(0.12345678901245), "0.1234567890125");
  EXPECT_EQ(NumberToText(1.0000000000005), "1.000000000001");
  EXPECT_EQ(NumberToText(9.9999999999995), "10");
}

TEST(NumberToText, NamesInfinitiesAndNaN) {
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(NumberToText(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(NumberToText(std::nan("")), "nan");
}

TEST(NumberToText, TwoPlaceAmountsRoundTripThroughTextToNumber) {
  for (long long cents = -200000; cents <= 200000; cents += 7) {
    const double amount = static_cast<double>(cents) / 100.0;
    const std::string text = NumberToText(amount);
    EXPECT_EQ(TextToNumber(text), amount) << text;
  }
}

}  // namespace
}  // namespace varnex
