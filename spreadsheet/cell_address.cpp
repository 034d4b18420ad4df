#include "spreadsheet/cell_address.h"

#include <algorithm>

namespace varnex::spreadsheet {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::int32_t> RowNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 7 || digits[0] == '0') return std::nullopt;
  std::int32_t row = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    row = row * 10 + (c - '0');
  }
  if (row > kMaxRows) return std::nullopt;
  return row;
}

// One side of an address: a cell, a row or a column, each part optionally
// behind a "$".
struct Side {
  std::optional<std::int32_t> row, column;
};

std::optional<Side> ParseSide(std::string_view s) {
  Side side;
  if (!s.empty() && s[0] == '$') s.remove_prefix(1);
  std::size_t letters = 0;
  while (letters < s.size() && IsLetter(s[letters])) ++letters;
  if (letters > 0) {
    side.column = ColumnNumber(s.substr(0, letters));
    if (!side.column) return std::nullopt;
    s.remove_prefix(letters);
    if (!s.empty() && s[0] == '$') s.remove_prefix(1);
  }
  if (!s.empty()) {
    side.row = RowNumber(s);
    if (!side.row) return std::nullopt;
  }
  if (!side.row && !side.column) return std::nullopt;
  return side;
}

}  // namespace

std::optional<std::int32_t> ColumnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return std::nullopt;
  std::int32_t column = 0;
  for (char c : letters) {
    if (!IsLetter(c)) return std::nullopt;
    column = column * 26 + ((c & ~0x20) - 'A' + 1);
  }
  if (column > kMaxColumns) return std::nullopt;
  return column;
}

std::string ColumnLetters(std::int32_t column) {
  std::string letters;
  while (column > 0) {
    const std::int32_t digit = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

std::optional<Area> ParseAddress(std::string_view address) {
  const std::size_t colon = address.find(':');
  const auto first = ParseSide(address.substr(0, colon));
  if (!first) return std::nullopt;
  const auto second = colon == std::string_view::npos ? first : ParseSide(address.substr(colon + 1));
  if (!second) return std::nullopt;
  // Both sides of one kind: cells, rows or columns.
  const bool cells = first->row && first->column, rows = first->row && !first->column;
  if ((second->row && second->column) != cells || (second->row && !second->column) != rows)
    return std::nullopt;
  // Whole rows and columns need both ends, as in Excel: "7:7", not "7".
  if (!cells && colon == std::string_view::npos) return std::nullopt;
  Area area;
  if (cells || rows) {
    area.first_row = std::min(*first->row, *second->row);
    area.last_row = std::max(*first->row, *second->row);
  } else {
    area.first_row = 1;
    area.last_row = kMaxRows;
  }
  if (cells || !rows) {
    area.first_column = std::min(*first->column, *second->column);
    area.last_column = std::max(*first->column, *second->column);
  } else {
    area.first_column = 1;
    area.last_column = kMaxColumns;
  }
  return area;
}

std::string FormatAddress(const Area& a) {
  if (a.first_column == 1 && a.last_column == kMaxColumns)
    return std::to_string(a.first_row) + ":" + std::to_string(a.last_row);
  if (a.first_row == 1 && a.last_row == kMaxRows)
    return ColumnLetters(a.first_column) + ":" + ColumnLetters(a.last_column);
  std::string first = ColumnLetters(a.first_column) + std::to_string(a.first_row);
  if (a.rows() == 1 && a.columns() == 1) return first;
  return first + ":" + ColumnLetters(a.last_column) + std::to_string(a.last_row);
}

}  // namespace varnex::spreadsheet
