#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnex {

// The main window's controls that commands read and write, by their names.
enum class ControlId {
  编辑框_表序,      // sheet number
  编辑框_工资,      // amount (calculator)
  编辑框_工资列号,  // pay column letter
  编辑框_个税列号,  // tax column letter
  编辑框_起始行,    // first used row (hidden)
  编辑框_起始列,    // first used column (hidden)
  编辑框_表行数,    // used row count (hidden)
  编辑框_表列数,    // used column count (hidden)
  组合框_起征点,    // monthly threshold
  选择框_更正否,    // automatic correction
  选择框_计算器,    // calculator mode
  选择框_年终奖,    // bonus mode
  超级列表框1,      // results table
};

// What the window offers the commands; the Qt window implements it and
// tests implement it without widgets. Rows and columns count from 0.
class Controls {
 public:
  virtual ~Controls() = default;

  // Edit boxes; for the threshold drop-down, its selected item's text.
  virtual std::string Text(ControlId control) const = 0;
  virtual void SetText(ControlId control, std::string_view text) = 0;
  virtual bool IsTicked(ControlId check_box) const = 0;
  virtual void SetSheetNumberUpperLimit(std::int32_t limit) = 0;

  // The results table.
  virtual void ClearResultRows() = 0;
  virtual int AppendResultRow(std::string_view column0) = 0;
  virtual void SetResultText(int row, int column, std::string_view text) = 0;
  // The empty text for a row that does not exist (such as -1).
  virtual std::string ResultText(int row, int column) const = 0;
  virtual int ResultRowCount() const = 0;
  virtual bool IsResultRowTicked(int row) const = 0;
  // -1 when no row is selected.
  virtual int SelectedResultRow() const = 0;

  // The status bar's panes, counted from 0.
  virtual void SetPaneText(int pane, std::string_view text) = 0;
  virtual void SetPaneTooltip(int pane, std::string_view text) = 0;

  // The progress bar over pane 1 (0 to 100).
  virtual void ShowProgress(bool visible) = 0;
  virtual void SetProgress(int position) = 0;

  virtual void Focus(ControlId control) = 0;
  virtual void ShowWaitCursor() = 0;
  virtual void RestoreCursor() = 0;

  // The message box with the information icon and an OK button.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  // The file-open dialog (filter "*.xls|*.xls", existing files only);
  // nullopt when cancelled.
  virtual std::optional<std::string> ChooseFile() = 0;
};

}  // namespace varnex
