#include "excel/calling_rules.h"

#include <array>
#include <vector>

#include "automation/coerce.h"
#include "automation/user_locale.h"
#include "automation/utf16.h"

namespace varnex::calling {

using namespace automation;

namespace {

std::span<const InvokeKind> KindOrder(CallKind kind) {
  static constexpr std::array<InvokeKind, 2> kRead = {DISPATCH_PROPERTYGET, DISPATCH_METHOD};
  static constexpr std::array<InvokeKind, 3> kWrite = {DISPATCH_PROPERTYPUT,
                                                        DISPATCH_PROPERTYPUTREF, DISPATCH_METHOD};
  static constexpr std::array<InvokeKind, 4> kMethod = {DISPATCH_METHOD, DISPATCH_PROPERTYGET,
                                                         DISPATCH_PROPERTYPUT,
                                                         DISPATCH_PROPERTYPUTREF};
  switch (kind) {
    case CallKind::kPropertyRead: return kRead;
    case CallKind::kPropertyWrite: return kWrite;
    case CallKind::kMethod: break;
  }
  return kMethod;
}

// An argument in the declared type of its parameter where the conversion
// succeeds, unchanged otherwise.
Variant Typed(const Variant& argument, std::span<const VarType> types, std::size_t position) {
  if (position >= types.size() || types[position] == VT_VARIANT || argument.IsMissing() ||
      types[position] == argument.type())
    return argument;
  Variant converted;
  if (Succeeded(VariantChangeType(&converted, argument, 0, types[position]))) return converted;
  return argument;
}

}  // namespace

HResult Call(const AutomationObject& object, std::u16string_view member, CallKind kind,
             Arguments arguments, const Argument& put_value, Variant* result) {
  Dispatch* target = object.get();
  if (!target) return E_POINTER;
  const Lcid lcid = UserDefaultLcid();

  DispId id = DISPID_UNKNOWN;
  HResult hr = target->GetIdOfName(member, lcid, &id);
  if (Failed(hr)) return hr;

  InvokeKind chosen = 0;
  MemberDescription description;
  for (InvokeKind candidate : KindOrder(kind)) {
    if (Succeeded(target->DescribeMember(id, candidate, &description))) {
      chosen = candidate;
      break;
    }
  }
  if (!chosen) return DISP_E_MEMBERNOTFOUND;

  // Only as many positional arguments as the last given one's position.
  std::size_t count = 0, position = 0;
  for (const Argument& a : arguments) {
    ++position;
    if (a) count = position;
  }
  const bool writes = chosen == DISPATCH_PROPERTYPUT || chosen == DISPATCH_PROPERTYPUTREF;
  const bool with_value = kind == CallKind::kPropertyWrite && put_value.has_value();

  // DISPPARAMS order: the last argument first, a write's value before all.
  // Few calls carry more than a handful of arguments: keep those off the heap.
  const std::size_t total = count + (with_value ? 1 : 0);
  std::array<Variant, 8> inline_args;
  std::vector<Variant> heap_args(total > inline_args.size() ? total : 0);
  const std::span<Variant> args = total > inline_args.size()
                                      ? std::span<Variant>(heap_args)
                                      : std::span<Variant>(inline_args.data(), total);
  position = 0;
  for (const Argument& a : arguments) {
    if (position == count) break;
    args[args.size() - 1 - position] =
        a ? Typed(*a, description.parameter_types, position) : Variant::Missing();
    ++position;
  }
  if (with_value) args[0] = Typed(*put_value, description.parameter_types, count);

  static constexpr DispId kPutName[] = {DISPID_PROPERTYPUT};
  DispParams params;
  params.args = args;
  if (writes && with_value) params.named_ids = kPutName;

  Variant out;
  hr = target->Invoke(id, lcid, chosen, params, &out);
  if (result) *result = Succeeded(hr) ? std::move(out) : Variant();
  return hr;
}

AutomationObject AsObject(const Variant& value) {
  return value.type() == VT_DISPATCH ? AutomationObject(value.object()) : AutomationObject();
}

AutomationObject ReadObject(const AutomationObject& object, std::u16string_view member,
                            Arguments arguments) {
  Variant value;
  Call(object, member, CallKind::kPropertyRead, arguments, kMissing, &value);
  return AsObject(value);
}

Variant ReadValue(const AutomationObject& object, std::u16string_view member,
                  Arguments arguments) {
  Variant value;
  Call(object, member, CallKind::kPropertyRead, arguments, kMissing, &value);
  return value;
}

bool Write(const AutomationObject& object, std::u16string_view member, Arguments arguments,
           const Variant& value) {
  return Succeeded(Call(object, member, CallKind::kPropertyWrite, arguments, value, nullptr));
}

Variant CallMethod(const AutomationObject& object, std::u16string_view member,
                   Arguments arguments) {
  Variant value;
  Call(object, member, CallKind::kMethod, arguments, kMissing, &value);
  return value;
}

std::string AsText(const Variant& value) {
  Variant text;
  if (Failed(VariantChangeType(&text, value, 0, VT_BSTR))) return {};
  return Utf16ToUtf8(text.text());
}

std::int32_t AsInteger(const Variant& value) {
  Variant number;
  if (Failed(VariantChangeType(&number, value, 0, VT_I4))) return 0;
  return number.i4();
}

double AsReal(const Variant& value) {
  Variant number;
  if (Failed(VariantChangeType(&number, value, 0, VT_R8))) return 0;
  return number.r8();
}

bool AsLogical(const Variant& value) {
  Variant logical;
  if (Failed(VariantChangeType(&logical, value, 0, VT_BOOL))) return false;
  return logical.boolean() != 0;
}

}  // namespace varnex::calling
