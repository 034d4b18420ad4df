#pragma once

#include <array>
#include <string_view>

#include "tax/amount.h"

namespace varnex {

// One progressive bracket: it holds the values that exceed lowerBound and do
// not exceed upperBound (by the tolerance rule). The quick deduction is kept
// as text and read with TextToNumber whenever its row is used.
struct Bracket {
  double lowerBound;
  double upperBound;
  double rate;
  std::string_view quickDeduction;
};

// The seven brackets in table order. The top bracket is open: it holds every
// finite value above 80000.
extern const std::array<Bracket, 7> BracketTable;

// The divisor that places a one-time annual bonus in the table.
inline constexpr double BonusDivisor = 12.0;

// Tax on one month's pay, after the monthly threshold is taken off; rounded
// to 2 places, or exactly 0 when no bracket holds the base (at or below the
// threshold, NaN, infinities).
Amount SalaryTax(Amount pay, Amount threshold);

// Tax on a one-time annual bonus: the bracket is chosen by a twelfth of the
// bonus, the rate applies to the whole bonus and the quick deduction is taken
// off once. No threshold applies.
Amount BonusTax(Amount bonus);

}  // namespace varnex
