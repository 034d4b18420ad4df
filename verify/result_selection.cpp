#include "verify/result_selection.h"

#include "tax/text_convert.h"
#include "verify/column_letters.h"

namespace varnex {

void OnResultRowFocused(Controls& controls, ExcelSession& session) {
  const int row = controls.SelectedResultRow();
  const std::string row_text = controls.ResultText(row, 0);
  session.SelectRange(row_text);
  if (controls.ResultText(row, 2) == controls.ResultText(row, 3)) return;
  const std::string reference =
      CellReference(controls.Text(ControlId::编辑框_个税列号), TextToInteger(row_text));
  if (!reference.empty()) session.SetRangeColor(reference, 6);
}

}  // namespace varnex
