#pragma once

#include "automation/dispatch.h"

namespace varnex::automation::testing {

// An object whose default member (id 0, property read) holds a value; it
// counts references and is kept alive by the test, not by its count.
class ValueObject : public Dispatch {
 public:
  explicit ValueObject(Variant value = {}) : value(std::move(value)) {}

  std::uint32_t AddRef() override { return ++references; }
  std::uint32_t Release() override { return --references; }
  HResult GetIdOfName(std::u16string_view, Lcid, DispId*) override { return DISP_E_UNKNOWNNAME; }
  HResult DescribeMember(DispId id, InvokeKind kind, MemberDescription*) override {
    return id == DISPID_VALUE && kind == DISPATCH_PROPERTYGET ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HResult Invoke(DispId id, Lcid, InvokeKind kind, DispParams&, Variant* result) override {
    ++reads;
    if (id != DISPID_VALUE || kind != DISPATCH_PROPERTYGET) return DISP_E_MEMBERNOTFOUND;
    if (result) *result = value;
    return S_OK;
  }

  Variant value;
  std::uint32_t references = 0;
  int reads = 0;
};

}  // namespace varnex::automation::testing
