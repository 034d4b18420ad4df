#pragma once

#include <QAbstractTableModel>
#include <QUndoStack>

#include <memory>

#include "spreadsheet/application.h"

namespace varnex::spreadsheet_window {

// One sheet of a workbook as a grid: shown values, fills, fonts and
// alignment, row numbers and column letters. Edits go through an undo
// stack and are stored as typing into a spreadsheet stores them.
class SheetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SheetModel(QObject* parent);

  void Show(std::shared_ptr<spreadsheet::Workbook> workbook, std::shared_ptr<spreadsheet::Sheet> sheet);
  spreadsheet::Sheet* sheet() const { return sheet_.get(); }
  spreadsheet::Workbook* workbook() const { return workbook_.get(); }
  QUndoStack& undo() { return undo_; }

  // The model changed these cells: repaint them, and grow if needed.
  void CellsChanged(const spreadsheet::Area& area);
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The cell's four borders, for the grid's painting.
  static constexpr int kBordersRole = Qt::UserRole + 1;

  // Stores typed text into a cell, as one undoable edit.
  void Type(int row, int column, const QString& text);

 private:
  void Grow();

  std::shared_ptr<spreadsheet::Workbook> workbook_;
  std::shared_ptr<spreadsheet::Sheet> sheet_;
  QUndoStack undo_;
  int rows_ = 0;
  int columns_ = 0;
};

}  // namespace varnex::spreadsheet_window
