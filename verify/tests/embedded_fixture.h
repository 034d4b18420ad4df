#pragma once

#include <gtest/gtest.h>

#include "excel/excel_session.h"
#include "spreadsheet/application.h"
#include "spreadsheet/objects/application_object.h"
#include "verify/tests/fake_controls.h"

namespace varnex::testing {

// An embedded spreadsheet with one salary workbook open, and controls
// filled as the open command leaves them.
class SalarySheet : public ::testing::Test {
 protected:
  void SetUp() override {
    spreadsheet::objects::RegisterEmbeddedSpreadsheet([this](const auto& created) { app = created; });
    ASSERT_TRUE(session.CreateApp());
    workbook = app->AddWorkbook();
    controls.texts[ControlId::编辑框_工资列号] = "B";
    controls.texts[ControlId::编辑框_个税列号] = "C";
  }
  void TearDown() override {
    for (const auto& w : app->workbooks()) w->MarkSaved();
    session.QuitApp();
    automation::Classes().Unregister(u"Excel.Application");
  }
  spreadsheet::Sheet& sheet() { return workbook->active_sheet(); }
  // Row r: a name, the pay and the stored tax.
  void Row(std::int32_t r, spreadsheet::CellValue pay, spreadsheet::CellValue tax) {
    sheet().SetValue(r, 1, spreadsheet::CellValue::Text("职工" + std::to_string(r)));
    sheet().SetValue(r, 2, pay);
    sheet().SetValue(r, 3, tax);
  }
  void Row(std::int32_t r, double pay, double tax) {
    Row(r, spreadsheet::CellValue::Number(pay), spreadsheet::CellValue::Number(tax));
  }
  // The figures of the used range, as the open command shows them.
  void Figures() {
    const spreadsheet::Area used = sheet().UsedArea();
    controls.texts[ControlId::编辑框_表行数] = std::to_string(used.rows());
    controls.texts[ControlId::编辑框_起始行] = std::to_string(used.first_row);
  }
  std::vector<std::string> Listed(int column) const {
    std::vector<std::string> texts;
    for (const auto& row : controls.rows) texts.push_back(row.texts[static_cast<std::size_t>(column)]);
    return texts;
  }

  std::shared_ptr<spreadsheet::Application> app;
  std::shared_ptr<spreadsheet::Workbook> workbook;
  ExcelSession session;
  FakeControls controls;
};

}  // namespace varnex::testing
