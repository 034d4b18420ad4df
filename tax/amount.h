#pragma once

// Amounts of money are doubles, in yuan, and are never compared exactly:
// every comparison goes through the tolerance below.
namespace varnex {

using Amount = double;

inline constexpr double AmountTolerance = 1e-7;

// x exceeds y when x - y, as a double, is above the tolerance. A difference
// that is not a number exceeds nothing.
inline bool Exceeds(Amount x, Amount y) {
  const double d = x - y;
  return d > AmountTolerance;
}

// x differs from y when |x - y| is above the tolerance; NaN differs from nothing.
inline bool Differs(Amount x, Amount y) {
  const double d = x - y;
  return d > AmountTolerance || -d > AmountTolerance;
}

}  // namespace varnex
