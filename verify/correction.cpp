#include "verify/correction.h"

#include "tax/text_convert.h"
#include "verify/column_letters.h"
#include "verify/verification.h"

namespace varnex {

void CorrectTickedRows(Controls& controls, ExcelSession& session) {
  const std::int32_t sheet = TextToInteger(controls.Text(ControlId::编辑框_表序));
  const std::int32_t tax_column = ColumnLetterToNumber(controls.Text(ControlId::编辑框_个税列号));
  if (tax_column == 0) {
    controls.Focus(ControlId::编辑框_个税列号);
    return;
  }
  const int n = controls.ResultRowCount();
  for (int row = 0; row < n; ++row) {
    if (!controls.IsResultRowTicked(row)) continue;
    const std::int32_t r = TextToInteger(controls.ResultText(row, 0));
    const std::string standard = controls.ResultText(row, 3);
    if (!session.WriteCell(sheet, r, tax_column, standard)) continue;
    controls.SetResultText(row, 2, standard);
    controls.SetResultText(row, 4, kTick);
    // The coloured cell is the written cell: the same letters, the same row.
    const std::string reference = CellReference(controls.Text(ControlId::编辑框_个税列号), r);
    if (!reference.empty()) session.SetRangeColor(reference, 2);
  }
}

}  // namespace varnex
