#include "spreadsheet/objects/served.h"

#include <array>
#include <vector>

#include "automation/coerce.h"
#include "automation/utf16.h"
#include "spreadsheet/text_entry.h"

namespace varnex::spreadsheet::objects {

using namespace automation;

namespace {

constexpr std::size_t kGrain = 16;
constexpr std::size_t kPooledSizes = 16;  // up to 256 bytes
constexpr std::size_t kKeptPerSize = 64;

// Blocks kept for reuse, by size; given back to the heap when the thread ends.
struct Pool {
  std::array<std::vector<void*>, kPooledSizes> lists;
  ~Pool() {
    for (std::size_t bucket = 0; bucket < kPooledSizes; ++bucket)
      for (void* block : lists[bucket]) ::operator delete(block);
  }
};

std::vector<void*>& FreeList(std::size_t bucket) {
  thread_local Pool pool;
  return pool.lists[bucket];
}

}  // namespace

void* Served::operator new(std::size_t size) {
  const std::size_t bucket = (size + kGrain - 1) / kGrain - 1;
  if (bucket < kPooledSizes) {
    auto& list = FreeList(bucket);
    if (!list.empty()) {
      void* object = list.back();
      list.pop_back();
      return object;
    }
    return ::operator new((bucket + 1) * kGrain);
  }
  return ::operator new(size);
}

void Served::operator delete(void* object, std::size_t size) {
  const std::size_t bucket = (size + kGrain - 1) / kGrain - 1;
  if (bucket < kPooledSizes) {
    auto& list = FreeList(bucket);
    if (list.size() < kKeptPerSize) {
      list.push_back(object);
      return;
    }
    ::operator delete(object);
    return;
  }
  ::operator delete(object);
}

Workbook* OpenWorkbookOf(const Sheet& sheet) {
  // A workbook is the only owner a sheet has.
  auto* workbook = static_cast<Workbook*>(sheet.owner());
  return workbook && !workbook->closed() && workbook->application() ? workbook : nullptr;
}

HResult Served::GetIdOfName(std::u16string_view name, Lcid, DispId* id) {
  return Members().GetIdOfName(name, id);
}

HResult Served::DescribeMember(DispId id, InvokeKind kind, MemberDescription* d) {
  return Members().Describe(id, kind, d);
}

HResult Served::Invoke(DispId id, Lcid, InvokeKind kind, DispParams& params, Variant* result) {
  const MemberSpec* member = Members().Find(id);
  if (!member || !(member->kinds & kind)) return DISP_E_MEMBERNOTFOUND;
  CallArgs args;
  if (const HResult hr = CallArgs::Unpack(params, kind, &args); Failed(hr)) return hr;
  Variant out;
  const HResult hr = Call(member->id, kind, args, &out);
  if (Succeeded(hr) && result) *result = std::move(out);
  return hr;
}

namespace {
std::optional<Variant> Changed(const Variant& v, VarType type) {
  Variant out;
  if (Failed(VariantChangeType(&out, v, 0, type))) return std::nullopt;
  return out;
}
}  // namespace

std::optional<std::int32_t> IntArg(const Variant& v) {
  const auto out = Changed(v, VT_I4);
  return out ? std::optional(out->i4()) : std::nullopt;
}

std::optional<double> RealArg(const Variant& v) {
  const auto out = Changed(v, VT_R8);
  return out ? std::optional(out->r8()) : std::nullopt;
}

std::optional<bool> BoolArg(const Variant& v) {
  const auto out = Changed(v, VT_BOOL);
  return out ? std::optional(out->boolean() != 0) : std::nullopt;
}

std::optional<std::string> TextArg(const Variant& v) {
  const auto out = Changed(v, VT_BSTR);
  return out ? std::optional(Utf16ToUtf8(out->text())) : std::nullopt;
}

Variant CellToVariant(const CellValue& value) {
  switch (value.kind) {
    case CellKind::kEmpty: return Variant();
    case CellKind::kNumber: return Variant::Real8(value.number);
    case CellKind::kText: return Variant::Text(value.text);
    case CellKind::kBoolean: return Variant::Bool(value.number != 0);
    case CellKind::kError:
      return Variant::Error(MakeHResult(0x800A0000u + static_cast<std::uint32_t>(value.number)));
    case CellKind::kDate: return Variant::Date(value.number);
  }
  return Variant();
}

HResult StoreVariant(Sheet& sheet, std::int32_t row, std::int32_t column, const Variant& value) {
  const Variant* v = &value;
  while (v->type() == (VT_BYREF | VT_VARIANT) && v->reference()) v = v->reference();
  switch (v->type()) {
    case VT_EMPTY:
    case VT_NULL: sheet.SetValue(row, column, {}); return S_OK;
    case VT_BSTR: {
      Entry entry = ParseEntry(Utf16ToUtf8(v->text()));
      if (entry.formula)
        sheet.SetFormula(row, column, std::move(*entry.formula), entry.value);
      else
        sheet.SetValue(row, column, entry.value);
      return S_OK;
    }
    case VT_BOOL: sheet.SetValue(row, column, CellValue::Boolean(v->boolean() != 0)); return S_OK;
    case VT_DATE: sheet.SetValue(row, column, CellValue::Date(v->date())); return S_OK;
    case VT_ERROR: {
      const auto code = static_cast<std::uint32_t>(v->scode());
      if ((code & 0xFFFF0000u) != 0x800A0000u) return DISP_E_TYPEMISMATCH;
      sheet.SetValue(row, column, CellValue::Error(static_cast<std::int32_t>(code & 0xFFFF)));
      return S_OK;
    }
    case VT_DISPATCH: {
      Variant plain;
      if (Failed(VariantChangeType(&plain, *v, 0, VT_VARIANT))) return DISP_E_TYPEMISMATCH;
      return StoreVariant(sheet, row, column, plain);
    }
    default: {
      const auto number = RealArg(*v);
      if (!number) return DISP_E_TYPEMISMATCH;
      sheet.SetValue(row, column, CellValue::Number(*number));
      return S_OK;
    }
  }
}

}  // namespace varnex::spreadsheet::objects
