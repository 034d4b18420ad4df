#include <gtest/gtest.h>

#include "app/calculator.h"
#include "app/open_command.h"
#include "app/tests/memory_files.h"
#include "excel/tests/session_fixture.h"
#include "spreadsheet/objects/application_object.h"
#include "verify/tests/fake_controls.h"

namespace varnex::testing {
namespace {

using spreadsheet::CellValue;

struct CalculatorCase {
  const char* amount;
  bool bonus;
  const char* threshold;
  const char* message;
};

TEST(Calculator, ShowsTheAmountItsTaxAndWhatIsLeft) {
  const CalculatorCase cases[] = {
      {"10000", false, "3500", "薪酬：10000,个税：745,税后：9255"},
      {"8000", false, "4800", "薪酬：8000,个税：215,税后：7785"},
      {"5000.4", false, "3500", "薪酬：5000.4,个税：45.04,税后：4955.36"},
      {"3600.456", false, "3500", "薪酬：3600.456,个税：3.01,税后：3597.446"},
      {"3500", false, "3500", "薪酬：3500,个税：0,税后：3500"},
      {"", false, "3500", "薪酬：,个税：0,税后：0"},
      {"24000", true, "3500", "一次性年终奖：24000,个税：2295,税后：21705"},
      {"50000", true, "4800", "一次性年终奖：50000,个税：4895,税后：45105"},
      {"", true, "3500", "一次性年终奖：,个税：0,税后：0"},
      {"-", false, "3500", "薪酬：-,个税：0,税后：0"},
      {".", false, "3500", "薪酬：.,个税：0,税后：0"},
      {"-100", false, "3500", "薪酬：-100,个税：0,税后：-100"},
      {"4800", false, "4800", "薪酬：4800,个税：0,税后：4800"},
  };
  for (const auto& c : cases) {
    FakeControls controls;
    controls.texts[ControlId::编辑框_工资] = c.amount;
    controls.texts[ControlId::组合框_起征点] = c.threshold;
    controls.ticks[ControlId::选择框_年终奖] = c.bonus;
    RunCalculator(controls);
    EXPECT_EQ(controls.panes[1], c.message);
    EXPECT_EQ(controls.tooltips[1], c.message);
    EXPECT_EQ(controls.clears, 0);
  }
}

TEST(Calculator, ReadsTheThresholdOnlyForPay) {
  FakeControls controls;
  controls.ticks[ControlId::选择框_年终奖] = true;
  RunCalculator(controls);
  for (ControlId read : controls.reads) EXPECT_NE(read, ControlId::组合框_起征点);
}

// The open command against the embedded spreadsheet, reading workbooks the
// test builds in memory.
class OpenCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.books["/data/工资.xls"] = [](spreadsheet::Workbook& w) {
      spreadsheet::Sheet& first = w.AddSheet("一月");
      first.SetValue(1, 1, CellValue::Text("姓名"));
      first.SetValue(25, 8, CellValue::Number(745));
      spreadsheet::Sheet& second = w.AddSheet("二月");
      second.SetValue(4, 3, CellValue::Number(1));
      second.SetValue(13, 5, CellValue::Number(1));
      w.AddSheet("三月");
    };
    spreadsheet::objects::RegisterEmbeddedSpreadsheet([this](const auto& created) { app = created; }, &files);
    controls.chosen_file = "/data/工资.xls";
  }
  void TearDown() override {
    session.QuitApp();
    automation::Classes().Unregister(u"Excel.Application");
  }

  MemoryFiles files;
  std::shared_ptr<spreadsheet::Application> app;
  ExcelSession session;
  FakeControls controls;
  OpenCommand open{controls, session};
};

TEST_F(OpenCommandTest, OpensAndShowsTheActiveSheetsFigures) {
  controls.texts[ControlId::编辑框_表序] = "2";
  controls.rows.push_back({});
  open.OpenChosenWorkbook();
  EXPECT_TRUE(open.excelStarted);
  EXPECT_TRUE(app->visible());
  EXPECT_EQ(app->workbooks().size(), 1u);
  EXPECT_TRUE(controls.rows.empty());
  EXPECT_EQ(controls.panes[1], "/data/工资.xls");
  EXPECT_EQ(controls.tooltips[1], "/data/工资.xls");
  EXPECT_EQ(controls.upper_limit, 3);
  EXPECT_EQ(controls.texts[ControlId::编辑框_表序], "2");  // unchanged; sheet 1 is measured
  EXPECT_EQ(controls.texts[ControlId::编辑框_表行数], "25");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始行], "1");
  EXPECT_EQ(controls.texts[ControlId::编辑框_表列数], "8");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始列], "1");
  EXPECT_EQ(controls.panes[3], "25|8");
  EXPECT_EQ(controls.wait_cursor, 0);

  open.OnSheetNumberChanged();  // the box says 2
  EXPECT_EQ(controls.panes[3], "10|3");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始行], "4");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始列], "3");
  controls.texts[ControlId::编辑框_表序] = "";
  open.OnSheetNumberChanged();  // no sheet 0: the figures stay those of sheet 2
  EXPECT_EQ(controls.panes[3], "10|3");
  controls.texts[ControlId::编辑框_表序] = "1";
  open.OnSheetNumberChanged();
  EXPECT_EQ(controls.panes[3], "25|8");
}

TEST_F(OpenCommandTest, CancellingALaterDialogClosesTheEarlierWorkbook) {
  open.OpenChosenWorkbook();
  controls.rows.push_back({});
  controls.chosen_file.reset();
  open.OpenChosenWorkbook();
  EXPECT_TRUE(app->workbooks().empty());
  EXPECT_EQ(controls.texts[ControlId::编辑框_表行数], "");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始列], "");
  EXPECT_EQ(controls.rows.size(), 1u);
  EXPECT_EQ(controls.panes[1], "/data/工资.xls");
  EXPECT_EQ(controls.wait_cursor, 0);
}

TEST_F(OpenCommandTest, AFileThatCannotBeOpenedShowsZeros) {
  controls.chosen_file = "/data/missing.xls";
  open.OpenChosenWorkbook();
  EXPECT_EQ(controls.panes[3], "0|0");
  EXPECT_EQ(controls.texts[ControlId::编辑框_起始行], "0");
  EXPECT_EQ(controls.upper_limit, 0);
  EXPECT_EQ(controls.panes[1], "/data/missing.xls");
  EXPECT_TRUE(controls.messages.empty());
}

TEST_F(OpenCommandTest, SheetNumberBeforeAnyWorkbook) {
  open.OnSheetNumberChanged();
  EXPECT_EQ(controls.panes[3], "0|0");
  EXPECT_EQ(controls.texts[ControlId::编辑框_表列数], "0");
}

TEST(OpenCommandWithoutExcel, SaysSoAndTriesAgainNextTime) {
  ExcelSession session;
  FakeControls controls;
  controls.texts[ControlId::编辑框_表行数] = "25";
  OpenCommand open(controls, session);
  open.OpenChosenWorkbook();
  EXPECT_EQ(controls.messages, std::vector<std::string>{"信息：|Excel程序创建失败，请检查是否正确安装Excel！"});
  EXPECT_FALSE(open.excelStarted);
  EXPECT_EQ(controls.texts[ControlId::编辑框_表行数], "");
  EXPECT_EQ(controls.dialogs, 0);
  EXPECT_EQ(controls.wait_cursor, 0);

  RegisteredServer registered;  // now there is one
  controls.chosen_file.reset();
  open.OpenChosenWorkbook();
  EXPECT_TRUE(open.excelStarted);
  EXPECT_EQ(controls.messages.size(), 1u);
  EXPECT_EQ(controls.dialogs, 1);
  session.QuitApp();
}

}  // namespace
}  // namespace varnex::testing
