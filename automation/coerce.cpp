#include "automation/coerce.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "automation/user_locale.h"
#include "automation/utf16.h"

namespace varnex::automation {
namespace {

constexpr std::uint16_t VARIANT_NOVALUEPROP = 0x01;
constexpr std::uint16_t VARIANT_ALPHABOOL = 0x02;

constexpr char16_t kCurrencySign = u'\u00A5';  // the Simplified Chinese locale's "¥"
constexpr int kMaxDepth = 16;                   // default members of default members

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// &H and &O forms: the smallest of 16 and 32 bits that holds the digits,
// read as a signed number of that size, as the platform does.
HResult ParseRadix(std::u16string_view digits, int radix, double* value) {
  if (digits.empty()) return DISP_E_TYPEMISMATCH;
  std::uint64_t n = 0;
  for (char16_t c : digits) {
    const int d = HexValue(c);
    if (d < 0 || d >= radix) return DISP_E_TYPEMISMATCH;
    n = n * radix + d;
    if (n > 0xFFFFFFFFull) return DISP_E_OVERFLOW;
  }
  if (n <= 0xFFFF)
    *value = static_cast<std::int16_t>(static_cast<std::uint16_t>(n));
  else
    *value = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
  return S_OK;
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::u16string FormatReal(double value, int digits) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, digits).ptr;
  std::string text(buffer, end);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return Ascii(text);
}

std::u16string FormatCurrency(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(10000 + magnitude % 10000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return Ascii(negative ? "-" + text : text);
}

// Days since 1970-01-01 to a civil date (Howard Hinnant's algorithm).
void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

// The Simplified Chinese short form: 2024/1/5, 2024/1/5 8:30:00, or the time
// alone on day 0, as the platform writes a date.
HResult FormatDate(double serial, std::u16string* text) {
  if (!(serial >= -657434.0 && serial < 2958466.0)) return DISP_E_OVERFLOW;
  const double whole = std::trunc(serial);
  long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
  long long days = static_cast<long long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  std::string out;
  if (days != 0) {
    long long y;
    unsigned m, d;
    CivilFromDays(days - 25569, &y, &m, &d);  // 25569 is 1970-01-01
    out = std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d);
  }
  if (seconds != 0 || days == 0) {
    char time[32];
    std::snprintf(time, sizeof time, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    out += out.empty() ? time : std::string(" ") + time;
  }
  *text = Ascii(out);
  return S_OK;
}

HResult BoolFromText(std::u16string_view text, Lcid lcid, bool* value) {
  const std::string t = Utf16ToUtf8(TrimBlanks(text));
  std::string lower;
  for (char c : t) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
  if (lower == "true" || lower == "#true#") {
    *value = true;
    return S_OK;
  }
  if (lower == "false" || lower == "#false#") {
    *value = false;
    return S_OK;
  }
  double number = 0;
  const HResult hr = ParseNumber(text, lcid, &number);
  if (Failed(hr)) return hr;
  *value = number != 0;
  return S_OK;
}

// Follows a by-reference value and, unless told not to, an object's default
// member, down to a plain value.
HResult Resolve(const Variant& src, Lcid lcid, std::uint16_t flags, Variant* out, int depth = 0) {
  if (depth > kMaxDepth) return DISP_E_TYPEMISMATCH;
  if (src.type() == (VT_BYREF | VT_VARIANT)) {
    if (!src.reference()) return E_INVALIDARG;
    return Resolve(*src.reference(), lcid, flags, out, depth + 1);
  }
  if (src.type() == VT_DISPATCH) {
    if (flags & VARIANT_NOVALUEPROP) return DISP_E_TYPEMISMATCH;
    Dispatch* object = src.object();
    if (!object) return DISP_E_TYPEMISMATCH;
    Variant value;
    DispParams none;
    const HResult hr = object->Invoke(DISPID_VALUE, lcid, DISPATCH_PROPERTYGET, none, &value);
    if (Failed(hr)) return hr;
    return Resolve(value, lcid, flags, out, depth + 1);
  }
  *out = src;
  return S_OK;
}

HResult NumberOf(const Variant& v, Lcid lcid, double* value) {
  switch (v.type()) {
    case VT_EMPTY: *value = 0; return S_OK;
    case VT_I2: *value = v.i2(); return S_OK;
    case VT_I4: *value = v.i4(); return S_OK;
    case VT_R4: *value = v.r4(); return S_OK;
    case VT_R8: *value = v.r8(); return S_OK;
    case VT_DATE: *value = v.date(); return S_OK;
    case VT_CY: *value = static_cast<double>(v.cy()) / 10000.0; return S_OK;
    case VT_BOOL: *value = v.boolean() ? -1 : 0; return S_OK;
    case VT_BSTR: return ParseNumber(v.text(), lcid, value);
    default: return DISP_E_TYPEMISMATCH;  // null, error codes, arrays
  }
}

HResult TextOf(const Variant& v, std::uint16_t flags, std::u16string* text) {
  switch (v.type()) {
    case VT_EMPTY: text->clear(); return S_OK;
    case VT_BSTR: *text = v.text(); return S_OK;
    case VT_I2: *text = Ascii(std::to_string(v.i2())); return S_OK;
    case VT_I4: *text = Ascii(std::to_string(v.i4())); return S_OK;
    case VT_R4: *text = FormatReal(v.r4(), 7); return S_OK;
    case VT_R8: *text = FormatReal(v.r8(), 15); return S_OK;
    case VT_CY: *text = FormatCurrency(v.cy()); return S_OK;
    case VT_DATE: return FormatDate(v.date(), text);
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL)
        *text = v.boolean() ? u"True" : u"False";
      else
        *text = v.boolean() ? u"-1" : u"0";
      return S_OK;
    default: return DISP_E_TYPEMISMATCH;
  }
}

// An integer of the given range, rounded half to even as the platform does.
HResult IntegerOf(double number, double lowest, double highest, double* rounded) {
  const double r = std::nearbyint(number);
  if (!(r >= lowest && r <= highest)) return DISP_E_OVERFLOW;
  *rounded = r;
  return S_OK;
}

}  // namespace

HResult ParseNumber(std::u16string_view text, Lcid /*lcid*/, double* value) {
  std::u16string_view s = TrimBlanks(text);
  if (s.size() >= 2 && s[0] == u'&') {
    if (s[1] == u'H' || s[1] == u'h') return ParseRadix(s.substr(2), 16, value);
    if (s[1] == u'O' || s[1] == u'o') return ParseRadix(s.substr(2), 8, value);
    return DISP_E_TYPEMISMATCH;
  }

  bool negative = false, sign = false, parens = false, currency = false;
  std::size_t i = 0;
  auto take_currency = [&] {
    if (!currency && i < s.size() && s[i] == kCurrencySign) {
      currency = true;
      ++i;
      while (i < s.size() && IsBlank(s[i])) ++i;
    }
  };
  take_currency();
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    sign = true;
    negative = s[i++] == u'-';
  } else if (i < s.size() && s[i] == u'(') {
    parens = true;
    ++i;
  }
  while (i < s.size() && IsBlank(s[i])) ++i;
  take_currency();

  std::string number;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (IsDigit(c)) {
      number.push_back(static_cast<char>(c));
      digits = true;
    } else if (c == u',' && digits && !point) {
      // grouping: dropped
    } else if (c == u'.' && !point) {
      number.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return DISP_E_TYPEMISMATCH;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent.push_back(static_cast<char>(s[j++]));
    const std::size_t first = j;
    while (j < s.size() && IsDigit(s[j])) exponent.push_back(static_cast<char>(s[j++]));
    if (j == first) return DISP_E_TYPEMISMATCH;
    number += exponent;
    i = j;
  }

  while (i < s.size() && IsBlank(s[i])) ++i;
  take_currency();
  if (!sign && !parens && i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i++] == u'-';
    while (i < s.size() && IsBlank(s[i])) ++i;
    take_currency();
  }
  if (parens) {
    if (i >= s.size() || s[i] != u')') return DISP_E_TYPEMISMATCH;
    negative = true;
    ++i;
    while (i < s.size() && IsBlank(s[i])) ++i;
    take_currency();
  }
  if (i != s.size()) return DISP_E_TYPEMISMATCH;

  double parsed = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
  if (error == std::errc::result_out_of_range) {
    // Only a huge exponent gets here; a tiny value reads as 0.
    const auto e = number.find('e');
    if (e == std::string::npos || number.compare(e, 2, "e-") != 0) return DISP_E_OVERFLOW;
    parsed = 0;
  } else if (error != std::errc() || end != number.data() + number.size()) {
    return DISP_E_TYPEMISMATCH;
  }
  *value = negative ? -parsed : parsed;
  return S_OK;
}

HResult VariantCopyInd(Variant* dest, const Variant& src) {
  if (src.type() == (VT_BYREF | VT_VARIANT)) {
    if (!src.reference()) return E_INVALIDARG;
    Variant copy(*src.reference());
    *dest = std::move(copy);
    return S_OK;
  }
  if (dest != &src) *dest = src;
  return S_OK;
}

HResult VariantChangeTypeEx(Variant* dest, const Variant& src, Lcid lcid, std::uint16_t flags,
                            VarType type) {
  // Objects stay objects when an object is wanted.
  if (type == VT_DISPATCH) {
    const Variant* s = &src;
    if (s->type() == (VT_BYREF | VT_VARIANT) && s->reference()) s = s->reference();
    if (s->type() == VT_DISPATCH) {
      Variant copy(*s);
      *dest = std::move(copy);
      return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
  }

  Variant plain;
  HResult hr = Resolve(src, lcid, flags, &plain);
  if (Failed(hr)) return hr;

  Variant out;
  double number = 0, rounded = 0;
  switch (type) {
    case VT_VARIANT:
      out = std::move(plain);
      break;
    case VT_EMPTY:
      if (!plain.IsEmpty()) return DISP_E_TYPEMISMATCH;
      break;
    case VT_NULL:
      if (plain.type() != VT_NULL && !plain.IsEmpty()) return DISP_E_TYPEMISMATCH;
      out = Variant::Null();
      break;
    case VT_ERROR:
      if (plain.type() != VT_ERROR) return DISP_E_TYPEMISMATCH;
      out = plain;
      break;
    case VT_BSTR: {
      std::u16string text;
      if (Failed(hr = TextOf(plain, flags, &text))) return hr;
      out = Variant::Text(std::move(text));
      break;
    }
    case VT_BOOL: {
      bool b = false;
      if (plain.type() == VT_BSTR) {
        if (Failed(hr = BoolFromText(plain.text(), lcid, &b))) return hr;
      } else {
        if (Failed(hr = NumberOf(plain, lcid, &number))) return hr;
        b = number != 0;
      }
      out = Variant::Bool(b);
      break;
    }
    case VT_R8:
    case VT_DATE:
    case VT_R4:
    case VT_I2:
    case VT_I4:
    case VT_CY:
      if (Failed(hr = NumberOf(plain, lcid, &number))) return hr;
      if (type == VT_R8) {
        out = Variant::Real8(number);
      } else if (type == VT_DATE) {
        if (!(number >= -657434.0 && number < 2958466.0)) return DISP_E_OVERFLOW;
        out = Variant::Date(number);
      } else if (type == VT_R4) {
        if (std::isfinite(number) && std::fabs(number) > FLT_MAX) return DISP_E_OVERFLOW;
        out = Variant::Real4(static_cast<float>(number));
      } else if (type == VT_I2) {
        if (Failed(hr = IntegerOf(number, -32768.0, 32767.0, &rounded))) return hr;
        out = Variant::Int2(static_cast<std::int16_t>(rounded));
      } else if (type == VT_I4) {
        if (Failed(hr = IntegerOf(number, -2147483648.0, 2147483647.0, &rounded))) return hr;
        out = Variant::Int4(static_cast<std::int32_t>(rounded));
      } else {
        if (Failed(hr = IntegerOf(number * 10000.0, -9.2233720368547758e18, 9.2233720368547748e18,
                                  &rounded)))
          return hr;
        out = Variant::Currency(static_cast<std::int64_t>(rounded));
      }
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  *dest = std::move(out);
  return S_OK;
}

HResult VariantChangeType(Variant* dest, const Variant& src, std::uint16_t flags, VarType type) {
  return VariantChangeTypeEx(dest, src, UserDefaultLcid(), flags, type);
}

}  // namespace varnex::automation
