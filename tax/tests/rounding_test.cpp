#include "tax/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tax/amount.h"
#include "tax/text_convert.h"

namespace varnex {
namespace {

struct RoundCase {
  double in;
  double out;
};

TEST(RoundAmount, RoundsHalfAwayFromZeroAfterTheNudge) {
  const RoundCase cases[] = {
      {1.005, 1.01},       {2.675, 2.68},        {0.285, 0.29},     {0.125, 0.13},
      {0.005, 0.01},       {-0.005, -0.01},      {-3.155, -3.16},   {1234.565, 1234.57},
      {256.025, 256.02},   {1.0049999, 1},       {345.002, 345},    {22495.0045, 22495},
      {1214.134, 1214.13}, {10245.002, 10245},   {163.835, 163.84}, {0.004999, 0},
      {-0.004999, -0.0},   {99999999.995, 100000000}, {1e20, 1e20},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundAmount(c.in, 2), c.out) << c.in;
}

TEST(RoundAmount, KeepsZeroSignAndNaN) {
  EXPECT_TRUE(std::signbit(RoundAmount(-0.0, 2)));
  EXPECT_EQ(NumberToText(RoundAmount(-0.0, 2)), "0");
  EXPECT_FALSE(std::signbit(RoundAmount(0.0, 2)));
  EXPECT_TRUE(std::isnan(RoundAmount(std::nan(""), 2)));
  EXPECT_EQ(RoundAmount(std::numeric_limits<double>::infinity(), 2),
            std::numeric_limits<double>::infinity());
}

TEST(RoundAmount, OtherPlaces) {
  EXPECT_EQ(RoundAmount(2.5, 0), 3);
  EXPECT_EQ(RoundAmount(-2.5, 0), -3);
  EXPECT_EQ(RoundAmount(1.23456, 4), 1.2346);
}

// Every amount with at most two places below 163.84 comes back unchanged:
// the nudge is what keeps values held just below their decimal in place.
TEST(RoundAmount, LeavesTwoPlaceAmountsAlone) {
  for (int cents = -16384; cents < 16384; ++cents) {
    const double amount = cents / 100.0;
    EXPECT_EQ(RoundAmount(amount, 2), amount) << amount;
  }
}

TEST(AmountComparison, UsesTheTolerance) {
  EXPECT_FALSE(Exceeds(1500.00000005, 1500));
  EXPECT_TRUE(Exceeds(1500.0000002, 1500));
  EXPECT_FALSE(Exceeds(1500, 1500.0000002));
  EXPECT_FALSE(Differs(45, 45.00000001));
  EXPECT_TRUE(Differs(45, 45.01));
  EXPECT_TRUE(Differs(45.01, 45));
  EXPECT_FALSE(Differs(45.00000005, 45));
  EXPECT_TRUE(Differs(45.004, 45));
  const double nan = std::nan("");
  EXPECT_FALSE(Exceeds(nan, 0));
  EXPECT_FALSE(Differs(nan, 0));
  EXPECT_FALSE(Differs(std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::infinity()));
}

}  // namespace
}  // namespace varnex
