// A clerk's whole job without Excel: open a workbook with wrong taxes, let
// the pass correct some automatically, tick and correct the rest, save from
// the spreadsheet, and have LibreOffice confirm every tax in the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/open_command.h"
#include "automation/registry.h"
#include "spreadsheet/objects/application_object.h"
#include "spreadsheet/xls/xls_files.h"
#include "tax/brackets.h"
#include "tax/rounding.h"
#include "tax/text_convert.h"
#include "verify/correction.h"
#include "verify/tests/fake_controls.h"
#include "verify/verification.h"

namespace varnex::testing {
namespace {

namespace fs = std::filesystem;

TEST(EndToEnd, EveryTaxEndsUpStandard) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
  const fs::path folder = fs::temp_directory_path() / ("varnex-e2e-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path book = folder / "工资.xls";
  fs::copy_file(fs::path(VARNEX_FIXTURES) / "wrong-taxes.xls", book, fs::copy_options::overwrite_existing);

  std::shared_ptr<spreadsheet::Application> app;
  spreadsheet::objects::RegisterEmbeddedSpreadsheet([&](const auto& created) { app = created; },
                                                     &spreadsheet::xls::XlsFiles::Instance());
  ExcelSession session;
  FakeControls controls;
  OpenCommand open(controls, session);
  controls.chosen_file = book.string();
  open.OpenChosenWorkbook();
  ASSERT_EQ(controls.panes[3], "16|3");
  controls.texts[ControlId::编辑框_工资列号] = "B";
  controls.texts[ControlId::编辑框_个税列号] = "C";

  // Listed first without correcting: four rows are wrong.
  VerifySheet(controls, session);
  ASSERT_EQ(controls.rows.size(), 4u);
  // Two of them are ticked and corrected by hand.
  controls.rows[0].ticked = true;
  controls.rows[2].ticked = true;
  CorrectTickedRows(controls, session);
  EXPECT_EQ(controls.rows[0].texts[4], "√");
  // The rest the pass corrects by itself.
  controls.ticks[ControlId::选择框_更正否] = true;
  VerifySheet(controls, session);
  EXPECT_EQ(controls.rows.size(), 2u);
  controls.ticks[ControlId::选择框_更正否] = false;
  VerifySheet(controls, session);
  EXPECT_TRUE(controls.rows.empty());

  session.SaveWorkbook();
  ASSERT_FALSE(app->active_workbook()->dirty());

  const std::string profile = (folder / "profile").string();
  const std::string command = "cd '" + folder.string() + "' && soffice -env:UserInstallation=file://" + profile +
                              " --headless --norestore --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' '" + book.string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream csv(folder / "工资.csv");
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "姓名,应税工资,个税");
  int rows = 0;
  while (std::getline(csv, line)) {
    std::stringstream fields(line);
    std::string name, pay, tax;
    std::getline(fields, name, ',');
    std::getline(fields, pay, ',');
    std::getline(fields, tax, ',');
    const double standard = SalaryTax(RoundAmount(TextToNumber(pay), 2), 3500);
    EXPECT_EQ(TextToNumber(tax), standard) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 15);
  session.QuitApp();
  automation::Classes().Unregister(u"Excel.Application");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace varnex::testing
