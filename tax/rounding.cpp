#include "tax/rounding.h"

#include <cmath>

namespace varnex {
namespace {

double PowerOfTen(std::int32_t places) {
  double scale = 1.0;
  for (std::int32_t i = 0; i < places; ++i) scale *= 10.0;
  for (std::int32_t i = 0; i > places; --i) scale /= 10.0;
  return scale;
}

}  // namespace

double RoundAmount(double x, std::int32_t places) {
  if (x == 0.0 || std::isnan(x)) return x;
  const bool negative = x < 0;
  const double s = std::fabs(x);
  const double scale = PowerOfTen(places);
  const double y = s * scale;
  const double z = y + 1e-12;
  double k = std::trunc(z);  // the integer part, kept in a double so any size fits
  if (z - k >= 0.5) k += 1.0;
  const double r = k / scale;
  return negative ? -r : r;
}

}  // namespace varnex
