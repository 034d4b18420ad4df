#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/status.h"

// The automation variant: an owning value whose type codes and numbers are
// OLE automation's, so that the Windows bridge maps it onto VARIANT directly.
namespace varnex::automation {

class Dispatch;
class Variant;

using VarType = std::uint16_t;
inline constexpr VarType VT_EMPTY = 0;
inline constexpr VarType VT_NULL = 1;
inline constexpr VarType VT_I2 = 2;
inline constexpr VarType VT_I4 = 3;
inline constexpr VarType VT_R4 = 4;
inline constexpr VarType VT_R8 = 5;
inline constexpr VarType VT_CY = 6;
inline constexpr VarType VT_DATE = 7;
inline constexpr VarType VT_BSTR = 8;
inline constexpr VarType VT_DISPATCH = 9;
inline constexpr VarType VT_ERROR = 10;
inline constexpr VarType VT_BOOL = 11;
inline constexpr VarType VT_VARIANT = 12;
inline constexpr VarType VT_ARRAY = 0x2000;
inline constexpr VarType VT_BYREF = 0x4000;

// VARIANT_BOOL: true is -1.
inline constexpr std::int16_t VARIANT_TRUE = -1;
inline constexpr std::int16_t VARIANT_FALSE = 0;

// A two-dimensional array of variants with lower bounds, like a SAFEARRAY
// of VT_VARIANT (a range of several cells reads as one with bounds 1).
struct VariantArray {
  std::int32_t rows = 0;
  std::int32_t columns = 0;
  std::int32_t lower_row = 1;
  std::int32_t lower_column = 1;
  std::vector<Variant> items;  // row after row

  Variant& At(std::int32_t row, std::int32_t column);
  const Variant& At(std::int32_t row, std::int32_t column) const;
};

class Variant {
 public:
  Variant() = default;
  ~Variant() {
    if (type_ >= VT_BSTR) Clear();  // only texts, objects and arrays own anything
  }
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;

  static Variant Null();
  static Variant Int2(std::int16_t value);
  static Variant Int4(std::int32_t value);
  static Variant Real4(float value);
  static Variant Real8(double value);
  // Currency is a 64-bit integer holding the value times 10000.
  static Variant Currency(std::int64_t scaled);
  // A date is the day count since 1899-12-30, the fraction being the time.
  static Variant Date(double serial);
  static Variant Text(std::u16string text);
  static Variant Text(std::string_view utf8);
  // Adds a reference to the object (a null object is allowed, as in COM).
  static Variant Object(Dispatch* object);
  static Variant Error(HResult scode);
  // An argument left out between given ones.
  static Variant Missing() { return Error(DISP_E_PARAMNOTFOUND); }
  static Variant Bool(bool value);
  // A by-reference variant: points to a value it does not own.
  static Variant Reference(Variant* target);
  static Variant Array(VariantArray array);

  VarType type() const { return type_; }
  bool IsEmpty() const { return type_ == VT_EMPTY; }
  bool IsMissing() const { return type_ == VT_ERROR && value_.scode == DISP_E_PARAMNOTFOUND; }

  std::int16_t i2() const { return value_.i2; }
  std::int32_t i4() const { return value_.i4; }
  float r4() const { return value_.r4; }
  double r8() const { return value_.r8; }
  std::int64_t cy() const { return value_.cy; }
  double date() const { return value_.r8; }
  std::int16_t boolean() const { return value_.i2; }
  HResult scode() const { return value_.scode; }
  const std::u16string& text() const;
  Dispatch* object() const { return value_.object; }
  Variant* reference() const { return value_.reference; }
  const VariantArray& array() const { return *value_.array; }
  VariantArray& array() { return *value_.array; }

  // Releases what the value holds (texts, arrays, object references) and
  // leaves it empty.
  void Clear();

 private:
  void CopyFrom(const Variant& other);

  VarType type_ = VT_EMPTY;
  union {
    std::int16_t i2;
    std::int32_t i4;
    float r4;
    double r8;
    std::int64_t cy;
    HResult scode;
    Dispatch* object;
    Variant* reference;
    VariantArray* array;
    std::u16string* text;  // owned, like a BSTR
  } value_{};
};

}  // namespace varnex::automation
