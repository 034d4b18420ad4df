#include "automation/served_object.h"

namespace varnex::automation {
namespace {

std::string LowerAscii(std::u16string_view name, bool* ascii) {
  std::string lower;
  lower.reserve(name.size());
  *ascii = true;
  for (char16_t c : name) {
    if (c >= 0x80) *ascii = false;
    const char16_t folded = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    lower.push_back(static_cast<char>(folded));
  }
  return lower;
}

const Variant* Followed(const Variant& v) {
  const Variant* p = &v;
  while (p->type() == (VT_BYREF | VT_VARIANT) && p->reference()) p = p->reference();
  return p;
}

}  // namespace

MemberTable::MemberTable(std::initializer_list<MemberSpec> members) : members_(members) {
  for (std::size_t i = 0; i < members_.size(); ++i) {
    std::string lower;
    for (char c : members_[i].name) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    by_lower_name_.emplace(std::move(lower), i);
    by_id_.emplace(members_[i].id, i);
  }
}

const MemberSpec* MemberTable::Find(std::u16string_view name) const {
  bool ascii = false;
  const std::string lower = LowerAscii(name, &ascii);
  if (!ascii) return nullptr;
  const auto it = by_lower_name_.find(lower);
  return it == by_lower_name_.end() ? nullptr : &members_[it->second];
}

const MemberSpec* MemberTable::Find(DispId id) const {
  const auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : &members_[it->second];
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
  out->positional_.clear();
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
  out->positional_.reserve(positional);
  for (std::size_t i = 0; i < positional; ++i)
    out->positional_.push_back(Followed(params.args[params.args.size() - 1 - i]));
  return S_OK;
}

}  // namespace varnex::automation
