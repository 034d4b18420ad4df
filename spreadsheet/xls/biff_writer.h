#pragma once

#include <string>

#include "spreadsheet/workbook.h"

namespace varnex::spreadsheet::xls {

// The BIFF8 workbook stream of a workbook: values, formats, merged areas,
// widths, heights and formulas read from a file. False with a reason when
// the workbook does not fit the format (more than 65536 rows or 256
// columns, too many formats) or holds what it cannot keep (comments).
bool WriteWorkbook(const Workbook& workbook, std::string* stream, std::string* error);

}  // namespace varnex::spreadsheet::xls
