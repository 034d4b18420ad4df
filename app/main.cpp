#include <QApplication>

#include "app/main_window.h"
#include "excel/global_session.h"
#include "spreadsheet/objects/application_object.h"
#include "spreadsheet/xls/xls_files.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
#ifndef _WIN32
  // Without Excel, the embedded spreadsheet answers to "Excel.Application".
  varnex::spreadsheet::objects::RegisterEmbeddedSpreadsheet({}, &varnex::spreadsheet::xls::XlsFiles::Instance());
#endif
  // excelSession, the one global object, exists from before this point
  // until exit; the window is made only now.
  auto* window = new varnex::MainWindow(varnex::excelSession);
  window->show();
  return application.exec();
}
