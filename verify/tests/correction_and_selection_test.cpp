#include <gtest/gtest.h>

#include "verify/correction.h"
#include "verify/result_selection.h"
#include "verify/tests/embedded_fixture.h"
#include "verify/verification.h"

namespace varnex::testing {
namespace {

using spreadsheet::CellValue;

class Listed : public SalarySheet {
 protected:
  // Rows 2, 4 and 5 are wrong; the pass lists them in that order.
  void SetUp() override {
    SalarySheet::SetUp();
    controls.texts[ControlId::编辑框_个税列号] = "F";
    for (int r = 1; r <= 5; ++r) {
      sheet().SetValue(r, 2, CellValue::Number(10000));
      sheet().SetValue(r, 6, CellValue::Number(r == 2 || r >= 4 ? 700 : 745));
    }
    Figures();
    VerifySheet(controls, session);
    ASSERT_EQ(controls.rows.size(), 3u);
  }
  std::int32_t Fill(std::int32_t r, std::int32_t c) {
    return workbook->Format(sheet().FormatIndex(r, c)).fill_index;
  }
};

TEST_F(Listed, CorrectionWritesOnlyTickedRows) {
  controls.rows[0].ticked = true;  // row 2
  controls.rows[2].ticked = true;  // row 5; row 4 between them stays
  CorrectTickedRows(controls, session);
  EXPECT_EQ(sheet().Value(2, 6), CellValue::Number(745));
  EXPECT_EQ(sheet().Value(4, 6), CellValue::Number(700));
  EXPECT_EQ(sheet().Value(5, 6), CellValue::Number(745));
  EXPECT_EQ(controls.rows[0].texts[2], "745");
  EXPECT_EQ(controls.rows[0].texts[4], "√");
  EXPECT_EQ(controls.rows[1].texts[2], "700");
  EXPECT_EQ(controls.rows[1].texts[4], "");
  EXPECT_EQ(Fill(2, 6), 2);
  EXPECT_EQ(Fill(4, 6), spreadsheet::kColorIndexNone);
  EXPECT_TRUE(controls.rows[0].ticked);  // ticks stay as they were
}

TEST_F(Listed, CorrectionUsesTheBoxesAsTheyAreNow) {
  controls.rows[1].ticked = true;
  controls.rows[1].texts[3] = "123";  // the text shown is what is written
  controls.texts[ControlId::编辑框_个税列号] = "ab";
  workbook->AddSheet();
  controls.texts[ControlId::编辑框_表序] = "2";
  CorrectTickedRows(controls, session);
  EXPECT_EQ(workbook->sheet(1)->Value(4, 28), CellValue::Number(123));
  EXPECT_EQ(sheet().Value(4, 6), CellValue::Number(700));
  // The colour goes to AB4 of the active sheet: the written column's letters.
  EXPECT_EQ(Fill(4, 28), 2);
}

TEST_F(Listed, CorrectionRefusesAnInvalidTaxLetter) {
  for (auto& row : controls.rows) row.ticked = true;
  for (const char* letter : {"", "1", "A1"}) {
    controls.texts[ControlId::编辑框_个税列号] = letter;
    controls.focused.reset();
    CorrectTickedRows(controls, session);
    EXPECT_EQ(controls.focused, ControlId::编辑框_个税列号);
    EXPECT_EQ(sheet().Value(2, 1), CellValue{}) << letter;  // nothing went to column A
    EXPECT_EQ(controls.rows[0].texts[4], "");
  }
}

TEST_F(Listed, AFailedWriteLeavesTheRow) {
  controls.rows[0].ticked = true;
  controls.texts[ControlId::编辑框_表序] = "9";  // no such sheet
  CorrectTickedRows(controls, session);
  EXPECT_EQ(controls.rows[0].texts[2], "700");
  EXPECT_EQ(controls.rows[0].texts[4], "");
  EXPECT_EQ(Fill(2, 6), spreadsheet::kColorIndexNone);
}

TEST_F(Listed, SelectionSelectsEveryRowAndColoursOnlyDifferences) {
  controls.selected = 0;
  OnResultRowFocused(controls, session);
  EXPECT_EQ(sheet().selection(), (spreadsheet::Area{2, 1, 2, spreadsheet::kMaxColumns}));
  EXPECT_EQ(Fill(2, 6), 6);

  controls.rows[1].ticked = true;
  CorrectTickedRows(controls, session);  // row 4: texts now equal, filled white
  controls.selected = 1;
  OnResultRowFocused(controls, session);
  EXPECT_EQ(sheet().selection(), (spreadsheet::Area{4, 1, 4, spreadsheet::kMaxColumns}));
  EXPECT_EQ(Fill(4, 6), 2);

  controls.selected = -1;  // no row: nothing is selected or coloured
  OnResultRowFocused(controls, session);
  EXPECT_EQ(sheet().selection(), (spreadsheet::Area{4, 1, 4, spreadsheet::kMaxColumns}));
}

TEST_F(Listed, AutomaticallyCorrectedRowsStillTurnYellow) {
  controls.ticks[ControlId::选择框_更正否] = true;
  VerifySheet(controls, session);
  ASSERT_EQ(controls.rows.size(), 3u);
  controls.selected = 2;
  OnResultRowFocused(controls, session);
  EXPECT_EQ(sheet().Value(5, 6), CellValue::Number(745));
  EXPECT_EQ(Fill(5, 6), 6);  // "个税原值" still shows the old tax
  controls.texts[ControlId::编辑框_个税列号] = "";
  controls.selected = 0;
  OnResultRowFocused(controls, session);  // no letter: selected, not coloured
  EXPECT_EQ(Fill(2, 6), spreadsheet::kColorIndexNone);
  EXPECT_EQ(sheet().selection().first_row, 2);
}

}  // namespace
}  // namespace varnex::testing
