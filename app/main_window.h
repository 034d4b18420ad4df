#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

// moc does not read the Chinese enumerators of the controls interface;
// it needs nothing from these headers.
#ifndef Q_MOC_RUN
#include "app/open_command.h"
#include "verify/controls.h"
#endif

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;
class QToolBar;
class QToolButton;

namespace varnex {

class ResultsModel;
class StatusBar;
class SheetSpinner;

// The file-open dialog of the open command, behind a seam tests replace.
struct FileDialog {
  QString filter = QStringLiteral("*.xls (*.xls)");  // one entry, "*.xls|*.xls"
  std::function<std::optional<std::string>(QWidget* owner)> choose;
};

// The one window of the program. Each control is a member named as the
// window names it, with that name as its objectName.
class MainWindow : public QWidget, public Controls {
  Q_OBJECT

 public:
  explicit MainWindow(ExcelSession& session);
  ~MainWindow() override;

  // Lays the progress bar exactly over status pane 1.
  void OnMainWindowCreated();
  void OnToolbarButton(int index);

  // Controls
  std::string Text(ControlId control) const override;
  void SetText(ControlId control, std::string_view text) override;
  bool IsTicked(ControlId check_box) const override;
  void SetSheetNumberUpperLimit(std::int32_t limit) override;
  void ClearResultRows() override;
  int AppendResultRow(std::string_view column0) override;
  void SetResultText(int row, int column, std::string_view text) override;
  std::string ResultText(int row, int column) const override;
  int ResultRowCount() const override;
  bool IsResultRowTicked(int row) const override;
  int SelectedResultRow() const override;
  void SetPaneText(int pane, std::string_view text) override;
  void SetPaneTooltip(int pane, std::string_view text) override;
  void ShowProgress(bool visible) override;
  void SetProgress(int position) override;
  void Focus(ControlId control) override;
  void ShowWaitCursor() override;
  void RestoreCursor() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  std::optional<std::string> ChooseFile() override;

  // Replaceable by tests: the message box and the results-table event.
  std::function<void(std::string_view text, std::string_view caption)> messageBox;

  OpenCommand& openCommand() { return open_; }
  ResultsModel& resultsModel() { return *results_; }

  QToolBar* 工具条1;
  QLabel* 标签1;
  QLineEdit* 编辑框_表序;
  SheetSpinner* 调节器_表序;
  QLabel* 标签5;
  QLineEdit* 编辑框_工资;
  QLabel* 标签_起始列号;
  QLineEdit* 编辑框_工资列号;
  QLabel* 标签4;
  QComboBox* 组合框_起征点;
  QLabel* 标签_终止列号;
  QLineEdit* 编辑框_个税列号;
  QCheckBox* 选择框_更正否;
  QCheckBox* 选择框_计算器;
  QCheckBox* 选择框_年终奖;
  QLabel* 图片框1;
  QTableView* 超级列表框1;
  StatusBar* 状态条1;
  QProgressBar* 进度条1;
  QLineEdit* 编辑框_起始行;
  QLineEdit* 编辑框_起始列;
  QLineEdit* 编辑框_表行数;
  QLineEdit* 编辑框_表列数;
  FileDialog 通用对话框1;

  static constexpr int kOuterWidth = 492;
  static constexpr int kOuterHeight = 358;
  static QString Title() { return QStringLiteral("Varnex  BY_Tolmira"); }

 signals:
  // The user moved the results table's current row (click or arrow keys).
  void resultRowFocused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildToolBar();
  void BuildControls();
  void BuildResultsTable();
  QLineEdit* Box(ControlId control) const;
  void OnResultRowFocused();

  ExcelSession& session_;
  OpenCommand open_;
  ResultsModel* results_;
  bool program_changes_rows_ = false;
  int wait_cursors_ = 0;
  bool sized_ = false;
};

}  // namespace varnex
