#pragma once

#include "verify/controls.h"

namespace varnex {

// The calculate button in calculator mode: the amount box's tax and amount
// after tax, in pane 1 as text and tooltip. Never touches the workbook.
void RunCalculator(Controls& controls);

}  // namespace varnex
