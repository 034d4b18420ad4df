// VerifySheet over 100000 rows of the embedded spreadsheet, through the
// real window (offscreen): once with no row differing, once with every row
// differing so that the results table gets 100000 rows.
#include <QApplication>
#include <malloc.h>

#include <chrono>
#include <cstdio>

#include "app/main_window.h"
#include "spreadsheet/application.h"
#include "spreadsheet/objects/application_object.h"
#include "tax/brackets.h"
#include "tax/rounding.h"
#include "verify/verification.h"

using namespace varnex;

// Heap bytes in use, the large blocks the allocator maps apart included.
static std::size_t InUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::shared_ptr<spreadsheet::Application> app;
  spreadsheet::objects::RegisterEmbeddedSpreadsheet([&](const auto& created) { app = created; });
  ExcelSession session;
  session.CreateApp();
  auto book = app->AddWorkbook();
  spreadsheet::Sheet& sheet = book->active_sheet();
  constexpr int kRows = 100000;
  for (int r = 1; r <= kRows; ++r) {
    const double pay = 3000 + (r % 5000) * 7.31;
    sheet.SetValue(r, 2, spreadsheet::CellValue::Number(pay));
    const double tax = SalaryTax(RoundAmount(pay, 2), 3500);
    sheet.SetValue(r, 3, spreadsheet::CellValue::Number(tax));
    sheet.SetValue(r, 4, spreadsheet::CellValue::Number(tax + 1));
  }
  auto* window = new MainWindow(session);
  window->show();
  QApplication::processEvents();
  window->SetText(ControlId::编辑框_工资列号, "B");
  window->SetText(ControlId::编辑框_个税列号, "C");
  window->SetText(ControlId::编辑框_表行数, std::to_string(kRows));
  window->SetText(ControlId::编辑框_起始行, "1");

  for (const char* tax_column : {"C", "D"}) {  // column D is off by one everywhere
    window->SetText(ControlId::编辑框_个税列号, tax_column);
    window->ClearResultRows();
    const std::size_t before = InUse();
    const auto start = std::chrono::steady_clock::now();
    VerifySheet(*window, session);
    QApplication::processEvents();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t after = InUse();
    const int listed = window->ResultRowCount();
    std::printf("%s: %.3f s for %d rows, %d listed, %.0f bytes per listed row\n",
                listed ? "every row differing" : "no row differing", seconds, kRows, listed,
                listed ? static_cast<double>(after - before) / listed : 0.0);
  }
  for (auto& w : app->workbooks()) w->MarkSaved();
  delete window;
  return 0;
}
