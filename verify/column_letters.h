#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnex {

// The column a typed column letter names: after full-width letters are
// folded to ASCII, one to three letters in either case, A being 1 and XFD
// 16384. Anything else (empty, blanks, digits, "A1", past XFD) is no
// column and gives 0.
std::int32_t ColumnLetterToNumber(std::string_view text);

// The canonical letters of a column number: 6 is "F", 28 is "AB".
std::string ColumnNumberToLetters(std::int32_t column);

// The reference of one cell, such as F12, from the column's canonical
// letters; empty when the letter names no column.
std::string CellReference(std::string_view column_letter, std::int32_t row);

}  // namespace varnex
