#include "tax/brackets.h"

#include <cmath>
#include <limits>

#include "tax/rounding.h"
#include "tax/text_convert.h"

namespace varnex {

const std::array<Bracket, 7> BracketTable = {{
    {0, 1500, 0.03, "0"},
    {1500, 4500, 0.10, "105"},
    {4500, 9000, 0.20, "555"},
    {9000, 35000, 0.25, "1005"},
    {35000, 55000, 0.30, "2755"},
    {55000, 80000, 0.35, "5505"},
    {80000, std::numeric_limits<double>::infinity(), 0.45, "13505"},
}};

namespace {

bool Holds(const Bracket& row, double value) {
  // An infinite value would "not exceed" the open top bound (inf - inf is
  // NaN), so only finite values are placed in the table at all.
  return std::isfinite(value) && Exceeds(value, row.lowerBound) && !Exceeds(value, row.upperBound);
}

// Runs all rows, without an early exit; the last matching row's tax stands.
template <typename TaxOfRow>
Amount Apply(double placed, TaxOfRow tax_of_row) {
  Amount result = 0;
  for (const Bracket& row : BracketTable)
    if (Holds(row, placed)) result = RoundAmount(tax_of_row(row), 2);
  return result;
}

}  // namespace

Amount SalaryTax(Amount pay, Amount threshold) {
  const double base = pay - threshold;
  return Apply(base, [base](const Bracket& row) {
    const double gross = base * row.rate;
    return gross - TextToNumber(row.quickDeduction);
  });
}

Amount BonusTax(Amount bonus) {
  const double twelfth = bonus / BonusDivisor;
  return Apply(twelfth, [bonus](const Bracket& row) {
    const double gross = bonus * row.rate;
    return gross - TextToNumber(row.quickDeduction);
  });
}

}  // namespace varnex
