#include "verify/verification.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "excel/tests/session_fixture.h"
#include "verify/tests/embedded_fixture.h"

namespace varnex::testing {
namespace {

using spreadsheet::CellValue;
using Texts = std::vector<std::string>;

bool WasRead(const FakeControls& c, ControlId id) {
  return std::find(c.reads.begin(), c.reads.end(), id) != c.reads.end();
}

TEST_F(SalarySheet, ListsEveryRowOutsideTheTolerance) {
  Row(1, CellValue::Text("应税工资"), CellValue::Text("个税"));  // a header reads as 0 and 0
  Row(2, 10000, 745);           // right
  Row(3, 10000, 700);           // wrong
  Row(4, 5000, 45.004);         // 0.004 off: listed, the stored tax is not rounded
  Row(5, 5000, 45.00000005);    // within 1e-7: not listed
  Row(6, 3500, 0);              // at the threshold
  Row(7, 12345.674, 1214.13);   // pay rounded to 2 places before the tax
  Row(8, CellValue::Text("8000"), CellValue::Text("345"));  // numbers kept as text
  Row(9, CellValue::Number(8000.01), CellValue{});  // empty tax cell
  Figures();
  workbook->MarkSaved();
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(0), (Texts{"3", "4", "9"}));
  EXPECT_EQ(Listed(1), (Texts{"10000", "5000", "8000.01"}));
  EXPECT_EQ(Listed(2), (Texts{"700", "45.004", "0"}));
  EXPECT_EQ(Listed(3), (Texts{"745", "45", "345"}));
  EXPECT_EQ(Listed(4), (Texts{"", "", ""}));
  EXPECT_EQ(controls.panes[1], kDoneText);
  EXPECT_FALSE(controls.progress_visible);
  EXPECT_EQ(controls.progress.back(), 0);
  EXPECT_EQ(controls.wait_cursor, 0);
  EXPECT_FALSE(workbook->dirty());  // without automatic correction nothing is written
}

TEST_F(SalarySheet, ThresholdAndBonusMode) {
  Row(1, 8000, 215);
  Row(2, 24000, 2295);
  Figures();
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(0), (Texts{"1", "2"}));  // under 3500 both differ
  EXPECT_EQ(Listed(3), (Texts{"345", "4120"}));
  controls.texts[ControlId::组合框_起征点] = "4800";
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(0), (Texts{"2"}));
  controls.ticks[ControlId::选择框_年终奖] = true;
  controls.reads.clear();
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(0), (Texts{"1"}));  // 8000 as a bonus is 240
  EXPECT_EQ(Listed(3), (Texts{"240"}));
  EXPECT_FALSE(WasRead(controls, ControlId::组合框_起征点));
}

TEST_F(SalarySheet, AutomaticCorrectionWritesOnlyDifferingRows) {
  Row(1, 10000, 745);
  Row(2, 10000, 700);
  Row(3, 12345.67, 0);
  Figures();
  controls.ticks[ControlId::选择框_更正否] = true;
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(0), (Texts{"2", "3"}));
  EXPECT_EQ(Listed(2), (Texts{"700", "0"}));
  EXPECT_EQ(Listed(3), (Texts{"745", "1214.13"}));
  EXPECT_EQ(Listed(4), (Texts{"√", "√"}));
  EXPECT_EQ(sheet().Value(2, 3), CellValue::Number(745));
  EXPECT_EQ(sheet().Value(3, 3), CellValue::Number(1214.13));
  EXPECT_EQ(sheet().Value(1, 3), CellValue::Number(745));
  VerifySheet(controls, session);  // a second pass finds nothing
  EXPECT_TRUE(controls.rows.empty());
}

TEST_F(SalarySheet, NothingToReadEndsNormally) {
  Row(1, 10000, 0);
  controls.texts[ControlId::编辑框_表行数] = "";  // no workbook opened yet
  VerifySheet(controls, session);
  EXPECT_TRUE(controls.rows.empty());
  EXPECT_TRUE(controls.progress_shown_ever);
  EXPECT_FALSE(controls.progress_visible);
  EXPECT_EQ(controls.panes[1], kDoneText);

  Figures();
  controls.texts[ControlId::编辑框_表序] = "2";  // no such sheet
  VerifySheet(controls, session);
  EXPECT_TRUE(controls.rows.empty());
  controls.texts[ControlId::编辑框_表序] = "1";
  controls.texts[ControlId::编辑框_起始行] = "0";  // rows 0 and 1: row 0 reads nothing
  controls.texts[ControlId::编辑框_表行数] = "1";
  VerifySheet(controls, session);
  EXPECT_TRUE(controls.rows.empty());
}

TEST_F(SalarySheet, ProgressStaysWithinItsRangeAndRisesToTheEnd) {
  for (int r = 1; r <= 7; ++r) Row(r, 10000, 0);
  Figures();
  VerifySheet(controls, session);
  ASSERT_EQ(controls.progress.size(), 8u);
  EXPECT_TRUE(std::is_sorted(controls.progress.begin(), controls.progress.end() - 1));
  EXPECT_EQ(controls.progress[6], 100);
  for (int p : controls.progress) EXPECT_TRUE(p >= 0 && p <= 100);

  controls.progress.clear();
  controls.texts[ControlId::编辑框_表行数] = "1";  // a one-row pass
  VerifySheet(controls, session);
  EXPECT_EQ(controls.progress, (std::vector<int>{100, 0}));
}

struct RefusedCase {
  const char* pay;
  const char* tax;
  ControlId focus;
};

class RefusedLetters : public SalarySheet, public ::testing::WithParamInterface<RefusedCase> {};

// An empty letter, or one that is no column, reads and writes nothing.
TEST_P(RefusedLetters, FocusTheBoxAndTouchNothing) {
  Row(1, 10000, 0);
  Figures();
  controls.rows.push_back({});  // an earlier result
  controls.ticks[ControlId::选择框_更正否] = true;
  controls.texts[ControlId::编辑框_工资列号] = GetParam().pay;
  controls.texts[ControlId::编辑框_个税列号] = GetParam().tax;
  VerifySheet(controls, session);
  EXPECT_TRUE(controls.rows.empty());
  EXPECT_EQ(controls.focused, GetParam().focus);
  EXPECT_EQ(controls.panes[1], "");
  EXPECT_FALSE(controls.progress_shown_ever);
  EXPECT_EQ(sheet().Value(1, 3), CellValue::Number(0));
}

INSTANTIATE_TEST_SUITE_P(
    Letters, RefusedLetters,
    ::testing::Values(RefusedCase{"", "C", ControlId::编辑框_工资列号},
                      RefusedCase{"", "", ControlId::编辑框_工资列号},
                      RefusedCase{"B", "", ControlId::编辑框_个税列号},
                      RefusedCase{"1", "C", ControlId::编辑框_工资列号},
                      RefusedCase{"B", "A1", ControlId::编辑框_个税列号},
                      RefusedCase{" ", "C", ControlId::编辑框_工资列号},
                      RefusedCase{"B", "XFE", ControlId::编辑框_个税列号}));

TEST_F(SalarySheet, MendedLettersReadTheirWholeName) {
  sheet().SetValue(1, 28, CellValue::Number(10000));  // AB
  sheet().SetValue(1, 6, CellValue::Number(0));       // F
  Figures();
  controls.texts[ControlId::编辑框_工资列号] = "ab";
  controls.texts[ControlId::编辑框_个税列号] = "Ｆ";
  VerifySheet(controls, session);
  EXPECT_EQ(Listed(1), (Texts{"10000"}));
  EXPECT_EQ(Listed(3), (Texts{"745"}));
}

// With the recording server: a write that fails is never reported as done.
TEST(VerifySheetCalls, AFailedWriteIsListedWithoutTheTick) {
  RegisteredServer registered;
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  registered.server.Answer("Application.ActiveWorkbook.Sheets.Item.Cells.Item", automation::Variant::Real8(10000));
  registered.server.FailWrites("Application.ActiveWorkbook.Sheets.Item.Cells.Item", automation::DISP_E_EXCEPTION);
  FakeControls controls;
  controls.texts[ControlId::编辑框_工资列号] = "B";
  controls.texts[ControlId::编辑框_个税列号] = "C";
  controls.texts[ControlId::编辑框_表行数] = "1";
  controls.texts[ControlId::编辑框_起始行] = "4";
  controls.ticks[ControlId::选择框_更正否] = true;
  registered.server.log.clear();
  VerifySheet(controls, session);
  ASSERT_EQ(controls.rows.size(), 1u);
  EXPECT_EQ(controls.rows[0].texts[4], "");
  // Pay, then tax, then the write of the standard tax, in that order.
  const auto& log = registered.server.log;
  ASSERT_EQ(log.size(), 15u);
  EXPECT_EQ(log[4], "Application.ActiveWorkbook.Sheets.Item.Cells get Item(I4:4, I4:2)");
  EXPECT_EQ(log[9], "Application.ActiveWorkbook.Sheets.Item.Cells get Item(I4:4, I4:3)");
  EXPECT_EQ(log[14], "Application.ActiveWorkbook.Sheets.Item.Cells put Item(I4:4, I4:3) = BSTR:\"745\"");
  session.QuitApp();
}

}  // namespace
}  // namespace varnex::testing
