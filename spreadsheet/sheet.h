#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "spreadsheet/cell.h"
#include "spreadsheet/cell_address.h"

namespace varnex::spreadsheet {

class Sheet;

// Told of every change, so that the workbook can mark itself unsaved and a
// window can repaint.
class SheetOwner {
 public:
  virtual void CellsChanged(Sheet& sheet, const Area& area) = 0;
  virtual void LayoutChanged(Sheet& sheet) = 0;  // merges, widths, inserted or deleted cells
  virtual void SelectionChanged(Sheet& sheet) = 0;

 protected:
  ~SheetOwner() = default;
};

// One worksheet: sparse rows of compact cells, with formulas, comments,
// merged areas, column widths and row heights kept beside them.
class Sheet {
 public:
  explicit Sheet(std::string name, SheetOwner* owner = nullptr);

  const std::string& name() const { return name_; }
  void Rename(std::string name);
  void set_owner(SheetOwner* owner) { owner_ = owner; }
  // The workbook holding the sheet; null once the sheet is removed or its
  // workbook is gone.
  SheetOwner* owner() const { return owner_; }

  CellValue Value(std::int32_t row, std::int32_t column) const;
  std::uint16_t FormatIndex(std::int32_t row, std::int32_t column) const;
  const std::string* Formula(std::int32_t row, std::int32_t column) const;
  const std::string* Comment(std::int32_t row, std::int32_t column) const;

  // Setting a value removes the cell's formula; the format stays.
  void SetValue(std::int32_t row, std::int32_t column, const CellValue& value);
  // A formula's last computed value, the formula (if any) staying as it is.
  void SetCachedValue(std::int32_t row, std::int32_t column, const CellValue& value);
  // A formula keeps its last computed value; it is not evaluated here.
  void SetFormula(std::int32_t row, std::int32_t column, std::string formula,
                  const CellValue& cached);
  void SetFormatIndex(std::int32_t row, std::int32_t column, std::uint16_t format);
  void SetComment(std::int32_t row, std::int32_t column, std::string comment);

  // A formula as a file held it (its parsed form, kept opaque so that it
  // can be written back as it was). Any change to the cell drops it.
  const std::string* FormulaRecord(std::int32_t row, std::int32_t column) const;
  void SetFormulaRecord(std::int32_t row, std::int32_t column, std::string record);
  const std::map<std::uint64_t, std::string>& formula_records() const { return formula_records_; }
  // Moving cells would leave these records pointing at the wrong cells, so
  // inserting or deleting drops them; true when it dropped any.
  bool dropped_formula_records() const { return dropped_formula_records_; }

  void ClearContents(const Area& area);
  void ClearFormats(const Area& area);
  void ClearComments(const Area& area);

  // Every cell with a value, a formula or a format; A1 for an empty sheet.
  Area UsedArea() const;

  // Inserting shifts the cells at and below (or right of) the area away by
  // its height (width); deleting pulls them back and drops the area's cells.
  void InsertCells(const Area& area, bool shift_down);
  void DeleteCells(const Area& area, bool shift_up);

  const std::vector<Area>& merged() const { return merged_; }
  void Merge(const Area& area);
  void Unmerge(const Area& area);

  // In characters of the standard font, as Excel measures them.
  static constexpr double kDefaultColumnWidth = 8.43;
  static constexpr double kDefaultRowHeight = 13.5;  // points
  double ColumnWidth(std::int32_t column) const;
  double RowHeight(std::int32_t row) const;
  void SetColumnWidth(std::int32_t column, double width);
  void SetRowHeight(std::int32_t row, double height);
  const std::map<std::int32_t, double>& column_widths() const { return column_widths_; }
  const std::map<std::int32_t, double>& row_heights() const { return row_heights_; }

  const Area& selection() const { return selection_; }
  void Select(const Area& area);

  // Calls f(row, column, value, format) for every stored cell, row by row.
  void ForEachCell(
      const std::function<void(std::int32_t, std::int32_t, const CellValue&, std::uint16_t)>& f)
      const;
  const std::map<std::uint64_t, std::string>& formulas() const { return formulas_; }
  const std::map<std::uint64_t, std::string>& comments() const { return comments_; }
  static std::uint64_t Key(std::int32_t row, std::int32_t column) {
    return (static_cast<std::uint64_t>(row) << 32) | static_cast<std::uint32_t>(column);
  }

  std::size_t StoredCellCount() const;
  std::size_t ApproximateBytes() const;

 private:
  struct Cell {
    double number;
    std::uint32_t text;  // index into strings_ for text cells
    std::uint16_t format;
    CellKind kind;
  };
  struct Entry {
    std::int32_t column;
    Cell cell;
  };
  using Row = std::vector<Entry>;

  const Cell* Find(std::int32_t row, std::int32_t column) const;
  Cell* Find(std::int32_t row, std::int32_t column) {
    return const_cast<Cell*>(static_cast<const Sheet*>(this)->Find(row, column));
  }
  Cell* FindOrAdd(std::int32_t row, std::int32_t column);
  void DropIfBare(std::int32_t row, std::int32_t column);
  void Store(Cell& cell, const CellValue& value);
  // Moves every cell, formula and comment to where `where` says (or drops it).
  void Relocate(const std::function<std::optional<std::pair<std::int32_t, std::int32_t>>(
                    std::int32_t, std::int32_t)>& where);
  void NotifyCells(const Area& area);
  void NotifyLayout();

  std::string name_;
  SheetOwner* owner_;
  std::vector<Row> rows_;  // rows_[r - 1]
  std::vector<std::string> strings_;
  std::map<std::uint64_t, std::string> formulas_;
  std::map<std::uint64_t, std::string> comments_;
  std::map<std::uint64_t, std::string> formula_records_;
  bool dropped_formula_records_ = false;
  std::vector<Area> merged_;
  std::map<std::int32_t, double> column_widths_;
  std::map<std::int32_t, double> row_heights_;
  Area selection_;
};

}  // namespace varnex::spreadsheet
