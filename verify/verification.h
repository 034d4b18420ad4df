#pragma once

#include "excel/excel_session.h"
#include "verify/controls.h"

namespace varnex {

// The calculate command outside calculator mode: checks every row of the
// used range of the numbered sheet and lists each row whose stored tax
// differs from the standard tax; with automatic correction it writes the
// standard tax first and marks the row "√" when the write succeeded.
void VerifySheet(Controls& controls, ExcelSession& session);

inline constexpr std::string_view kDoneText = "处理完毕，结果见上表！";
inline constexpr std::string_view kTick = "√";

}  // namespace varnex
