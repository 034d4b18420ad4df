#pragma once

#include "excel/excel_session.h"
#include "verify/controls.h"

namespace varnex {

// The open command and the sheet figures. `excelStarted` is its only
// state: false until CreateApp first succeeds, never false again.
class OpenCommand {
 public:
  OpenCommand(Controls& controls, ExcelSession& session) : controls_(controls), session_(session) {}

  void OpenChosenWorkbook();
  void RefreshSheetFigures();
  void OnSheetNumberChanged();

  bool excelStarted = false;

  static constexpr std::string_view kCannotStart = "Excel程序创建失败，请检查是否正确安装Excel！";
  static constexpr std::string_view kCaption = "信息：";

 private:
  Controls& controls_;
  ExcelSession& session_;
};

}  // namespace varnex
