#pragma once

#include "excel/excel_session.h"

namespace varnex {

// The program's one session, alive from before the main window until exit.
extern ExcelSession excelSession;

// The main window's about-to-be-destroyed handler: tells the application to
// quit (nothing happens when it was never started).
void OnMainWindowDestroying(ExcelSession& session = excelSession);

}  // namespace varnex
