#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "excel/automation_object.h"

// How every session operation reaches the spreadsheet application: one
// late-bound call per step of a member path.
namespace varnex::calling {

enum class CallKind {
  kPropertyRead,   // asks for a property read, then a method
  kPropertyWrite,  // asks for a property write, then a write by reference, then a method
  kMethod,         // asks for a method, then a read, a write and a write by reference
};

// An argument, or std::nullopt for one left out. Left-out arguments between
// given ones go as "missing"; those after the last given one are not passed.
using Argument = std::optional<automation::Variant>;
using Arguments = std::initializer_list<Argument>;

inline Argument I4(std::int32_t value) { return automation::Variant::Int4(value); }
inline Argument R8(double value) { return automation::Variant::Real8(value); }
inline Argument Bool(bool value) { return automation::Variant::Bool(value); }
inline Argument Text(std::string_view utf8) { return automation::Variant::Text(utf8); }
inline constexpr std::nullopt_t kMissing = std::nullopt;

// One call on `object`: looks the member up by name under the user's default
// locale, picks the first kind of call the member has in the kind's order,
// converts each argument to its declared parameter type where that succeeds,
// and passes a write's value as the named argument DISPID_PROPERTYPUT. No
// exception information is asked for. Nothing is sent on an empty object.
automation::HResult Call(const AutomationObject& object, std::u16string_view member, CallKind kind,
                         Arguments arguments, const Argument& put_value,
                         automation::Variant* result);

// The steps of a member path, each failing silently into an empty result.
AutomationObject ReadObject(const AutomationObject& object, std::u16string_view member,
                            Arguments arguments = {});
automation::Variant ReadValue(const AutomationObject& object, std::u16string_view member,
                              Arguments arguments = {});
bool Write(const AutomationObject& object, std::u16string_view member, Arguments arguments,
           const automation::Variant& value);
automation::Variant CallMethod(const AutomationObject& object, std::u16string_view member,
                               Arguments arguments = {});

// The object a call handed back, or an empty handle for anything else.
AutomationObject AsObject(const automation::Variant& value);

// Result conversions by the platform's type change; failures give the
// empty text, 0 or false.
std::string AsText(const automation::Variant& value);
std::int32_t AsInteger(const automation::Variant& value);
double AsReal(const automation::Variant& value);
bool AsLogical(const automation::Variant& value);

}  // namespace varnex::calling
