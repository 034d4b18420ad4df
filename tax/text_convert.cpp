#include "tax/text_convert.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "tax/full_width.h"

namespace varnex {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpace(std::string_view s, std::size_t i) {
  while (i < s.size() && IsSpace(s[i])) ++i;
  return i;
}

// The decimal exponent, roughly, of a number that from_chars found out of
// range: where its first non-zero digit stands, plus its exponent. Only the
// sign matters (overflow or underflow).
long long MagnitudeOf(std::string_view mantissa, std::string_view exponent) {
  long long position = 0;
  bool seen_point = false, seen_nonzero = false;
  for (char c : mantissa) {
    if (c == '.') {
      seen_point = true;
    } else if (!seen_nonzero && c == '0') {
      if (seen_point) --position;
    } else {
      if (!seen_nonzero && seen_point) --position;
      seen_nonzero = true;
      if (!seen_point) ++position;
    }
  }
  long long e = 0;
  bool negative = false;
  for (char c : exponent) {
    if (c == '-') negative = true;
    if (IsDigit(c) && e < 1'000'000'000) e = e * 10 + (c - '0');
  }
  return position + (negative ? -e : e);
}

}  // namespace

double TextToNumber(std::string_view text) {
  const std::string s = FoldFullWidth(text);
  std::size_t i = SkipSpace(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  const std::size_t mantissa_begin = i;
  bool point = false, digit = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      digit = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digit) return 0.0;
  std::string number = s.substr(mantissa_begin, i - mantissa_begin);
  std::string exponent;

  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t digits_begin = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > digits_begin) exponent = "e" + s.substr(i + 1, j - i - 1);
  }

  const std::string whole = number + exponent;
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(whole.data(), whole.data() + whole.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    value = MagnitudeOf(number, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || end != whole.data() + whole.size()) {
    value = 0.0;  // cannot happen for the form built above
  }
  return negative ? -value : value;
}

std::int32_t TextToInteger(std::string_view text) {
  const std::string s = FoldFullWidth(text);
  std::size_t i = SkipSpace(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::uint32_t value = 0;  // unsigned, so that wrapping is defined
  for (; i < s.size() && IsDigit(s[i]); ++i) value = value * 10u + static_cast<std::uint32_t>(s[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t NumberToInteger(double x) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(x > -kTwoTo63 && x < kTwoTo63)) return 0;
  const auto truncated = static_cast<std::int64_t>(x);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

std::string IntegerToText(std::int32_t n) { return std::to_string(n); }

std::string NumberToText(double x) {
  if (x == 0.0) return "0";
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x > 0 ? "inf" : "-inf";

  // 17 significant digits, exactly rounded, independent of the C locale.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                    std::chars_format::scientific, 16);
  const std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e_at = sci.find('e');
  std::string digits;
  digits.push_back(sci[0]);
  digits.append(sci.substr(2, e_at - 2));  // d.dddddddddddddddd -> 17 digits
  int exponent = 0;
  std::from_chars(sci.data() + e_at + 1 + (sci[e_at + 1] == '+'), sci.data() + sci.size(), exponent);

  // Half up to 13 digits on the 17-digit string.
  const bool round_up = digits[13] >= '5';
  digits.resize(13);
  if (round_up) {
    int k = 12;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k >= 0) {
      ++digits[k];
    } else {
      digits = "1000000000000";
      ++exponent;
    }
  }

  auto strip = [](std::string& integer, std::string fraction) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction.empty() ? integer : integer + "." + fraction;
  };

  std::string text;
  if (exponent >= -4 && exponent <= 12) {
    if (exponent >= 0) {
      std::string integer = digits.substr(0, exponent + 1);
      text = strip(integer, digits.substr(exponent + 1));
    } else {
      std::string zero = "0";
      text = strip(zero, std::string(-exponent - 1, '0') + digits);
    }
  } else {
    std::string first = digits.substr(0, 1);
    text = strip(first, digits.substr(1));
    const int magnitude = exponent < 0 ? -exponent : exponent;
    char tail[8];
    const auto end = std::to_chars(tail, tail + sizeof tail, magnitude).ptr;
    std::string three(tail, end);
    while (three.size() < 3) three.insert(three.begin(), '0');
    text += exponent < 0 ? "e-" : "e+";
    text += three;
  }
  return x < 0 ? "-" + text : text;
}

}  // namespace varnex
