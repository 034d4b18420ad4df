#include "automation/variant.h"

#include "automation/dispatch.h"
#include "automation/utf16.h"

namespace varnex::automation {

Variant& VariantArray::At(std::int32_t row, std::int32_t column) {
  return items[static_cast<std::size_t>((row - lower_row) * columns + (column - lower_column))];
}

const Variant& VariantArray::At(std::int32_t row, std::int32_t column) const {
  return items[static_cast<std::size_t>((row - lower_row) * columns + (column - lower_column))];
}

Variant::Variant(const Variant& other) { CopyFrom(other); }

Variant::Variant(Variant&& other) noexcept : type_(other.type_), value_(other.value_) {
  other.type_ = VT_EMPTY;
  other.value_ = {};
}

const std::u16string& Variant::text() const {
  static const std::u16string kNone;
  return type_ == VT_BSTR && value_.text ? *value_.text : kNone;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Clear();
    type_ = other.type_;
    value_ = other.value_;
    other.type_ = VT_EMPTY;
    other.value_ = {};
  }
  return *this;
}

void Variant::CopyFrom(const Variant& other) {
  type_ = other.type_;
  value_ = other.value_;
  if (type_ == VT_BSTR) {
    value_.text = new std::u16string(other.text());
  } else if (type_ == VT_DISPATCH) {
    if (value_.object) value_.object->AddRef();
  } else if (type_ & VT_ARRAY) {
    value_.array = new VariantArray(*other.value_.array);
  }
}

void Variant::Clear() {
  if (type_ == VT_DISPATCH) {
    if (Dispatch* object = value_.object) {
      value_.object = nullptr;
      object->Release();
    }
  } else if (type_ & VT_ARRAY) {
    delete value_.array;
  } else if (type_ == VT_BSTR) {
    delete value_.text;
  }
  type_ = VT_EMPTY;
  value_ = {};
}

Variant Variant::Null() {
  Variant v;
  v.type_ = VT_NULL;
  return v;
}

Variant Variant::Int2(std::int16_t value) {
  Variant v;
  v.type_ = VT_I2;
  v.value_.i2 = value;
  return v;
}

Variant Variant::Int4(std::int32_t value) {
  Variant v;
  v.type_ = VT_I4;
  v.value_.i4 = value;
  return v;
}

Variant Variant::Real4(float value) {
  Variant v;
  v.type_ = VT_R4;
  v.value_.r4 = value;
  return v;
}

Variant Variant::Real8(double value) {
  Variant v;
  v.type_ = VT_R8;
  v.value_.r8 = value;
  return v;
}

Variant Variant::Currency(std::int64_t scaled) {
  Variant v;
  v.type_ = VT_CY;
  v.value_.cy = scaled;
  return v;
}

Variant Variant::Date(double serial) {
  Variant v;
  v.type_ = VT_DATE;
  v.value_.r8 = serial;
  return v;
}

Variant Variant::Text(std::u16string text) {
  Variant v;
  v.type_ = VT_BSTR;
  v.value_.text = new std::u16string(std::move(text));
  return v;
}

Variant Variant::Text(std::string_view utf8) { return Text(Utf8ToUtf16(utf8)); }

Variant Variant::Object(Dispatch* object) {
  Variant v;
  v.type_ = VT_DISPATCH;
  v.value_.object = object;
  if (object) object->AddRef();
  return v;
}

Variant Variant::Error(HResult scode) {
  Variant v;
  v.type_ = VT_ERROR;
  v.value_.scode = scode;
  return v;
}

Variant Variant::Bool(bool value) {
  Variant v;
  v.type_ = VT_BOOL;
  v.value_.i2 = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Variant Variant::Reference(Variant* target) {
  Variant v;
  v.type_ = VT_BYREF | VT_VARIANT;
  v.value_.reference = target;
  return v;
}

Variant Variant::Array(VariantArray array) {
  Variant v;
  v.type_ = VT_ARRAY | VT_VARIANT;
  v.value_.array = new VariantArray(std::move(array));
  return v;
}

}  // namespace varnex::automation
