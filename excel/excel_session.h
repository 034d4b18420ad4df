#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "excel/automation_object.h"

namespace varnex {

// The one road to the spreadsheet application. It holds the application
// object and walks a member path from it for every operation, releasing
// every intermediate object before returning and caching nothing, so each
// operation sees what is active at the moment of the call. Failures are
// silent: an empty handle, an empty variant, the empty text, 0 or false.
// Operations are declared in the class's interface order.
class ExcelSession {
 public:
  ExcelSession();
  ~ExcelSession();
  ExcelSession(const ExcelSession& other);
  ExcelSession& operator=(const ExcelSession& other) = default;

  void RunMacro(std::string_view name);
  // Creates a new application object of the ProgID "Excel.Application" and
  // runs it; true when it is now held. Replaces an earlier reference without
  // telling that instance to quit.
  bool CreateApp();
  bool SetVisible(bool visible);
  void ReservedA();
  void ShowPageBreakPreview();
  AutomationObject AddWorkbook();
  void SetRangeColor(std::string_view ref, std::int32_t colorIndex);
  void AddRangeComment(std::string_view ref, std::string_view comment);
  void ClearRangeComments(std::string_view ref);
  void ClearRangeFormats(std::string_view ref);
  void ClearRangeContents(std::string_view ref);
  void AutoFillRange(std::string_view ref, std::int32_t n);
  void ClearRange(std::string_view ref);
  void ReservedB(std::string_view a, std::string_view b, std::int32_t c, std::int32_t d, bool e);
  void AutoFitRange(std::string_view ref, std::int32_t kind);
  AutomationObject OpenWorkbook(std::string_view fileName, std::string_view password,
                                bool usePassword);
  AutomationObject OpenXmlWorkbook(std::string_view fileName);
  void CloseWorkbooks();
  void SelectSheet(std::int32_t sheet);
  bool WriteCell(std::int32_t sheet, std::int32_t row, std::int32_t column, std::string_view value);
  void SetRangeValue(std::string_view ref, std::string_view value);
  void SetRangeFormula(std::string_view ref, std::string_view formula);
  std::string GetRangeFormula(std::string_view ref);
  // A new value owned by the caller: what reading Item(row, column) of the
  // numbered sheet's cells gives (a range object from a spreadsheet).
  automation::Variant ReadCell(std::int32_t sheet, std::int32_t row, std::int32_t column);
  std::string GetRangeValue(std::string_view ref);
  void DeleteSheet(std::int32_t sheet);
  void SaveWorkbookAs(std::string_view fileName);
  std::int32_t UsedFirstColumn();
  std::int32_t UsedColumnCount();
  std::int32_t UsedFirstRow();
  std::int32_t UsedRowCount();
  std::int32_t SheetCount();
  void SaveWorkbook();
  // Tells the application to quit, then releases it whether or not it did.
  void QuitApp();
  // Selects ref:ref through the application's Range (a bare row number
  // selects that whole row of the active sheet).
  void SelectRange(std::string_view ref);
  void SetRangeBorders(std::string_view first, std::string_view last,
                       std::optional<std::int32_t> weight = std::nullopt,
                       std::optional<std::int32_t> color = std::nullopt);
  // Seven writes, each on a freshly read Font; left-out values reset to 0 or false.
  void SetRangeFont(std::string_view ref, std::string_view name, std::int32_t size,
                    std::optional<std::int32_t> color = std::nullopt,
                    std::optional<bool> bold = std::nullopt,
                    std::optional<bool> italic = std::nullopt,
                    std::optional<bool> underline = std::nullopt,
                    std::optional<bool> strikethrough = std::nullopt);
  void CopyRange(std::string_view ref);
  void DeleteRange(std::string_view ref, std::int32_t shift);
  void PasteRangeSpecial(std::string_view ref);
  void FillRangeDown(std::string_view ref);
  void FillRangeLeft(std::string_view ref);
  void FillRangeRight(std::string_view ref);
  void FillRangeUp(std::string_view ref);
  void InsertRange(std::string_view ref, std::int32_t shift);
  void OpenNewWindow();
  void ShowFunctionWizard(std::string_view ref);
  void ReservedC();
  void CutRange(std::string_view ref);
  void InsertColumns(std::string_view ref, std::int32_t shift);
  void InsertRows(std::string_view ref, std::int32_t shift);
  void PrintPreviewWorkbook(std::int32_t n);
  void PrintWorkbook(std::int32_t n);
  std::string AskInput(std::string_view prompt, std::string_view title);
  bool ShowFindFile();
  void MergeRange(std::string_view ref);
  void SetStandardFont(std::string_view name);
  void UnmergeRange(std::string_view ref);
  void SetHorizontalAlignment(std::string_view ref, std::int32_t alignment);
  void SetStandardFontSize(double size);
  bool SetRollZoom(bool on);

  // The text the session shows in the application's status bar.
  static constexpr std::string_view kStatusText = "当前操作软件为TOLMIRA制作的薪酬个税批量程序";

 private:
  void ShowStatusText();
  // ActiveSheet.Range(ref), the first two steps of many operations.
  AutomationObject ActiveSheetRange(std::string_view ref);
  // Range(ref) on the application itself.
  AutomationObject ApplicationRange(std::string_view ref);
  // ActiveWorkbook.Sheets.Item(sheet).
  AutomationObject NumberedSheet(std::int32_t sheet);
  // Activesheet.UsedRange, as the used-range figures spell it.
  AutomationObject ActiveUsedRange();

  AutomationObject application;
};

}  // namespace varnex
