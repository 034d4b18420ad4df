#include "automation/registry.h"

#include <algorithm>

namespace varnex::automation {
namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace

void ClassRegistry::Register(std::u16string_view prog_id, const ClassId& clsid,
                             ClassFactory factory) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return SameIgnoringCase(e.prog_id, prog_id); });
  entries_.push_back({std::u16string(prog_id), clsid, std::move(factory)});
}

void ClassRegistry::Unregister(std::u16string_view prog_id) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return SameIgnoringCase(e.prog_id, prog_id); });
}

HResult ClassRegistry::ClsidFromProgId(std::u16string_view prog_id, ClassId* clsid) const {
  std::lock_guard lock(mutex_);
  for (const Entry& e : entries_) {
    if (SameIgnoringCase(e.prog_id, prog_id)) {
      *clsid = e.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HResult ClassRegistry::CreateInstance(const ClassId& clsid, std::uint32_t context,
                                      Ref<Dispatch>* object) const {
  ClassFactory factory;
  {
    std::lock_guard lock(mutex_);
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.clsid == clsid; });
    if (it == entries_.end()) return REGDB_E_CLASSNOTREG;
    factory = it->factory;
  }
  object->Reset();
  const HResult hr = factory(context, object);
  if (Failed(hr)) object->Reset();
  return hr;
}

ClassRegistry& Classes() {
  static ClassRegistry registry;
  return registry;
}

HResult CLSIDFromProgID(std::u16string_view prog_id, ClassId* clsid) {
  return Classes().ClsidFromProgId(prog_id, clsid);
}

HResult CoCreateInstance(const ClassId& clsid, std::uint32_t context, Ref<Dispatch>* object) {
  return Classes().CreateInstance(clsid, context, object);
}

HResult OleRun(Dispatch* object) { return object ? object->Run() : E_INVALIDARG; }

}  // namespace varnex::automation
