#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "spreadsheet/cell.h"

namespace varnex::spreadsheet {

// What typing a text into a cell stores, as Excel reads it: a number when
// the text reads as one under the locale (grouping, currency sign, a
// trailing per-cent sign), TRUE/FALSE, an error literal, a date
// (2024/1/5, 2024-1-5), a formula for "=...", a text after a leading
// apostrophe, and otherwise the text itself.
struct Entry {
  CellValue value;
  std::optional<std::string> formula;
};

Entry ParseEntry(std::string_view text);

// Excel's serial number of a date (1900 date system, 1 is 1900-01-01 and
// the phantom 1900-02-29 counted).
std::optional<double> DateSerial(int year, int month, int day);

// The date a serial number's day stands for, the phantom 1900-02-29 (60)
// included.
struct CalendarDate {
  long long year;
  unsigned month;
  unsigned day;
};
CalendarDate DateOfSerial(long long serial);

}  // namespace varnex::spreadsheet
