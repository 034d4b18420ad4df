#include <QApplication>

#include <memory>
#include <vector>

#include "app/main_window.h"
#include "excel/global_session.h"
#include "spreadsheet/objects/application_object.h"
#include "spreadsheet/xls/xls_files.h"
#include "spreadsheet_window/spreadsheet_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Each embedded spreadsheet the session starts gets its own window, which
  // keeps the program running while it holds unsaved work the clerk kept.
  std::vector<std::unique_ptr<varnex::spreadsheet_window::SpreadsheetWindow>> spreadsheet_windows;
#ifndef _WIN32
  // Without Excel, the embedded spreadsheet answers to "Excel.Application".
  varnex::spreadsheet::objects::RegisterEmbeddedSpreadsheet(
      [&](const std::shared_ptr<varnex::spreadsheet::Application>& created) {
        spreadsheet_windows.push_back(std::make_unique<varnex::spreadsheet_window::SpreadsheetWindow>(created));
      },
      &varnex::spreadsheet::xls::XlsFiles::Instance());
#endif
  // excelSession, the one global object, exists from before this point
  // until exit; the window is made only now.
  auto* window = new varnex::MainWindow(varnex::excelSession);
  window->show();
  return application.exec();
}
