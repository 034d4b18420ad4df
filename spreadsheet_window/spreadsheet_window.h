#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

#include "spreadsheet/application.h"

class QPrinter;
class QTabBar;
class QTableView;
class QMenu;

namespace varnex::spreadsheet_window {

class SheetModel;

// The embedded spreadsheet's own window. It shows the active workbook,
// follows every change of the model as it happens, lets the clerk edit,
// undo and save, and answers what the application must ask a person.
class SpreadsheetWindow : public QMainWindow, public spreadsheet::ModelListener, public spreadsheet::ApplicationHooks {
  Q_OBJECT

 public:
  explicit SpreadsheetWindow(std::shared_ptr<spreadsheet::Application> application);
  ~SpreadsheetWindow() override;

  spreadsheet::Application& application() { return *application_; }
  QTableView* grid() const { return grid_; }
  QTabBar* tabs() const { return tabs_; }
  SheetModel& model() { return *model_; }

  // Saving the shown workbook, as the menu does; false when not saved.
  bool SaveShown();
  bool SaveShownAs();

  // Seams for the dialogs, replaced in tests.
  std::function<spreadsheet::SaveChoice(spreadsheet::Workbook&)> askToSave;
  // 0: save as instead, 1: save anyway, 2: cancel.
  std::function<int(spreadsheet::Workbook&)> askAboutLoss;
  std::function<std::optional<std::string>(const QString& suggested)> chooseSavePath;
  std::function<std::optional<std::string>()> chooseOpenPath;

  // ModelListener
  void WorkbooksChanged() override;
  void ActiveSheetChanged(spreadsheet::Workbook& workbook) override;
  void CellsChanged(spreadsheet::Workbook&, spreadsheet::Sheet& sheet, const spreadsheet::Area& area) override;
  void LayoutChanged(spreadsheet::Workbook&, spreadsheet::Sheet& sheet) override;
  void SelectionChanged(spreadsheet::Workbook&, spreadsheet::Sheet& sheet) override;
  void SavedStateChanged(spreadsheet::Workbook& workbook) override;
  void VisibilityChanged(bool visible) override;
  void Quit() override;

  // ApplicationHooks
  spreadsheet::SaveChoice AskToSave(spreadsheet::Workbook& workbook) override;
  bool AgreeToLoseContent(spreadsheet::Workbook& workbook) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& initial) override;
  bool FindFile() override;
  bool PrintPreview(spreadsheet::Workbook& workbook) override;
  bool PrintOut(spreadsheet::Workbook& workbook) override;
  bool NewWindow(spreadsheet::Workbook&) override { return false; }
  bool FunctionWizard(spreadsheet::Sheet&, const spreadsheet::Area&) override { return false; }
  std::int32_t View() override { return 1; }
  bool SetView(std::int32_t) override { return false; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ShowActive();
  void ApplyLayout();
  void UpdateTitle();
  void PrintSheet(QPrinter* printer);
  std::shared_ptr<spreadsheet::Workbook> Shown() const;

  std::shared_ptr<spreadsheet::Application> application_;
  SheetModel* model_;
  QTableView* grid_;
  QTabBar* tabs_;
  QMenu* windows_menu_;
  bool showing_ = false;  // the window is changing tabs itself
  bool saving_lossy_anyway_ = false;
};

}  // namespace varnex::spreadsheet_window
