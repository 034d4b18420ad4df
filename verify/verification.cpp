#include "verify/verification.h"

#include <algorithm>

#include "excel/cell_value.h"
#include "tax/amount.h"
#include "tax/brackets.h"
#include "tax/rounding.h"
#include "tax/text_convert.h"
#include "verify/column_letters.h"

namespace varnex {
namespace {

// The worksheet row of the i-th row of the pass, in the 32-bit arithmetic
// the row numbers live in (wrapping, never undefined).
std::int32_t WorksheetRow(std::int32_t first_row, std::int32_t i) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(first_row) + static_cast<std::uint32_t>(i) - 1u);
}

int ProgressAfter(std::int32_t i, std::int32_t n) {
  if (n <= 0) return 100;
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{i} * 100 / n, 0, 100));
}

}  // namespace

void VerifySheet(Controls& controls, ExcelSession& session) {
  controls.ClearResultRows();
  // An empty letter, or one that names no column, refuses the pass.
  const std::int32_t pay_column = ColumnLetterToNumber(controls.Text(ControlId::编辑框_工资列号));
  if (pay_column == 0) {
    controls.Focus(ControlId::编辑框_工资列号);
    return;
  }
  const std::int32_t tax_column = ColumnLetterToNumber(controls.Text(ControlId::编辑框_个税列号));
  if (tax_column == 0) {
    controls.Focus(ControlId::编辑框_个税列号);
    return;
  }

  controls.ShowWaitCursor();
  controls.ShowProgress(true);
  const std::int32_t sheet = TextToInteger(controls.Text(ControlId::编辑框_表序));
  const std::int32_t n = TextToInteger(controls.Text(ControlId::编辑框_表行数));

  for (std::int32_t i = 1; i <= n; ++i) {
    const std::int32_t r = WorksheetRow(TextToInteger(controls.Text(ControlId::编辑框_起始行)), i);
    const double pay = CellValueToNumber(session.ReadCell(sheet, r, pay_column));
    const double stored = CellValueToNumber(session.ReadCell(sheet, r, tax_column));
    const double standard =
        controls.IsTicked(ControlId::选择框_年终奖)
            ? BonusTax(RoundAmount(pay, 2))
            : SalaryTax(RoundAmount(pay, 2), TextToNumber(controls.Text(ControlId::组合框_起征点)));

    if (Differs(stored, standard)) {
      const std::string standard_text = NumberToText(standard);
      // The cell is written before its row is listed; "√" only for a write
      // that took.
      const bool written = controls.IsTicked(ControlId::选择框_更正否) &&
                           session.WriteCell(sheet, r, tax_column, standard_text);
      const int row = controls.AppendResultRow(NumberToText(r));
      controls.SetResultText(row, 1, NumberToText(pay));
      controls.SetResultText(row, 2, NumberToText(stored));
      controls.SetResultText(row, 3, standard_text);
      if (written) controls.SetResultText(row, 4, kTick);
    }
    controls.SetProgress(ProgressAfter(i, TextToInteger(controls.Text(ControlId::编辑框_表行数))));
  }

  controls.ShowProgress(false);
  controls.SetProgress(0);
  controls.SetPaneText(1, kDoneText);
  controls.RestoreCursor();
}

}  // namespace varnex
