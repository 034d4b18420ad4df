#pragma once

#include <string>

#include "automation/variant.h"

namespace varnex {

// A cell value as an amount: a double as it is; an array 0; anything else
// through the platform's copy-with-indirection and type change to a double,
// 0 when either fails. Texts are not folded or prefix-read here: the
// platform's number parsing decides.
double CellValueToNumber(const automation::Variant& value);

// A cell value as text: a text as it is; an array the empty text; anything
// else through the type change to text, the empty text when it fails.
std::string CellValueToText(const automation::Variant& value);

}  // namespace varnex
