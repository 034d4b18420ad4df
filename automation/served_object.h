#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/dispatch.h"

// Helpers for objects served in-process: a member table looked up without
// regard to case, and the arguments of a call in their natural order.
namespace varnex::automation {

struct MemberSpec {
  std::string_view name;  // ASCII, as the object spells it
  DispId id;
  InvokeKind kinds;  // the kinds of call the member answers
  std::span<const VarType> parameter_types = {};
};

class MemberTable {
 public:
  MemberTable(std::initializer_list<MemberSpec> members);

  const MemberSpec* Find(std::u16string_view name) const;
  const MemberSpec* Find(DispId id) const;

  // The Dispatch answers for a table-driven object.
  HResult GetIdOfName(std::u16string_view name, DispId* id) const;
  HResult Describe(DispId id, InvokeKind kind, MemberDescription* description) const;

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::vector<MemberSpec> members_;
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> by_lower_name_;
  // Ids are small: a direct index, offset so that negative ids fit too.
  std::vector<std::int16_t> by_id_;
  DispId lowest_id_ = 0;
};

// The arguments of one invocation: positional ones in natural order (the
// first argument first), with by-reference values followed, and for a
// property write the value passed under DISPID_PROPERTYPUT.
class CallArgs {
 public:
  // Fails with DISP_E_NONAMEDARGS for named arguments other than the put
  // value, and DISP_E_BADPARAMCOUNT for a write without a value.
  static HResult Unpack(const DispParams& params, InvokeKind kind, CallArgs* out);

  std::size_t count() const { return positional_.size(); }
  // Given and not the "missing" marker.
  bool Has(std::size_t i) const { return i < positional_.size() && !positional_[i]->IsMissing(); }
  const Variant& operator[](std::size_t i) const { return *positional_[i]; }
  const Variant* put_value() const { return put_value_; }

 private:
  static constexpr std::size_t kMaxArguments = 32;
  std::array<const Variant*, kMaxArguments> positional_storage_{};
  std::span<const Variant*> positional_;
  const Variant* put_value_ = nullptr;
};

}  // namespace varnex::automation
