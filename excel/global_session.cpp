#include "excel/global_session.h"

namespace varnex {

ExcelSession excelSession;

void OnMainWindowDestroying(ExcelSession& session) { session.QuitApp(); }

}  // namespace varnex
