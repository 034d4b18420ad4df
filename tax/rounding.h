#pragma once

#include <cstdint>

namespace varnex {

// Rounds half away from zero to `places` decimal places after a nudge of
// 1e-12 on the scaled value, so that amounts such as 1.005, held just below
// the half, still round up. Each step is one double operation: the nudge
// vanishes in the rounding once the scaled value reaches 16384. Zero (of
// either sign) and NaN come back unchanged.
double RoundAmount(double x, std::int32_t places);

}  // namespace varnex
