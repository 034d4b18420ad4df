#include "verify/column_letters.h"

#include "tax/full_width.h"
#include "tax/text_convert.h"

namespace varnex {

std::int32_t ColumnLetterToNumber(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  if (folded.empty() || folded.size() > 3) return 0;
  std::int32_t column = 0;
  for (char c : folded) {
    const bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
    if (!upper && !lower) return 0;
    column = column * 26 + ((upper ? c - 'A' : c - 'a') + 1);
  }
  return column <= 16384 ? column : 0;
}

std::string ColumnNumberToLetters(std::int32_t column) {
  std::string letters;
  while (column > 0) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    column = (column - 1) / 26;
  }
  return letters;
}

std::string CellReference(std::string_view column_letter, std::int32_t row) {
  const std::int32_t column = ColumnLetterToNumber(column_letter);
  if (column == 0) return {};
  return ColumnNumberToLetters(column) + IntegerToText(row);
}

}  // namespace varnex
