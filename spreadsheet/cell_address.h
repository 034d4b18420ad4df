#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnex::spreadsheet {

inline constexpr std::int32_t kMaxRows = 1048576;
inline constexpr std::int32_t kMaxColumns = 16384;  // XFD

// A rectangle of cells, 1-based and inclusive.
struct Area {
  std::int32_t first_row = 1;
  std::int32_t first_column = 1;
  std::int32_t last_row = 1;
  std::int32_t last_column = 1;

  std::int32_t rows() const { return last_row - first_row + 1; }
  std::int32_t columns() const { return last_column - first_column + 1; }
  bool Contains(std::int32_t row, std::int32_t column) const {
    return row >= first_row && row <= last_row && column >= first_column && column <= last_column;
  }
  bool Intersects(const Area& o) const {
    return first_row <= o.last_row && o.first_row <= last_row && first_column <= o.last_column &&
           o.first_column <= last_column;
  }
  friend bool operator==(const Area&, const Area&) = default;
};

// "A" is 1, "Z" 26, "AA" 27, "XFD" 16384; either case. nullopt for
// anything else.
std::optional<std::int32_t> ColumnNumber(std::string_view letters);
// 1 is "A", 28 is "AB".
std::string ColumnLetters(std::int32_t column);

// An A1-style address: a cell (B7, $B$7), a rectangle (A1:C5), whole rows
// (7:7, 7:9) or whole columns (A:C). nullopt for anything else.
std::optional<Area> ParseAddress(std::string_view address);
// The Excel spelling of an area: A1, A1:C5, 7:7, A:C.
std::string FormatAddress(const Area& area);

}  // namespace varnex::spreadsheet
