#include <gtest/gtest.h>

#include <functional>

#include "automation/user_locale.h"
#include "excel/cell_value.h"
#include "excel/tests/session_fixture.h"

namespace varnex::testing {
namespace {

using automation::Variant;
using Log = std::vector<std::string>;

struct OperationCase {
  const char* name;
  std::function<void(ExcelSession&)> run;
  Log calls;
};

void PrintTo(const OperationCase& c, std::ostream* out) { *out << c.name; }

const std::string A = "Application";
const std::string WB = "Application.ActiveWorkbook";
const std::string SHEET = "Application.ActiveWorkbook.Sheets.Item";
const std::string AS_RANGE = "Application.ActiveSheet.Range";
const std::string APP_RANGE = "Application.Range";

Log NumberedSheet(int sheet) {
  return {A + " get ActiveWorkbook()", WB + " get Sheets()",
          WB + ".Sheets get Item(I4:" + std::to_string(sheet) + ")"};
}
Log Then(Log head, const Log& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}
Log ActiveRange(const std::string& ref) {
  return {A + " get ActiveSheet()", "Application.ActiveSheet get Range(BSTR:\"" + ref + "\")"};
}
Log AppRange(const std::string& ref) { return {A + " get Range(BSTR:\"" + ref + "\")"}; }
Log UsedRange(const std::string& lines, const std::string& last) {
  return {A + " get Activesheet()", "Application.Activesheet get UsedRange()",
          "Application.Activesheet.UsedRange get " + lines + "()",
          "Application.Activesheet.UsedRange." + lines + " get " + last + "()"};
}

const OperationCase kOperations[] = {
    {"RunMacro", [](ExcelSession& s) { s.RunMacro("Tidy"); }, {A + " call Run(BSTR:\"Tidy\")"}},
    {"SetVisible", [](ExcelSession& s) { s.SetVisible(true); }, {A + " put Visible() = BOOL:-1"}},
    {"SetVisibleFalse", [](ExcelSession& s) { s.SetVisible(false); }, {A + " put Visible() = BOOL:0"}},
    {"ReservedA", [](ExcelSession& s) { s.ReservedA(); }, {}},
    {"ShowPageBreakPreview", [](ExcelSession& s) { s.ShowPageBreakPreview(); },
     {A + " get ActiveWindow()", "Application.ActiveWindow put view() = I4:2"}},
    {"AddWorkbook", [](ExcelSession& s) { s.AddWorkbook(); },
     {A + " get Workbooks()", "Application.Workbooks call Add()"}},
    {"SetRangeColor", [](ExcelSession& s) { s.SetRangeColor("D7", 6); },
     Then(ActiveRange("D7"), {AS_RANGE + " get Interior()", AS_RANGE + ".Interior put ColorIndex() = I4:6"})},
    {"AddRangeComment", [](ExcelSession& s) { s.AddRangeComment("B2", "核对"); },
     Then(ActiveRange("B2"), {AS_RANGE + " call AddComment(BSTR:\"核对\")"})},
    {"ClearRangeComments", [](ExcelSession& s) { s.ClearRangeComments("B2"); },
     Then(ActiveRange("B2"), {AS_RANGE + " call ClearComments()"})},
    {"ClearRangeFormats", [](ExcelSession& s) { s.ClearRangeFormats("B2"); },
     Then(ActiveRange("B2"), {AS_RANGE + " call ClearFormats()"})},
    {"ClearRangeContents", [](ExcelSession& s) { s.ClearRangeContents("B2"); },
     Then(ActiveRange("B2"), {AS_RANGE + " call ClearContents()"})},
    {"AutoFillRange", [](ExcelSession& s) { s.AutoFillRange("A1:A9", 3); },
     Then(ActiveRange("A1:A9"), {AS_RANGE + " call AutoFill(I4:3)"})},
    {"ClearRange", [](ExcelSession& s) { s.ClearRange("B2"); },
     Then(ActiveRange("B2"), {AS_RANGE + " call Clear()"})},
    {"ReservedB", [](ExcelSession& s) { s.ReservedB("a", "b", 1, 2, true); }, {}},
    {"AutoFitColumns", [](ExcelSession& s) { s.AutoFitRange("A:C", 1); },
     Then(ActiveRange("A:C"), {AS_RANGE + " get Columns()", AS_RANGE + ".Columns call AutoFit()"})},
    {"AutoFitRows0", [](ExcelSession& s) { s.AutoFitRange("A:C", 0); },
     Then(ActiveRange("A:C"), {AS_RANGE + " get Rows()", AS_RANGE + ".Rows call AutoFit()"})},
    {"AutoFitRows2", [](ExcelSession& s) { s.AutoFitRange("A:C", 2); },
     Then(ActiveRange("A:C"), {AS_RANGE + " get Rows()", AS_RANGE + ".Rows call AutoFit()"})},
    {"OpenWorkbook", [](ExcelSession& s) { s.OpenWorkbook("C:\\工资.xls", "", false); },
     {A + " get Workbooks()", "Application.Workbooks call Open(BSTR:\"C:\\工资.xls\")"}},
    {"OpenWorkbookWithPassword", [](ExcelSession& s) { s.OpenWorkbook("a.xls", "pw", true); },
     {A + " get Workbooks()",
      "Application.Workbooks call Open(BSTR:\"a.xls\", missing, missing, missing, BSTR:\"pw\", "
      "BSTR:\"pw\")"}},
    {"OpenXmlWorkbook", [](ExcelSession& s) { s.OpenXmlWorkbook("a.xml"); },
     {A + " get Workbooks()", "Application.Workbooks call OpenXML(BSTR:\"a.xml\")"}},
    {"CloseWorkbooks", [](ExcelSession& s) { s.CloseWorkbooks(); },
     {A + " get Workbooks()", "Application.Workbooks call Close()"}},
    {"SelectSheet", [](ExcelSession& s) { s.SelectSheet(2); },
     Then(NumberedSheet(2), {SHEET + " call select()"})},
    {"WriteCell", [](ExcelSession& s) { s.WriteCell(1, 12, 6, "745"); },
     Then(NumberedSheet(1), {SHEET + " get Cells()", SHEET + ".Cells put Item(I4:12, I4:6) = BSTR:\"745\""})},
    {"SetRangeValue", [](ExcelSession& s) { s.SetRangeValue("A1", "x"); },
     Then(AppRange("A1"), {APP_RANGE + " put Value() = BSTR:\"x\""})},
    {"SetRangeFormula", [](ExcelSession& s) { s.SetRangeFormula("A1", "=B1*2"); },
     Then(AppRange("A1"), {APP_RANGE + " put Formula() = BSTR:\"=B1*2\""})},
    {"GetRangeFormula", [](ExcelSession& s) { s.GetRangeFormula("A1"); },
     Then(AppRange("A1"), {APP_RANGE + " get Formula()"})},
    {"ReadCell", [](ExcelSession& s) { s.ReadCell(2, 7, 5); },
     Then(NumberedSheet(2), {SHEET + " get Cells()", SHEET + ".Cells get Item(I4:7, I4:5)"})},
    {"GetRangeValue", [](ExcelSession& s) { s.GetRangeValue("A1"); },
     Then(AppRange("A1"), {APP_RANGE + " get Value()"})},
    {"DeleteSheet", [](ExcelSession& s) { s.DeleteSheet(3); },
     Then(NumberedSheet(3), {SHEET + " call Delete()"})},
    {"SaveWorkbookAs", [](ExcelSession& s) { s.SaveWorkbookAs("b.xls"); },
     {A + " get ActiveWorkbook()", WB + " call SaveAs(BSTR:\"b.xls\")"}},
    {"SaveWorkbookAsNoName", [](ExcelSession& s) { s.SaveWorkbookAs(""); },
     {A + " get ActiveWorkbook()", WB + " call SaveAs(BSTR:\"\")"}},
    {"UsedFirstColumn", [](ExcelSession& s) { s.UsedFirstColumn(); }, UsedRange("Columns", "Column")},
    {"UsedColumnCount", [](ExcelSession& s) { s.UsedColumnCount(); }, UsedRange("Columns", "Count")},
    {"UsedFirstRow", [](ExcelSession& s) { s.UsedFirstRow(); }, UsedRange("rows", "row")},
    {"UsedRowCount", [](ExcelSession& s) { s.UsedRowCount(); }, UsedRange("rows", "Count")},
    {"SheetCount", [](ExcelSession& s) { s.SheetCount(); },
     {A + " get ActiveWorkbook()", WB + " get sheets()", WB + ".sheets get Count()"}},
    {"SaveWorkbook", [](ExcelSession& s) { s.SaveWorkbook(); },
     {A + " get ActiveWorkbook()", WB + " call Save()"}},
    {"SelectRange", [](ExcelSession& s) { s.SelectRange("7"); },
     {A + " get range(BSTR:\"7:7\")", "Application.range call select()"}},
    {"SelectRangeCell", [](ExcelSession& s) { s.SelectRange("D7"); },
     {A + " get range(BSTR:\"D7:D7\")", "Application.range call select()"}},
    {"SelectRangeEmpty", [](ExcelSession& s) { s.SelectRange(""); },
     {A + " get range(BSTR:\":\")", "Application.range call select()"}},
    {"SetRangeBordersPlain", [](ExcelSession& s) { s.SetRangeBorders("A1", "C5"); },
     {A + " get range(BSTR:\"A1:C5\")", "Application.range get Borders()",
      "Application.range.Borders get Item(I4:12)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:11)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:9)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:7)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:10)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:8)", "Application.range.Borders.Item put LineStyle() = I4:1"}},
    {"SetRangeBordersWeightColor", [](ExcelSession& s) { s.SetRangeBorders("A1", "C5", 2, 255); },
     {A + " get range(BSTR:\"A1:C5\")", "Application.range get Borders()",
      "Application.range.Borders put Weight() = I4:2", "Application.range.Borders put Color() = I4:255",
      "Application.range.Borders get Item(I4:12)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:11)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:9)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:7)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:10)", "Application.range.Borders.Item put LineStyle() = I4:1",
      "Application.range.Borders get Item(I4:8)", "Application.range.Borders.Item put LineStyle() = I4:1"}},
    {"SetRangeFontDefaults", [](ExcelSession& s) { s.SetRangeFont("A1", "宋体", 12); },
     {A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Name() = BSTR:\"宋体\"",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Size() = I4:12",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Color() = I4:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Bold() = BOOL:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Italic() = BOOL:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Strikethrough() = BOOL:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put UnderLine() = BOOL:0"}},
    {"SetRangeFontAll", [](ExcelSession& s) { s.SetRangeFont("A1", "Arial", 9, 255, true, false, true, false); },
     {A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Name() = BSTR:\"Arial\"",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Size() = I4:9",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Color() = I4:255",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Bold() = BOOL:-1",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Italic() = BOOL:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put Strikethrough() = BOOL:0",
      A + " get Range(BSTR:\"A1\")", APP_RANGE + " get Font()", APP_RANGE + ".Font put UnderLine() = BOOL:-1"}},
    {"CopyRange", [](ExcelSession& s) { s.CopyRange("A1"); }, Then(AppRange("A1"), {APP_RANGE + " call Copy()"})},
    {"DeleteRange", [](ExcelSession& s) { s.DeleteRange("A1", -4162); },
     Then(ActiveRange("A1"), {AS_RANGE + " call Delete(I4:-4162)"})},
    {"PasteRangeSpecial", [](ExcelSession& s) { s.PasteRangeSpecial("A1"); },
     Then(AppRange("A1"), {APP_RANGE + " call PasteSpecial()"})},
    {"FillRangeDown", [](ExcelSession& s) { s.FillRangeDown("A1:A5"); },
     Then(ActiveRange("A1:A5"), {AS_RANGE + " call FillDown()"})},
    {"FillRangeLeft", [](ExcelSession& s) { s.FillRangeLeft("A1:C1"); },
     Then(ActiveRange("A1:C1"), {AS_RANGE + " call FillLeft()"})},
    {"FillRangeRight", [](ExcelSession& s) { s.FillRangeRight("A1:C1"); },
     Then(ActiveRange("A1:C1"), {AS_RANGE + " call FillRight()"})},
    {"FillRangeUp", [](ExcelSession& s) { s.FillRangeUp("A1:A5"); },
     Then(ActiveRange("A1:A5"), {AS_RANGE + " call FillUp()"})},
    {"InsertRange", [](ExcelSession& s) { s.InsertRange("A1", -4121); },
     Then(ActiveRange("A1"), {AS_RANGE + " call Insert(I4:-4121)"})},
    {"OpenNewWindow", [](ExcelSession& s) { s.OpenNewWindow(); },
     {A + " get ActiveWorkbook()", WB + " call NewWindow()"}},
    {"ShowFunctionWizard", [](ExcelSession& s) { s.ShowFunctionWizard("A1"); },
     Then(ActiveRange("A1"), {AS_RANGE + " call FunctionWizard()"})},
    {"ReservedC", [](ExcelSession& s) { s.ReservedC(); }, {A + " get Sheets()"}},
    {"CutRange", [](ExcelSession& s) { s.CutRange("A1"); }, Then(AppRange("A1"), {APP_RANGE + " call Cut()"})},
    {"InsertColumns", [](ExcelSession& s) { s.InsertColumns("B1", 1); },
     Then(AppRange("B1"), {APP_RANGE + " get Columns()", APP_RANGE + ".Columns call Insert(I4:1)"})},
    {"InsertRows", [](ExcelSession& s) { s.InsertRows("B1", 1); },
     Then(AppRange("B1"), {APP_RANGE + " get Rows()", APP_RANGE + ".Rows call Insert(I4:1)"})},
    {"PrintPreviewWorkbook", [](ExcelSession& s) { s.PrintPreviewWorkbook(1); },
     {A + " get Workbooks()", "Application.Workbooks get Item(I4:1)",
      "Application.Workbooks.Item call PrintPreview()"}},
    {"PrintWorkbook", [](ExcelSession& s) { s.PrintWorkbook(2); },
     {A + " get Workbooks()", "Application.Workbooks get Item(I4:2)", "Application.Workbooks.Item call PrintOut()"}},
    {"AskInput", [](ExcelSession& s) { s.AskInput("金额", "输入"); },
     {A + " call InputBox(BSTR:\"金额\", BSTR:\"输入\")"}},
    {"ShowFindFile", [](ExcelSession& s) { s.ShowFindFile(); },
     {A + " get Application()", "Application.Application call FindFile()"}},
    {"MergeRange", [](ExcelSession& s) { s.MergeRange("A1:B2"); },
     Then(AppRange("A1:B2"), {APP_RANGE + " call Merge(BOOL:0)"})},
    {"SetStandardFont", [](ExcelSession& s) { s.SetStandardFont("宋体"); },
     {A + " put StandardFont() = BSTR:\"宋体\""}},
    {"UnmergeRange", [](ExcelSession& s) { s.UnmergeRange("A1:B2"); },
     Then(AppRange("A1:B2"), {APP_RANGE + " call UnMerge()"})},
    {"SetHorizontalAlignment", [](ExcelSession& s) { s.SetHorizontalAlignment("A1", -4108); },
     Then(AppRange("A1"), {APP_RANGE + " put HorizontalAlignment() = I4:-4108"})},
    {"SetStandardFontSize", [](ExcelSession& s) { s.SetStandardFontSize(10.5); },
     {A + " put StandardFontSize() = R8:10.5"}},
    {"SetRollZoom", [](ExcelSession& s) { s.SetRollZoom(true); }, {A + " put RollZoom() = BOOL:-1"}},
};

class SessionOperation : public StartedSession, public ::testing::WithParamInterface<OperationCase> {};

// Each operation walks its member path with the right kinds and arguments,
// under the user's locale, and releases every intermediate object.
TEST_P(SessionOperation, WalksItsPathAndReleasesEverything) {
  GetParam().run(session);
  EXPECT_EQ(server().log, GetParam().calls);
  EXPECT_EQ(server().OutstandingReferences(), 0u);
  EXPECT_EQ(server().RootReferences(), 1u);
  for (automation::Lcid lcid : server().lcids) EXPECT_EQ(lcid, automation::UserDefaultLcid());
}

// Nothing at all is sent before CreateApp has succeeded.
TEST_P(SessionOperation, SendsNothingWithoutAnApplication) {
  ExcelSession idle;
  GetParam().run(idle);
  EXPECT_TRUE(server().log.empty());
  session.QuitApp();
  server().log.clear();
  GetParam().run(session);
  EXPECT_TRUE(server().log.empty());
}

INSTANTIATE_TEST_SUITE_P(AllOperations, SessionOperation, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartedSession, QuitAppCallsQuitAndReleases) {
  session.QuitApp();
  EXPECT_EQ(server().log, Log{A + " call Quit()"});
  EXPECT_EQ(server().RootReferences(), 0u);
  server().log.clear();
  session.QuitApp();  // a second time: nothing is sent
  EXPECT_TRUE(server().log.empty());
}

TEST_F(StartedSession, QuitAppReleasesEvenWhenQuitFails) {
  server().Fail("Quit", automation::DISP_E_EXCEPTION);
  session.QuitApp();
  EXPECT_EQ(server().RootReferences(), 0u);
}

TEST_F(StartedSession, AFailingStepEmptiesTheRestOfThePath) {
  server().Fail("Sheets", automation::DISP_E_EXCEPTION);
  const Variant value = session.ReadCell(1, 1, 1);
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_EQ(server().log, (Log{A + " get ActiveWorkbook()", WB + " get Sheets()"}));
  EXPECT_EQ(server().OutstandingReferences(), 0u);

  server().log.clear();
  EXPECT_FALSE(session.WriteCell(1, 1, 1, "1"));
  server().Fail("Sheets", automation::S_OK);
  EXPECT_TRUE(session.WriteCell(1, 1, 1, "1"));
  server().Fail("Application.ActiveWorkbook.Sheets.Item.Cells.Item", automation::DISP_E_EXCEPTION);
  EXPECT_FALSE(session.WriteCell(1, 1, 1, "1"));
}

TEST_F(StartedSession, AnUnknownMemberSendsNoCall) {
  server().Fail("ActiveWorkbook", automation::DISP_E_UNKNOWNNAME);
  EXPECT_EQ(session.SheetCount(), 0);
  EXPECT_TRUE(server().log.empty());
}

TEST_F(StartedSession, ResultConversions) {
  server().Answer("Application.Activesheet.UsedRange.rows.Count", Variant::Real8(25.0));
  server().Answer("Application.Activesheet.UsedRange.rows.row", Variant::Real8(4.9));
  server().Answer("Application.Activesheet.UsedRange.Columns.Count", Variant::Text(u"8"));
  server().Answer("Application.Activesheet.UsedRange.Columns.Column", Variant::Text(u"x"));
  server().Answer("Application.ActiveWorkbook.sheets.Count", Variant::Int4(3));
  server().Answer("Application.Range.Formula", Variant::Text(u"=A1+1"));
  server().Answer("Application.Range.Value", Variant::Real8(0.5));
  server().Answer("Application.InputBox", Variant::Bool(false));
  server().Answer("Application.Application.FindFile", Variant::Bool(true));
  EXPECT_EQ(session.UsedRowCount(), 25);
  EXPECT_EQ(session.UsedFirstRow(), 4);  // truncated
  EXPECT_EQ(session.UsedColumnCount(), 8);
  EXPECT_EQ(session.UsedFirstColumn(), 0);  // a failed conversion gives 0
  EXPECT_EQ(session.SheetCount(), 3);
  EXPECT_EQ(session.GetRangeFormula("A2"), "=A1+1");
  EXPECT_EQ(session.GetRangeValue("A2"), "0.5");
  EXPECT_EQ(session.AskInput("p", "t"), "0");  // a cancelled InputBox is False
  EXPECT_TRUE(session.ShowFindFile());
  EXPECT_TRUE(session.SetRollZoom(true));
  server().Fail("RollZoom", automation::DISP_E_EXCEPTION);
  EXPECT_FALSE(session.SetRollZoom(true));
  EXPECT_EQ(server().OutstandingReferences(), 0u);
}

TEST_F(StartedSession, ReadCellHandsTheCallerAnOwnedValue) {
  {
    Variant cell = session.ReadCell(1, 2, 3);
    ASSERT_EQ(cell.type(), automation::VT_DISPATCH);  // the range object itself
    EXPECT_EQ(server().OutstandingReferences(), 1u);  // held only by the caller's value
  }
  EXPECT_EQ(server().OutstandingReferences(), 0u);
}

TEST_F(StartedSession, OpenWorkbookHandsOutTheWorkbook) {
  AutomationObject workbook = session.OpenWorkbook("a.xls", "", false);
  EXPECT_FALSE(workbook.IsEmpty());
  EXPECT_EQ(server().OutstandingReferences(), 1u);
  AutomationObject copy = workbook;
  EXPECT_EQ(server().OutstandingReferences(), 2u);
  workbook.Release();
  workbook.Release();  // releasing an empty handle does nothing
  EXPECT_EQ(server().OutstandingReferences(), 1u);
  copy.Release();
  EXPECT_EQ(server().OutstandingReferences(), 0u);
  EXPECT_EQ(server().log.size(), 2u);  // releasing asked the object for nothing

  server().Fail("Open", automation::DISP_E_EXCEPTION);
  EXPECT_TRUE(session.OpenWorkbook("bad.xls", "", false).IsEmpty());
}

// The kind of call follows the step, falling back in the documented order.
TEST_F(StartedSession, KindsFallBackInOrder) {
  server().Kinds("Workbooks", automation::DISPATCH_METHOD);  // read falls back to a method
  server().Kinds("Close", automation::DISPATCH_PROPERTYGET);  // method falls back to a read
  session.CloseWorkbooks();
  server().Kinds("Visible", automation::DISPATCH_PROPERTYPUTREF);  // write falls back to putref
  session.SetVisible(true);
  server().Kinds("StandardFont", automation::DISPATCH_METHOD);  // then to a method
  session.SetStandardFont("x");
  server().Kinds("Quit", automation::DISPATCH_PROPERTYPUT);
  server().Kinds("Run", automation::DISPATCH_PROPERTYPUTREF);
  session.RunMacro("m");
  EXPECT_EQ(server().log, (Log{A + " call Workbooks()", "Application.Workbooks get Close()",
                               A + " putref Visible() = BOOL:-1", A + " call StandardFont(BSTR:\"x\")",
                               A + " putref Run(BSTR:\"m\")"}));
  server().Kinds("Visible", 0x10);  // no kind the call can use: nothing is sent
  server().log.clear();
  EXPECT_FALSE(session.SetVisible(true));
  EXPECT_TRUE(server().log.empty());
}

// Arguments are converted to a declared parameter type when that works.
TEST_F(StartedSession, ArgumentsFollowDeclaredParameterTypes) {
  server().Types("Application.ActiveSheet.Range.Interior.ColorIndex", {automation::VT_R8});
  server().Types("Application.Workbooks.Open", {automation::VT_BSTR, automation::VT_I4});
  server().Types("AutoFill", {automation::VT_DISPATCH});
  session.SetRangeColor("A1", 6);
  session.OpenWorkbook("a.xls", "", false);
  session.AutoFillRange("A1", 2);
  ASSERT_EQ(server().log.size(), 9u) << ::testing::PrintToString(server().log);
  EXPECT_EQ(server().log[3], "Application.ActiveSheet.Range.Interior put ColorIndex() = R8:6");
  EXPECT_EQ(server().log[5], "Application.Workbooks call Open(BSTR:\"a.xls\")");
  EXPECT_EQ(server().log[8], "Application.ActiveSheet.Range call AutoFill(I4:2)");  // unconvertible
}

TEST(ExcelSessionLife, CopiesShareTheApplication) {
  RegisteredServer registered;
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  {
    ExcelSession copy(session);
    EXPECT_EQ(registered.server.RootReferences(), 2u);
    copy.QuitApp();
    EXPECT_EQ(registered.server.RootReferences(), 1u);
  }
  registered.server.log.clear();
  session.SetVisible(true);
  EXPECT_EQ(registered.server.log.size(), 1u);  // the copy's quit left this reference intact
}

TEST(ExcelSessionLife, DestructionReleasesWithoutQuitting) {
  RegisteredServer registered;
  {
    ExcelSession session;
    ASSERT_TRUE(session.CreateApp());
    registered.server.log.clear();
  }
  EXPECT_EQ(registered.server.RootReferences(), 0u);
  EXPECT_TRUE(registered.server.log.empty());
}

}  // namespace
}  // namespace varnex::testing
