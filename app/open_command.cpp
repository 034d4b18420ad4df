#include "app/open_command.h"

#include "tax/text_convert.h"

namespace varnex {

void OpenCommand::OpenChosenWorkbook() {
  controls_.ShowWaitCursor();
  for (ControlId box : {ControlId::编辑框_起始行, ControlId::编辑框_表行数, ControlId::编辑框_起始列,
                        ControlId::编辑框_表列数})
    controls_.SetText(box, "");

  if (!excelStarted) {
    if (!session_.CreateApp()) {
      controls_.ShowMessage(kCannotStart, kCaption);
      controls_.RestoreCursor();
      return;
    }
    excelStarted = true;
  } else {
    session_.CloseWorkbooks();
  }

  const auto path = controls_.ChooseFile();
  if (!path) {
    controls_.RestoreCursor();
    return;
  }
  session_.SetVisible(true);
  session_.OpenWorkbook(*path, "", false).Release();
  controls_.ClearResultRows();
  controls_.SetPaneText(1, *path);
  controls_.SetPaneTooltip(1, *path);
  // The box's number stays; the figures are those of the sheet the
  // workbook opened on.
  controls_.SetSheetNumberUpperLimit(session_.SheetCount());
  RefreshSheetFigures();
  controls_.RestoreCursor();
}

void OpenCommand::RefreshSheetFigures() {
  controls_.SetText(ControlId::编辑框_表行数, IntegerToText(session_.UsedRowCount()));
  controls_.SetText(ControlId::编辑框_起始行, IntegerToText(session_.UsedFirstRow()));
  controls_.SetText(ControlId::编辑框_表列数, IntegerToText(session_.UsedColumnCount()));
  controls_.SetText(ControlId::编辑框_起始列, IntegerToText(session_.UsedFirstColumn()));
  controls_.SetPaneText(3, controls_.Text(ControlId::编辑框_表行数) + "|" +
                               controls_.Text(ControlId::编辑框_表列数));
}

void OpenCommand::OnSheetNumberChanged() {
  session_.SelectSheet(TextToInteger(controls_.Text(ControlId::编辑框_表序)));
  RefreshSheetFigures();
}

}  // namespace varnex
