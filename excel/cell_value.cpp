#include "excel/cell_value.h"

#include "automation/coerce.h"
#include "automation/utf16.h"

namespace varnex {

using namespace automation;

double CellValueToNumber(const Variant& value) {
  if (value.type() == VT_R8) return value.r8();
  if (value.type() & VT_ARRAY) return 0;
  Variant copy;
  if (Failed(VariantCopyInd(&copy, value))) return 0;
  if (Failed(VariantChangeType(&copy, copy, 0, VT_R8))) return 0;
  return copy.r8();
}

std::string CellValueToText(const Variant& value) {
  if (value.type() == VT_BSTR) return Utf16ToUtf8(value.text());
  if (value.type() & VT_ARRAY) return {};
  Variant copy;
  if (Failed(VariantCopyInd(&copy, value))) return {};
  if (Failed(VariantChangeType(&copy, copy, 0, VT_BSTR))) return {};
  return Utf16ToUtf8(copy.text());
}

}  // namespace varnex
