#include "automation/served_object.h"

#include <algorithm>

namespace varnex::automation {
namespace {

// Lower-cases an ASCII name into `buffer`; false for names that no table
// holds (too long, or not ASCII).
bool LowerAscii(std::u16string_view name, std::array<char, 64>& buffer) {
  if (name.size() > buffer.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c >= 0x80) return false;
    buffer[i] = static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c);
  }
  return true;
}

const Variant* Followed(const Variant& v) {
  const Variant* p = &v;
  while (p->type() == (VT_BYREF | VT_VARIANT) && p->reference()) p = p->reference();
  return p;
}

}  // namespace

MemberTable::MemberTable(std::initializer_list<MemberSpec> members) : members_(members) {
  DispId highest = 0;
  for (const MemberSpec& m : members_) {
    lowest_id_ = std::min(lowest_id_, m.id);
    highest = std::max(highest, m.id);
  }
  by_id_.assign(static_cast<std::size_t>(highest - lowest_id_ + 1), -1);
  for (std::size_t i = 0; i < members_.size(); ++i) {
    std::string lower;
    for (char c : members_[i].name) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    by_lower_name_.emplace(std::move(lower), i);
    // The first member of an id (an alias may share it) describes it.
    auto& slot = by_id_[static_cast<std::size_t>(members_[i].id - lowest_id_)];
    if (slot < 0) slot = static_cast<std::int16_t>(i);
  }
}

const MemberSpec* MemberTable::Find(std::u16string_view name) const {
  std::array<char, 64> buffer;
  if (!LowerAscii(name, buffer)) return nullptr;
  const auto it = by_lower_name_.find(std::string_view(buffer.data(), name.size()));
  return it == by_lower_name_.end() ? nullptr : &members_[it->second];
}

const MemberSpec* MemberTable::Find(DispId id) const {
  if (id < lowest_id_ || static_cast<std::size_t>(id - lowest_id_) >= by_id_.size()) return nullptr;
  const std::int16_t index = by_id_[static_cast<std::size_t>(id - lowest_id_)];
  return index < 0 ? nullptr : &members_[static_cast<std::size_t>(index)];
}

HResult MemberTable::GetIdOfName(std::u16string_view name, DispId* id) const {
  const MemberSpec* member = Find(name);
  if (!member) {
    *id = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  *id = member->id;
  return S_OK;
}

HResult MemberTable::Describe(DispId id, InvokeKind kind, MemberDescription* description) const {
  const MemberSpec* member = Find(id);
  if (!member || !(member->kinds & kind)) return DISP_E_MEMBERNOTFOUND;
  description->parameter_types = member->parameter_types;
  return S_OK;
}

HResult CallArgs::Unpack(const DispParams& params, InvokeKind kind, CallArgs* out) {
  out->positional_ = {};
  out->put_value_ = nullptr;
  const bool write = kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  for (DispId named : params.named_ids)
    if (!(write && named == DISPID_PROPERTYPUT)) return DISP_E_NONAMEDARGS;
  std::size_t positional = params.args.size();
  if (write) {
    if (params.args.empty()) return DISP_E_BADPARAMCOUNT;
    out->put_value_ = Followed(params.args[0]);
    --positional;
  }
  if (positional > kMaxArguments) return DISP_E_BADPARAMCOUNT;
  for (std::size_t i = 0; i < positional; ++i)
    out->positional_storage_[i] = Followed(params.args[params.args.size() - 1 - i]);
  out->positional_ = std::span(out->positional_storage_.data(), positional);
  return S_OK;
}

}  // namespace varnex::automation
