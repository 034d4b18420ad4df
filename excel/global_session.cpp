#include "excel/global_session.h"

namespace varnex {

ExcelSession excelSession;

void OnMainWindowDestroying() { excelSession.QuitApp(); }

}  // namespace varnex
