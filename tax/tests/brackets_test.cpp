#include "tax/brackets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tax/rounding.h"
#include "tax/text_convert.h"

namespace varnex {
namespace {

struct SalaryCase {
  double pay;
  double threshold;
  double tax;
};

TEST(SalaryTax, EveryBracketAndBoundary) {
  const SalaryCase cases[] = {
      {5000, 3500, 45},           {8000, 3500, 345},          {8000.01, 3500, 345},
      {10000, 3500, 745},         {12345.67, 3500, 1214.13},  {5000, 4800, 6},
      {83500.01, 3500, 22495},    {3500, 3500, 0},            {3000, 3500, 0},
      {0, 3500, 0},               {-100, 3500, 0},            {4800, 4800, 0},
      {6300, 4800, 45},           {3500.0000001, 3500, 0},    {3500.01, 3500, 0},
      {3500.02, 3500, 0},         {3500.17, 3500, 0.01},      {12500, 3500, 1245},
      {12500.01, 3500, 1245},     {38500, 3500, 7745},        {58500, 3500, 13745},
      {58500.01, 3500, 13745},    {83500, 3500, 22495},       {100003500, 3500, 44986495},
      {8000, 4800, 215},          {5000.4, 3500, 45.04},      {3600.46, 3500, 3.01},
      {25000, 3500, 4370},        {45000, 3500, 9695},        {70000, 3500, 17770},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SalaryTax(c.pay, c.threshold), c.tax) << c.pay << " / " << c.threshold;
}

// The top bracket is open: a sentinel bound of 1e8 would tax the richest
// months 0 and "correct" a right stored tax down to nothing.
TEST(SalaryTax, TopBracketIsOpen) {
  EXPECT_EQ(SalaryTax(100003501, 3500), 44986495.45);
  EXPECT_EQ(SalaryTax(1e12, 3500), RoundAmount((1e12 - 3500) * 0.45 - 13505, 2));
}

TEST(SalaryTax, NonFiniteGivesZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(SalaryTax(std::nan(""), 3500), 0);
  EXPECT_EQ(SalaryTax(inf, 3500), 0);
  EXPECT_EQ(SalaryTax(-inf, 3500), 0);
  EXPECT_EQ(SalaryTax(5000, std::nan("")), 0);
}

TEST(SalaryTax, IsContinuousAndNeverNegative) {
  for (const Bracket& row : BracketTable) {
    if (std::isinf(row.upperBound)) continue;
    const double below = SalaryTax(3500 + row.upperBound, 3500);
    const double above = SalaryTax(3500 + row.upperBound + 0.01, 3500);
    EXPECT_GE(above, below);
    EXPECT_LE(above - below, 0.01) << row.upperBound;
  }
  for (int pay = -1000; pay < 200000; pay += 37) EXPECT_GE(SalaryTax(pay, 3500), 0) << pay;
}

struct BonusCase {
  double bonus;
  double tax;
};

TEST(BonusTax, EveryBracketAndBoundary) {
  const BonusCase cases[] = {
      {36000, 3495},          {18000, 540},           {54000.01, 10245},
      {1, 0.03},              {18000.000003, 1695},   {18000.000001, 540},
      {1200000000, 539986495}, {18000.01, 1695},      {54000, 5295},
      {24000, 2295},          {50000, 4895},          {0, 0},
      {-5, 0},                {0.0000012, 0},         {0.0000013, 0},
      {108000, 21045},        {420000, 103995},       {660000, 195245},
      {960000, 330495},       {960000.01, 418495},
  };
  for (const auto& c : cases) EXPECT_EQ(BonusTax(c.bonus), c.tax) << c.bonus;
}

TEST(BonusTax, TopBracketIsOpenButNonFiniteGivesZero) {
  EXPECT_EQ(BonusTax(1200000001), RoundAmount(1200000001 * 0.45 - 13505, 2));
  EXPECT_EQ(BonusTax(1200000012), 539986500.4);
  EXPECT_EQ(BonusTax(std::nan("")), 0);
  EXPECT_EQ(BonusTax(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(BonusTax(-std::numeric_limits<double>::infinity()), 0);
}

TEST(BracketTable, RowsTileTheLine) {
  EXPECT_EQ(BracketTable.front().lowerBound, 0);
  for (std::size_t i = 1; i < BracketTable.size(); ++i)
    EXPECT_EQ(BracketTable[i].lowerBound, BracketTable[i - 1].upperBound);
  EXPECT_EQ(TextToNumber(BracketTable[6].quickDeduction), 13505);
}

// The calculator's figures: tax of the amount rounded to 2 places, rounded
// again, and the after-tax amount taken from the unrounded amount.
struct CalculatorCase {
  const char* amount;
  bool bonus;
  const char* threshold;
  const char* tax;
  const char* after_tax;
};

TEST(Calculator, FiguresOfTheWorkedRows) {
  const CalculatorCase cases[] = {
      {"10000", false, "3500", "745", "9255"},     {"8000", false, "4800", "215", "7785"},
      {"5000.4", false, "3500", "45.04", "4955.36"}, {"3600.456", false, "3500", "3.01", "3597.446"},
      {"3500", false, "3500", "0", "3500"},        {"", false, "3500", "0", "0"},
      {"24000", true, "3500", "2295", "21705"},    {"50000", true, "3500", "4895", "45105"},
      {"-", false, "3500", "0", "0"},              {".", true, "3500", "0", "0"},
      {"-100", false, "3500", "0", "-100"},
  };
  for (const auto& c : cases) {
    const double a = TextToNumber(c.amount);
    const double p = RoundAmount(a, 2);
    const double tax = RoundAmount(c.bonus ? BonusTax(p) : SalaryTax(p, TextToNumber(c.threshold)), 2);
    EXPECT_EQ(NumberToText(tax), c.tax) << c.amount;
    EXPECT_EQ(NumberToText(a - tax), c.after_tax) << c.amount;
  }
}

}  // namespace
}  // namespace varnex
