#pragma once

#include "excel/excel_session.h"
#include "verify/controls.h"

namespace varnex {

// The results table's current-row handler: selects the worksheet row in the
// spreadsheet and, while the row's stored and standard tax texts differ,
// fills its tax cell with colour index 6.
void OnResultRowFocused(Controls& controls, ExcelSession& session);

}  // namespace varnex
