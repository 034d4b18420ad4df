#pragma once

#include <string>

#include "spreadsheet/workbook.h"
#include "spreadsheet/xls/compound_file.h"

namespace varnex::spreadsheet::xls {

// Reads a BIFF8 (or, from a "Book" stream, BIFF5) workbook stream into an
// empty workbook. What it meets and cannot keep is named in the workbook's
// lost_content. False with a reason for a stream that is no workbook.
bool ReadWorkbook(const CompoundContents& contents, Workbook& into, std::string* error);

}  // namespace varnex::spreadsheet::xls
