#pragma once

#include "excel/excel_session.h"
#include "verify/controls.h"

namespace varnex {

// The correct command: writes the "标准个税" text of every ticked result
// row into its tax cell; each write that succeeds updates "个税原值",
// marks "更正" with "√" and fills the cell with colour index 2. With no
// valid tax column letter nothing is written and the focus goes to its box.
void CorrectTickedRows(Controls& controls, ExcelSession& session);

}  // namespace varnex
