#include <gtest/gtest.h>

#include "excel/calling_rules.h"
#include "excel/cell_value.h"
#include "excel/excel_session.h"
#include "spreadsheet/application.h"
#include "spreadsheet/objects/application_object.h"
#include "spreadsheet/objects/served.h"

namespace varnex::spreadsheet {
namespace {

using automation::Variant;

// Answers every question the application asks a person with the same choice.
class ScriptedHooks : public ApplicationHooks {
 public:
  SaveChoice choice = SaveChoice::kCancel;
  int asked = 0;
  SaveChoice AskToSave(Workbook&) override {
    ++asked;
    return choice;
  }
  bool AgreeToLoseContent(Workbook&) override { return false; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string& initial) override {
    return initial.empty() ? std::nullopt : std::optional(initial);
  }
  bool FindFile() override { return false; }
  bool PrintPreview(Workbook&) override { return true; }
  bool PrintOut(Workbook&) override { return true; }
  bool NewWindow(Workbook&) override { return true; }
  bool FunctionWizard(Sheet&, const Area&) override { return true; }
  std::int32_t View() override { return view; }
  bool SetView(std::int32_t v) override {
    view = v;
    return true;
  }
  std::int32_t view = 1;
};

// Keeps written workbooks in memory by path.
class MemoryFiles : public WorkbookFiles {
 public:
  bool Read(const std::string&, Workbook&, std::string* error) override {
    *error = "not here";
    return false;
  }
  bool Write(const Workbook& workbook, const std::string& path, std::string*) override {
    if (fail) return false;
    written.push_back(path + ":" + workbook.sheet(0)->name());
    return true;
  }
  bool fail = false;
  std::vector<std::string> written;
};

class EmbeddedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    objects::RegisterEmbeddedSpreadsheet([this](const auto& created) { app = created; }, &files);
    live_before = objects::Served::LiveObjects();
    ASSERT_TRUE(session.CreateApp());
    ASSERT_TRUE(app);
  }
  void TearDown() override {
    for (const auto& w : app->workbooks()) w->MarkSaved();
    session.QuitApp();
    EXPECT_EQ(objects::Served::LiveObjects(), live_before);
    automation::Classes().Unregister(u"Excel.Application");
  }
  // A workbook with `sheets` sheets, the first active.
  Workbook& Book(int sheets = 1) {
    auto w = app->AddWorkbook();
    while (static_cast<int>(w->sheet_count()) < sheets) w->AddSheet();
    w->ActivateSheet(0);
    return *w;
  }
  void ExpectBalanced() { EXPECT_EQ(objects::Served::LiveObjects(), live_before + 1) << "only the application"; }

  MemoryFiles files;
  std::shared_ptr<Application> app;
  ExcelSession session;
  long live_before = 0;
};

TEST_F(EmbeddedSession, FiguresOfTheActiveSheet) {
  EXPECT_EQ(session.SheetCount(), 0);  // no workbook yet
  EXPECT_EQ(session.UsedRowCount(), 0);
  Workbook& w = Book(3);
  Sheet& s = w.active_sheet();
  EXPECT_EQ(session.SheetCount(), 3);
  EXPECT_EQ(session.UsedRowCount(), 1);  // an empty sheet's used range is A1
  EXPECT_EQ(session.UsedFirstRow(), 1);
  s.SetValue(1, 1, CellValue::Text("工号"));
  s.SetValue(25, 8, CellValue::Number(45));
  EXPECT_EQ(session.UsedRowCount(), 25);
  EXPECT_EQ(session.UsedFirstRow(), 1);
  EXPECT_EQ(session.UsedColumnCount(), 8);
  EXPECT_EQ(session.UsedFirstColumn(), 1);

  Sheet& second = *w.sheet(1);
  second.SetValue(4, 3, CellValue::Number(1));
  second.SetValue(13, 5, CellValue::Number(2));
  session.SelectSheet(2);
  EXPECT_EQ(w.active_sheet_index(), 1u);
  EXPECT_EQ(session.UsedRowCount(), 10);
  EXPECT_EQ(session.UsedFirstRow(), 4);
  EXPECT_EQ(session.UsedColumnCount(), 3);
  EXPECT_EQ(session.UsedFirstColumn(), 3);
  session.SelectSheet(0);
  session.SelectSheet(9);
  EXPECT_EQ(w.active_sheet_index(), 1u);
  ExpectBalanced();
}

TEST_F(EmbeddedSession, ReadCellThroughTheDefaultMember) {
  Workbook& w = Book(2);
  Sheet& s = *w.sheet(1);  // not the active sheet: ReadCell goes by number
  s.SetValue(2, 1, CellValue::Number(45.004));
  s.SetValue(2, 2, CellValue::Text("745"));
  s.SetValue(2, 3, CellValue::Text("工资"));
  s.SetValue(2, 4, CellValue::Boolean(true));
  s.SetValue(2, 5, CellValue::Error(kErrorNA));
  s.SetValue(2, 6, CellValue::Date(45296));
  const double expected[] = {45.004, 745, 0, -1, 0, 45296, 0};
  for (int c = 1; c <= 7; ++c) EXPECT_EQ(CellValueToNumber(session.ReadCell(2, 2, c)), expected[c - 1]) << c;
  EXPECT_EQ(CellValueToText(session.ReadCell(2, 2, 3)), "工资");
  EXPECT_TRUE(session.ReadCell(3, 2, 1).IsEmpty());   // no such sheet
  EXPECT_TRUE(session.ReadCell(2, 0, 1).IsEmpty());   // no such row
  EXPECT_TRUE(session.ReadCell(2, 1, -27).IsEmpty()); // no such column
  ExpectBalanced();
}

TEST_F(EmbeddedSession, WriteCellStoresAsTyped) {
  Workbook& w = Book(2);
  EXPECT_TRUE(session.WriteCell(2, 12, 6, "745"));
  EXPECT_EQ(w.sheet(1)->Value(12, 6), CellValue::Number(745));
  EXPECT_TRUE(session.WriteCell(1, 1, 1, "个税"));
  EXPECT_EQ(w.sheet(0)->Value(1, 1), CellValue::Text("个税"));
  EXPECT_TRUE(session.WriteCell(1, 1, 2, "1e-007"));
  EXPECT_EQ(w.sheet(0)->Value(1, 2), CellValue::Number(1e-7));
  EXPECT_TRUE(w.dirty());
  EXPECT_FALSE(session.WriteCell(3, 1, 1, "1"));
  EXPECT_FALSE(session.WriteCell(1, 0, 1, "1"));
  EXPECT_FALSE(session.WriteCell(1, 1, 0, "1"));
  ExpectBalanced();
}

TEST_F(EmbeddedSession, ColourAndSelectionTouchOnlyTheirCells) {
  Workbook& w = Book();
  Sheet& s = w.active_sheet();
  session.SetRangeColor("D7", 6);
  EXPECT_EQ(w.Format(s.FormatIndex(7, 4)).fill_index, 6);
  EXPECT_EQ(s.UsedArea(), (Area{7, 4, 7, 4}));  // a formatted cell counts as used
  session.SetRangeColor("D7", 2);
  EXPECT_EQ(w.Format(s.FormatIndex(7, 4)).fill_index, 2);
  session.SetRangeColor("7", 6);  // not an address: nothing happens
  session.SetRangeColor("D7", 99);
  EXPECT_EQ(w.Format(s.FormatIndex(7, 4)).fill_index, 2);
  EXPECT_EQ(s.UsedArea(), (Area{7, 4, 7, 4}));

  session.SelectRange("7");
  EXPECT_EQ(s.selection(), (Area{7, 1, 7, kMaxColumns}));
  session.SelectRange("F12");
  EXPECT_EQ(s.selection(), (Area{12, 6, 12, 6}));
  session.SelectRange("");
  EXPECT_EQ(s.selection(), (Area{12, 6, 12, 6}));
  ExpectBalanced();
}

TEST_F(EmbeddedSession, FurtherOperationsReachTheModel) {
  Workbook& w = Book();
  Sheet& s = w.active_sheet();
  session.SetRangeValue("A1:B2", "5");
  EXPECT_EQ(s.Value(2, 2), CellValue::Number(5));
  session.SetRangeFormula("C1", "=A1*2");
  EXPECT_EQ(session.GetRangeFormula("C1"), "=A1*2");
  EXPECT_EQ(session.GetRangeValue("A1"), "5");
  session.SetRangeFont("A1", "黑体", 14, 255, true);
  const Font& f = w.Format(s.FormatIndex(1, 1)).font;
  EXPECT_EQ(f.name, "黑体");
  EXPECT_EQ(f.size, 14);
  EXPECT_EQ(f.color, 0xFF0000u);
  EXPECT_TRUE(f.bold);
  EXPECT_FALSE(f.italic);
  session.SetRangeBorders("A1", "B2");
  EXPECT_EQ(w.Format(s.FormatIndex(1, 1)).borders[kBottom].line_style, kLineStyleContinuous);
  EXPECT_EQ(w.Format(s.FormatIndex(2, 2)).borders[kRight].line_style, kLineStyleContinuous);
  session.MergeRange("A1:B2");
  EXPECT_EQ(s.merged().size(), 1u);
  session.UnmergeRange("A1:B2");
  EXPECT_TRUE(s.merged().empty());
  session.SetHorizontalAlignment("A1", kAlignCenter);
  EXPECT_EQ(w.Format(s.FormatIndex(1, 1)).horizontal_alignment, kAlignCenter);
  session.AddRangeComment("B1", "已核对");
  EXPECT_EQ(*s.Comment(1, 2), "已核对");
  session.ClearRangeComments("B1");
  EXPECT_EQ(s.Comment(1, 2), nullptr);
  session.CopyRange("A1:A2");
  session.PasteRangeSpecial("E5");
  EXPECT_EQ(s.Value(6, 5), CellValue::Number(5));
  session.FillRangeDown("A1:A4");
  EXPECT_EQ(s.Value(4, 1), CellValue::Number(5));
  session.InsertRows("2:2", 1);
  EXPECT_EQ(s.Value(3, 2), CellValue::Number(5));
  EXPECT_TRUE(s.Value(2, 2).kind == CellKind::kEmpty);
  session.DeleteRange("2:2", -4162);
  EXPECT_EQ(s.Value(2, 2), CellValue::Number(5));
  session.ClearRangeContents("A1:B2");
  EXPECT_EQ(s.Value(1, 1).kind, CellKind::kEmpty);
  session.AutoFillRange("A1", 3);  // an integer is no destination range: refused
  session.RunMacro("Macro1");      // no macros
  session.SetStandardFont("宋体");
  session.SetStandardFontSize(10.5);
  EXPECT_EQ(app->standard_font_size, 10.5);
  EXPECT_TRUE(session.SetRollZoom(true));
  EXPECT_TRUE(app->roll_zoom);
  session.DeleteSheet(1);  // the last sheet stays
  EXPECT_EQ(w.sheet_count(), 1u);
  AutomationObject added = session.AddWorkbook();
  EXPECT_FALSE(added.IsEmpty());
  added.Release();
  EXPECT_EQ(app->workbooks().size(), 2u);
  ExpectBalanced();
}

TEST_F(EmbeddedSession, HooksAnswerWhatNeedsAPerson) {
  Book();
  EXPECT_EQ(session.AskInput("金额", "输入"), "");  // no hook: fails
  EXPECT_FALSE(session.ShowFindFile());
  ScriptedHooks hooks;
  app->hooks = &hooks;
  EXPECT_EQ(session.AskInput("金额", "输入"), "0");  // cancelled: False
  session.ShowPageBreakPreview();
  EXPECT_EQ(hooks.view, 2);
  app->hooks = nullptr;
  ExpectBalanced();
}

// A handle kept past its workbook's closing answers nothing any more.
TEST_F(EmbeddedSession, HandlesOfClosedWorkbooksFail) {
  AutomationObject book = session.AddWorkbook();
  AutomationObject sheets = calling::ReadObject(book, u"Sheets");
  AutomationObject sheet = calling::ReadObject(sheets, u"Item", {calling::I4(1)});
  AutomationObject cell = calling::ReadObject(calling::ReadObject(sheet, u"Cells"), u"Item", {calling::I4(1), calling::I4(1)});
  ASSERT_FALSE(cell.IsEmpty());
  EXPECT_TRUE(calling::Write(cell, u"Value", {}, Variant::Int4(5)));
  app->workbooks()[0]->MarkSaved();  // no one to ask here: closing would keep it open
  session.CloseWorkbooks();
  EXPECT_TRUE(app->workbooks().empty());
  EXPECT_FALSE(calling::Write(cell, u"Value", {}, Variant::Int4(6)));
  EXPECT_TRUE(calling::ReadValue(sheets, u"Count").IsEmpty());
  EXPECT_TRUE(calling::ReadObject(sheet, u"UsedRange").IsEmpty());
  EXPECT_TRUE(calling::CallMethod(book, u"Save").IsEmpty());
}

// A handle kept past the whole application finds its workbook closed.
TEST(EmbeddedApplication, HandlesOutlivingTheApplicationFail) {
  objects::RegisterEmbeddedSpreadsheet();
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  AutomationObject book = session.AddWorkbook();
  Variant cell = session.ReadCell(1, 1, 1);
  ASSERT_EQ(cell.type(), automation::VT_DISPATCH);
  session.QuitApp();  // the application goes with its last reference
  AutomationObject range(cell.object());
  EXPECT_FALSE(calling::Write(range, u"Value", {}, Variant::Int4(1)));
  EXPECT_TRUE(calling::ReadObject(book, u"Sheets").IsEmpty());
  automation::Classes().Unregister(u"Excel.Application");
}

TEST_F(EmbeddedSession, OpeningWithoutAReaderFails) {
  EXPECT_TRUE(session.OpenWorkbook("/tmp/none.xls", "", false).IsEmpty());
  EXPECT_TRUE(app->workbooks().empty());
  ExpectBalanced();
}

struct CloseCase {
  bool with_hooks;
  SaveChoice choice;
  bool files_fail;
  bool stays_open;
  std::size_t writes;
};

class CloseWithChanges : public EmbeddedSession, public ::testing::WithParamInterface<CloseCase> {};

// Nothing unsaved is thrown away without the user's word.
TEST_P(CloseWithChanges, AsksAndLosesNothing) {
  const CloseCase c = GetParam();
  ScriptedHooks hooks;
  hooks.choice = c.choice;
  if (c.with_hooks) app->hooks = &hooks;
  files.fail = c.files_fail;
  Workbook& w = Book();
  w.SetPath("/tmp/salary.xls");
  Book();  // a second, unchanged workbook
  session.WriteCell(1, 1, 1, "1");  // changes the active (second) workbook
  w.active_sheet().SetValue(1, 1, CellValue::Number(2));

  session.CloseWorkbooks();
  EXPECT_EQ(app->workbooks().empty(), !c.stays_open);
  EXPECT_EQ(files.written.size(), c.writes);
  app->hooks = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CloseWithChanges,
    ::testing::Values(CloseCase{false, SaveChoice::kCancel, false, true, 0},
                      CloseCase{true, SaveChoice::kCancel, false, true, 0},
                      CloseCase{true, SaveChoice::kDontSave, false, false, 0},
                      // the first has a file and is saved; the second has none, so it stays
                      CloseCase{true, SaveChoice::kSave, false, true, 1},
                      CloseCase{true, SaveChoice::kSave, true, true, 0}));

TEST_F(EmbeddedSession, QuitKeepsUnsavedWorkWhenCancelled) {
  ScriptedHooks hooks;
  app->hooks = &hooks;
  Book();
  session.WriteCell(1, 1, 1, "1");
  hooks.choice = SaveChoice::kCancel;
  session.QuitApp();
  EXPECT_FALSE(app->has_quit());
  EXPECT_EQ(app->workbooks().size(), 1u);
  EXPECT_EQ(hooks.asked, 1);
  app->workbooks()[0]->MarkSaved();
  app->hooks = nullptr;
  ASSERT_TRUE(session.CreateApp());  // for the fixture's own quit
}

}  // namespace
}  // namespace varnex::spreadsheet
