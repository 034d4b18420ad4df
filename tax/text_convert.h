#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between texts typed by the user and the numbers the tax rules
// work with. None of them fails: a text without a number gives 0.
namespace varnex {

// The longest prefix "[sign] digits-with-one-point [e|E|d|D [sign] digits]"
// after full-width folding and leading white space, as the nearest double.
// The decimal point is always "."; grouping, currency signs and words end
// the number. A prefix beyond the range of a double gives +/-infinity
// (overflow) or 0 (underflow).
double TextToNumber(std::string_view text);

// Optional sign and decimal digits after folding and white space, built in
// 32-bit arithmetic that wraps modulo 2^32; a point ends the digits.
std::int32_t TextToInteger(std::string_view text);

// Truncation toward zero, formed as a 64-bit integer, of which the low 32
// bits are the result. NaN and values outside the 64-bit range give 0 (the
// low half of the processor's "integer indefinite" value).
std::int32_t NumberToInteger(double x);

// Decimal digits with "-" in front of a negative number; nothing else.
std::string IntegerToText(std::int32_t n);

// At most 13 significant digits: the 17-digit decimal expansion rounded half
// up to 13 digits, plain notation for exponents -4..12 and otherwise
// d.ddde+XXX with a three-digit exponent; trailing zeros removed. Zero of
// either sign is "0". Infinities are "inf" and "-inf", NaN is "nan".
std::string NumberToText(double x);

}  // namespace varnex
