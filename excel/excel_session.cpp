#include "excel/excel_session.h"

#include <string>

#include "automation/registry.h"
#include "excel/calling_rules.h"
#include "excel/cell_value.h"
#include "tax/text_convert.h"

namespace varnex {

using automation::Variant;
using namespace calling;

namespace {

constexpr std::u16string_view kProgId = u"Excel.Application";

// Used-range figures and counts come back as reals and are truncated.
std::int32_t ReadCount(const AutomationObject& object, std::u16string_view member) {
  return NumberToInteger(AsReal(ReadValue(object, member)));
}

}  // namespace

ExcelSession::ExcelSession() {
  // The application is not started yet, so this request reaches nothing;
  // CreateApp repeats it once there is an application to show it.
  ShowStatusText();
}

ExcelSession::~ExcelSession() { application.Release(); }

ExcelSession::ExcelSession(const ExcelSession& other) : application(other.application) {}

void ExcelSession::ShowStatusText() {
  Write(application, u"StatusBar", {}, Variant::Text(kStatusText));
}

AutomationObject ExcelSession::ActiveSheetRange(std::string_view ref) {
  const AutomationObject sheet = ReadObject(application, u"ActiveSheet");
  return ReadObject(sheet, u"Range", {Text(ref)});
}

AutomationObject ExcelSession::ApplicationRange(std::string_view ref) {
  return ReadObject(application, u"Range", {Text(ref)});
}

AutomationObject ExcelSession::NumberedSheet(std::int32_t sheet) {
  const AutomationObject workbook = ReadObject(application, u"ActiveWorkbook");
  const AutomationObject sheets = ReadObject(workbook, u"Sheets");
  return ReadObject(sheets, u"Item", {I4(sheet)});
}

AutomationObject ExcelSession::ActiveUsedRange() {
  const AutomationObject sheet = ReadObject(application, u"Activesheet");
  return ReadObject(sheet, u"UsedRange");
}

void ExcelSession::RunMacro(std::string_view name) { CallMethod(application, u"Run", {Text(name)}); }

bool ExcelSession::CreateApp() {
  using namespace automation;
  ClassId clsid;
  if (Failed(CLSIDFromProgID(kProgId, &clsid))) return false;
  Ref<Dispatch> created;
  HResult hr = CoCreateInstance(clsid, CLSCTX_ALL, &created);
  if (hr == E_INVALIDARG)
    hr = CoCreateInstance(clsid, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                          &created);
  if (Failed(hr) || !created) return false;
  if (Failed(OleRun(created.get()))) return false;  // `created` releases the new object
  application = AutomationObject(std::move(created));
  ShowStatusText();
  return true;
}

bool ExcelSession::SetVisible(bool visible) {
  return Write(application, u"Visible", {}, Variant::Bool(visible));
}

void ExcelSession::ReservedA() {}

void ExcelSession::ShowPageBreakPreview() {
  const AutomationObject window = ReadObject(application, u"ActiveWindow");
  Write(window, u"view", {}, Variant::Int4(2));
}

AutomationObject ExcelSession::AddWorkbook() {
  const AutomationObject workbooks = ReadObject(application, u"Workbooks");
  const Variant added = CallMethod(workbooks, u"Add");
  return AsObject(added);
}

void ExcelSession::SetRangeColor(std::string_view ref, std::int32_t colorIndex) {
  const AutomationObject range = ActiveSheetRange(ref);
  const AutomationObject interior = ReadObject(range, u"Interior");
  Write(interior, u"ColorIndex", {}, Variant::Int4(colorIndex));
}

void ExcelSession::AddRangeComment(std::string_view ref, std::string_view comment) {
  CallMethod(ActiveSheetRange(ref), u"AddComment", {Text(comment)});
}

void ExcelSession::ClearRangeComments(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"ClearComments");
}

void ExcelSession::ClearRangeFormats(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"ClearFormats");
}

void ExcelSession::ClearRangeContents(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"ClearContents");
}

void ExcelSession::AutoFillRange(std::string_view ref, std::int32_t n) {
  CallMethod(ActiveSheetRange(ref), u"AutoFill", {I4(n)});
}

void ExcelSession::ClearRange(std::string_view ref) { CallMethod(ActiveSheetRange(ref), u"Clear"); }

void ExcelSession::ReservedB(std::string_view, std::string_view, std::int32_t, std::int32_t, bool) {}

void ExcelSession::AutoFitRange(std::string_view ref, std::int32_t kind) {
  const AutomationObject range = ActiveSheetRange(ref);
  const AutomationObject lines = ReadObject(range, kind == 1 ? u"Columns" : u"Rows");
  CallMethod(lines, u"AutoFit");
}

AutomationObject ExcelSession::OpenWorkbook(std::string_view fileName, std::string_view password,
                                            bool usePassword) {
  const AutomationObject workbooks = ReadObject(application, u"Workbooks");
  const Variant opened =
      usePassword ? CallMethod(workbooks, u"Open",
                               {Text(fileName), kMissing, kMissing, kMissing, Text(password),
                                Text(password)})
                  : CallMethod(workbooks, u"Open", {Text(fileName)});
  return AsObject(opened);
}

AutomationObject ExcelSession::OpenXmlWorkbook(std::string_view fileName) {
  const AutomationObject workbooks = ReadObject(application, u"Workbooks");
  const Variant opened = CallMethod(workbooks, u"OpenXML", {Text(fileName)});
  return AsObject(opened);
}

void ExcelSession::CloseWorkbooks() {
  CallMethod(ReadObject(application, u"Workbooks"), u"Close");
}

void ExcelSession::SelectSheet(std::int32_t sheet) { CallMethod(NumberedSheet(sheet), u"select"); }

bool ExcelSession::WriteCell(std::int32_t sheet, std::int32_t row, std::int32_t column,
                             std::string_view value) {
  const AutomationObject cells = ReadObject(NumberedSheet(sheet), u"Cells");
  return Write(cells, u"Item", {I4(row), I4(column)}, Variant::Text(value));
}

void ExcelSession::SetRangeValue(std::string_view ref, std::string_view value) {
  Write(ApplicationRange(ref), u"Value", {}, Variant::Text(value));
}

void ExcelSession::SetRangeFormula(std::string_view ref, std::string_view formula) {
  Write(ApplicationRange(ref), u"Formula", {}, Variant::Text(formula));
}

std::string ExcelSession::GetRangeFormula(std::string_view ref) {
  return AsText(ReadValue(ApplicationRange(ref), u"Formula"));
}

Variant ExcelSession::ReadCell(std::int32_t sheet, std::int32_t row, std::int32_t column) {
  const AutomationObject cells = ReadObject(NumberedSheet(sheet), u"Cells");
  return ReadValue(cells, u"Item", {I4(row), I4(column)});
}

std::string ExcelSession::GetRangeValue(std::string_view ref) {
  return AsText(ReadValue(ApplicationRange(ref), u"Value"));
}

void ExcelSession::DeleteSheet(std::int32_t sheet) { CallMethod(NumberedSheet(sheet), u"Delete"); }

void ExcelSession::SaveWorkbookAs(std::string_view fileName) {
  CallMethod(ReadObject(application, u"ActiveWorkbook"), u"SaveAs", {Text(fileName)});
}

std::int32_t ExcelSession::UsedFirstColumn() {
  const AutomationObject used = ActiveUsedRange();
  return ReadCount(ReadObject(used, u"Columns"), u"Column");
}

std::int32_t ExcelSession::UsedColumnCount() {
  const AutomationObject used = ActiveUsedRange();
  return ReadCount(ReadObject(used, u"Columns"), u"Count");
}

std::int32_t ExcelSession::UsedFirstRow() {
  const AutomationObject used = ActiveUsedRange();
  return ReadCount(ReadObject(used, u"rows"), u"row");
}

std::int32_t ExcelSession::UsedRowCount() {
  const AutomationObject used = ActiveUsedRange();
  return ReadCount(ReadObject(used, u"rows"), u"Count");
}

std::int32_t ExcelSession::SheetCount() {
  return ReadCount(ReadObject(ReadObject(application, u"ActiveWorkbook"), u"sheets"), u"Count");
}

void ExcelSession::SaveWorkbook() { CallMethod(ReadObject(application, u"ActiveWorkbook"), u"Save"); }

void ExcelSession::QuitApp() {
  CallMethod(application, u"Quit");
  application.Release();
}

void ExcelSession::SelectRange(std::string_view ref) {
  std::string address(ref);
  address += ':';
  address += ref;
  CallMethod(ReadObject(application, u"range", {Text(address)}), u"select");
}

void ExcelSession::SetRangeBorders(std::string_view first, std::string_view last,
                                   std::optional<std::int32_t> weight,
                                   std::optional<std::int32_t> color) {
  std::string address(first);
  address += ':';
  address += last;
  const AutomationObject range = ReadObject(application, u"range", {Text(address)});
  const AutomationObject borders = ReadObject(range, u"Borders");
  if (weight) Write(borders, u"Weight", {}, Variant::Int4(*weight));
  if (color) Write(borders, u"Color", {}, Variant::Int4(*color));
  // Inside horizontal and vertical lines, then the bottom, left, right and
  // top edges, each a continuous line.
  for (std::int32_t index : {12, 11, 9, 7, 10, 8}) {
    const AutomationObject border = ReadObject(borders, u"Item", {I4(index)});
    Write(border, u"LineStyle", {}, Variant::Int4(1));
  }
}

void ExcelSession::SetRangeFont(std::string_view ref, std::string_view name, std::int32_t size,
                                std::optional<std::int32_t> color, std::optional<bool> bold,
                                std::optional<bool> italic, std::optional<bool> underline,
                                std::optional<bool> strikethrough) {
  // Each write on a Font read afresh and released right after it; the
  // strikethrough goes before the underline.
  auto write_font = [&](std::u16string_view property, const Variant& value) {
    const AutomationObject font = ReadObject(ApplicationRange(ref), u"Font");
    Write(font, property, {}, value);
  };
  write_font(u"Name", Variant::Text(name));
  write_font(u"Size", Variant::Int4(size));
  write_font(u"Color", Variant::Int4(color.value_or(0)));
  write_font(u"Bold", Variant::Bool(bold.value_or(false)));
  write_font(u"Italic", Variant::Bool(italic.value_or(false)));
  write_font(u"Strikethrough", Variant::Bool(strikethrough.value_or(false)));
  write_font(u"UnderLine", Variant::Bool(underline.value_or(false)));
}

void ExcelSession::CopyRange(std::string_view ref) { CallMethod(ApplicationRange(ref), u"Copy"); }

void ExcelSession::DeleteRange(std::string_view ref, std::int32_t shift) {
  CallMethod(ActiveSheetRange(ref), u"Delete", {I4(shift)});
}

void ExcelSession::PasteRangeSpecial(std::string_view ref) {
  CallMethod(ApplicationRange(ref), u"PasteSpecial");
}

void ExcelSession::FillRangeDown(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"FillDown");
}

void ExcelSession::FillRangeLeft(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"FillLeft");
}

void ExcelSession::FillRangeRight(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"FillRight");
}

void ExcelSession::FillRangeUp(std::string_view ref) { CallMethod(ActiveSheetRange(ref), u"FillUp"); }

void ExcelSession::InsertRange(std::string_view ref, std::int32_t shift) {
  CallMethod(ActiveSheetRange(ref), u"Insert", {I4(shift)});
}

void ExcelSession::OpenNewWindow() {
  CallMethod(ReadObject(application, u"ActiveWorkbook"), u"NewWindow");
}

void ExcelSession::ShowFunctionWizard(std::string_view ref) {
  CallMethod(ActiveSheetRange(ref), u"FunctionWizard");
}

void ExcelSession::ReservedC() {
  // A member with an empty name, which no object has: nothing happens.
  ReadValue(ReadObject(application, u"Sheets"), u"");
}

void ExcelSession::CutRange(std::string_view ref) { CallMethod(ApplicationRange(ref), u"Cut"); }

void ExcelSession::InsertColumns(std::string_view ref, std::int32_t shift) {
  CallMethod(ReadObject(ApplicationRange(ref), u"Columns"), u"Insert", {I4(shift)});
}

void ExcelSession::InsertRows(std::string_view ref, std::int32_t shift) {
  CallMethod(ReadObject(ApplicationRange(ref), u"Rows"), u"Insert", {I4(shift)});
}

void ExcelSession::PrintPreviewWorkbook(std::int32_t n) {
  const AutomationObject workbooks = ReadObject(application, u"Workbooks");
  CallMethod(ReadObject(workbooks, u"Item", {I4(n)}), u"PrintPreview");
}

void ExcelSession::PrintWorkbook(std::int32_t n) {
  const AutomationObject workbooks = ReadObject(application, u"Workbooks");
  CallMethod(ReadObject(workbooks, u"Item", {I4(n)}), u"PrintOut");
}

std::string ExcelSession::AskInput(std::string_view prompt, std::string_view title) {
  return CellValueToText(CallMethod(application, u"InputBox", {Text(prompt), Text(title)}));
}

bool ExcelSession::ShowFindFile() {
  return AsLogical(CallMethod(ReadObject(application, u"Application"), u"FindFile"));
}

void ExcelSession::MergeRange(std::string_view ref) {
  CallMethod(ApplicationRange(ref), u"Merge", {Bool(false)});
}

void ExcelSession::SetStandardFont(std::string_view name) {
  Write(application, u"StandardFont", {}, Variant::Text(name));
}

void ExcelSession::UnmergeRange(std::string_view ref) { CallMethod(ApplicationRange(ref), u"UnMerge"); }

void ExcelSession::SetHorizontalAlignment(std::string_view ref, std::int32_t alignment) {
  Write(ApplicationRange(ref), u"HorizontalAlignment", {}, Variant::Int4(alignment));
}

void ExcelSession::SetStandardFontSize(double size) {
  Write(application, u"StandardFontSize", {}, Variant::Real8(size));
}

bool ExcelSession::SetRollZoom(bool on) { return Write(application, u"RollZoom", {}, Variant::Bool(on)); }

}  // namespace varnex
