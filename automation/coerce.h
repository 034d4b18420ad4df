#pragma once

#include "automation/dispatch.h"
#include "automation/variant.h"

// OLE automation's copy-with-indirection and type change, as the platform's
// VariantCopyInd and VariantChangeType(Ex) behave for the types a
// spreadsheet hands out.
namespace varnex::automation {

// dest becomes a copy of src with one level of by-reference followed.
HResult VariantCopyInd(Variant* dest, const Variant& src);

// dest becomes src converted to `type` (dest may be &src). On failure dest
// is left as it was and the status says why: DISP_E_TYPEMISMATCH for a value
// that has no such form, DISP_E_OVERFLOW for one out of the type's range.
//  - empty is 0, the empty text or false; null and error codes fail;
//  - booleans are -1 and 0, also as text ("-1", "0");
//  - texts read as numbers by the locale's number parsing: blanks, a sign in
//    front or behind, parentheses, "," grouping, "." decimal point, an
//    exponent, the currency sign, &H and &O; anything else fails;
//  - dates are their serial number, currency its value;
//  - objects convert through their default member (id 0, property read);
//  - numbers become texts with up to 15 (single: 7) significant digits.
HResult VariantChangeTypeEx(Variant* dest, const Variant& src, Lcid lcid, std::uint16_t flags,
                            VarType type);
HResult VariantChangeType(Variant* dest, const Variant& src, std::uint16_t flags, VarType type);

// The locale's number parsing alone (VarR8FromStr).
HResult ParseNumber(std::u16string_view text, Lcid lcid, double* value);

}  // namespace varnex::automation
