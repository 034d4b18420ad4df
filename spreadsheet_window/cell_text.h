#pragma once

#include <string>

#include "spreadsheet/cell.h"

namespace varnex::spreadsheet_window {

// A value as a spreadsheet shows it in its cell, under the cell's number
// format: General numbers with up to 11 characters, fixed decimals,
// grouping, per cent, dates, TRUE/FALSE and error texts.
std::string ShownText(const spreadsheet::CellValue& value, const std::string& number_format);

// What editing a cell starts from: its formula, or its value as typed.
std::string EditText(const spreadsheet::CellValue& value, const std::string* formula);

}  // namespace varnex::spreadsheet_window
