#include "spreadsheet/sheet.h"

#include <algorithm>

namespace varnex::spreadsheet {

Sheet::Sheet(std::string name, SheetOwner* owner) : name_(std::move(name)), owner_(owner) {}

void Sheet::Rename(std::string name) {
  name_ = std::move(name);
  NotifyLayout();
}

void Sheet::NotifyCells(const Area& area) {
  if (owner_) owner_->CellsChanged(*this, area);
}

void Sheet::NotifyLayout() {
  if (owner_) owner_->LayoutChanged(*this);
}

const Sheet::Cell* Sheet::Find(std::int32_t row, std::int32_t column) const {
  if (row < 1 || static_cast<std::size_t>(row) > rows_.size()) return nullptr;
  const Row& r = rows_[static_cast<std::size_t>(row - 1)];
  const auto it = std::lower_bound(r.begin(), r.end(), column,
                                   [](const Entry& e, std::int32_t c) { return e.column < c; });
  return it != r.end() && it->column == column ? &it->cell : nullptr;
}

Sheet::Cell* Sheet::FindOrAdd(std::int32_t row, std::int32_t column) {
  if (static_cast<std::size_t>(row) > rows_.size()) rows_.resize(static_cast<std::size_t>(row));
  Row& r = rows_[static_cast<std::size_t>(row - 1)];
  auto it = std::lower_bound(r.begin(), r.end(), column,
                             [](const Entry& e, std::int32_t c) { return e.column < c; });
  if (it == r.end() || it->column != column)
    it = r.insert(it, Entry{column, Cell{0, 0, 0, CellKind::kEmpty}});
  return &it->cell;
}

void Sheet::DropIfBare(std::int32_t row, std::int32_t column) {
  if (row < 1 || static_cast<std::size_t>(row) > rows_.size()) return;
  Row& r = rows_[static_cast<std::size_t>(row - 1)];
  const auto it = std::lower_bound(r.begin(), r.end(), column,
                                   [](const Entry& e, std::int32_t c) { return e.column < c; });
  if (it != r.end() && it->column == column && it->cell.kind == CellKind::kEmpty &&
      it->cell.format == 0)
    r.erase(it);
  while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void Sheet::Store(Cell& cell, const CellValue& value) {
  cell.kind = value.kind;
  cell.number = value.number;
  cell.text = 0;
  if (value.kind == CellKind::kText) {
    cell.text = static_cast<std::uint32_t>(strings_.size());
    strings_.push_back(value.text);
  }
}

CellValue Sheet::Value(std::int32_t row, std::int32_t column) const {
  const Cell* cell = Find(row, column);
  if (!cell) return {};
  CellValue value{cell->kind, cell->number, {}};
  if (cell->kind == CellKind::kText) value.text = strings_[cell->text];
  return value;
}

std::uint16_t Sheet::FormatIndex(std::int32_t row, std::int32_t column) const {
  const Cell* cell = Find(row, column);
  return cell ? cell->format : 0;
}

const std::string* Sheet::Formula(std::int32_t row, std::int32_t column) const {
  const auto it = formulas_.find(Key(row, column));
  return it == formulas_.end() ? nullptr : &it->second;
}

const std::string* Sheet::Comment(std::int32_t row, std::int32_t column) const {
  const auto it = comments_.find(Key(row, column));
  return it == comments_.end() ? nullptr : &it->second;
}

const std::string* Sheet::FormulaRecord(std::int32_t row, std::int32_t column) const {
  const auto it = formula_records_.find(Key(row, column));
  return it == formula_records_.end() ? nullptr : &it->second;
}

void Sheet::SetFormulaRecord(std::int32_t row, std::int32_t column, std::string record) {
  formula_records_[Key(row, column)] = std::move(record);
}

void Sheet::SetValue(std::int32_t row, std::int32_t column, const CellValue& value) {
  formulas_.erase(Key(row, column));
  formula_records_.erase(Key(row, column));
  if (value.kind == CellKind::kEmpty) {
    if (Cell* cell = Find(row, column)) {
      cell->kind = CellKind::kEmpty;
      DropIfBare(row, column);
    }
  } else {
    Store(*FindOrAdd(row, column), value);
  }
  NotifyCells({row, column, row, column});
}

void Sheet::SetCachedValue(std::int32_t row, std::int32_t column, const CellValue& value) {
  Store(*FindOrAdd(row, column), value);
  NotifyCells({row, column, row, column});
}

void Sheet::SetFormula(std::int32_t row, std::int32_t column, std::string formula,
                       const CellValue& cached) {
  Cell* cell = FindOrAdd(row, column);
  Store(*cell, cached);
  formula_records_.erase(Key(row, column));
  formulas_[Key(row, column)] = std::move(formula);
  NotifyCells({row, column, row, column});
}

void Sheet::SetFormatIndex(std::int32_t row, std::int32_t column, std::uint16_t format) {
  if (format == 0) {
    if (Cell* cell = Find(row, column)) {
      cell->format = 0;
      DropIfBare(row, column);
    }
  } else {
    FindOrAdd(row, column)->format = format;
  }
  NotifyCells({row, column, row, column});
}

void Sheet::SetComment(std::int32_t row, std::int32_t column, std::string comment) {
  comments_[Key(row, column)] = std::move(comment);
  NotifyCells({row, column, row, column});
}

namespace {

// The stored rows an area touches, clipped to what exists.
std::pair<std::size_t, std::size_t> RowSpan(const Area& area, std::size_t stored) {
  const auto first = static_cast<std::size_t>(std::max(area.first_row, 1) - 1);
  const auto last = std::min(static_cast<std::size_t>(area.last_row), stored);
  return {first, last};
}

template <typename Map>
void EraseIn(Map& map, const Area& area) {
  std::erase_if(map, [&](const auto& item) {
    return area.Contains(static_cast<std::int32_t>(item.first >> 32),
                         static_cast<std::int32_t>(item.first & 0xFFFFFFFF));
  });
}

}  // namespace

void Sheet::ClearContents(const Area& area) {
  const auto [first, last] = RowSpan(area, rows_.size());
  for (std::size_t r = first; r < last; ++r) {
    std::erase_if(rows_[r], [&](Entry& e) {
      if (e.column < area.first_column || e.column > area.last_column) return false;
      e.cell.kind = CellKind::kEmpty;
      return e.cell.format == 0;
    });
  }
  while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
  EraseIn(formulas_, area);
  EraseIn(formula_records_, area);
  NotifyCells(area);
}

void Sheet::ClearFormats(const Area& area) {
  const auto [first, last] = RowSpan(area, rows_.size());
  for (std::size_t r = first; r < last; ++r) {
    std::erase_if(rows_[r], [&](Entry& e) {
      if (e.column < area.first_column || e.column > area.last_column) return false;
      e.cell.format = 0;
      return e.cell.kind == CellKind::kEmpty;
    });
  }
  while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
  NotifyCells(area);
}

void Sheet::ClearComments(const Area& area) {
  EraseIn(comments_, area);
  NotifyCells(area);
}

Area Sheet::UsedArea() const {
  bool any = false;
  Area used{kMaxRows, kMaxColumns, 1, 1};
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].empty()) continue;
    const auto row = static_cast<std::int32_t>(r + 1);
    any = true;
    used.first_row = std::min(used.first_row, row);
    used.last_row = std::max(used.last_row, row);
    used.first_column = std::min(used.first_column, rows_[r].front().column);
    used.last_column = std::max(used.last_column, rows_[r].back().column);
  }
  return any ? used : Area{};
}

void Sheet::Relocate(const std::function<std::optional<std::pair<std::int32_t, std::int32_t>>(
                         std::int32_t, std::int32_t)>& where) {
  std::vector<Row> moved;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    for (const Entry& e : rows_[r]) {
      const auto to = where(static_cast<std::int32_t>(r + 1), e.column);
      if (!to) continue;
      if (static_cast<std::size_t>(to->first) > moved.size()) moved.resize(static_cast<std::size_t>(to->first));
      moved[static_cast<std::size_t>(to->first - 1)].push_back({to->second, e.cell});
    }
  }
  for (Row& row : moved)
    std::sort(row.begin(), row.end(), [](const Entry& a, const Entry& b) { return a.column < b.column; });
  rows_ = std::move(moved);
  if (!formula_records_.empty()) {
    formula_records_.clear();
    dropped_formula_records_ = true;
  }
  for (auto* map : {&formulas_, &comments_}) {
    std::map<std::uint64_t, std::string> remapped;
    for (auto& [key, text] : *map) {
      const auto to = where(static_cast<std::int32_t>(key >> 32), static_cast<std::int32_t>(key & 0xFFFFFFFF));
      if (to) remapped[Key(to->first, to->second)] = std::move(text);
    }
    *map = std::move(remapped);
  }
}

void Sheet::InsertCells(const Area& area, bool shift_down) {
  const std::int32_t n = shift_down ? area.rows() : area.columns();
  Relocate([&](std::int32_t r, std::int32_t c) -> std::optional<std::pair<std::int32_t, std::int32_t>> {
    if (shift_down && c >= area.first_column && c <= area.last_column && r >= area.first_row) {
      if (r + n > kMaxRows) return std::nullopt;
      return std::pair{r + n, c};
    }
    if (!shift_down && r >= area.first_row && r <= area.last_row && c >= area.first_column) {
      if (c + n > kMaxColumns) return std::nullopt;
      return std::pair{r, c + n};
    }
    return std::pair{r, c};
  });
  NotifyLayout();
}

void Sheet::DeleteCells(const Area& area, bool shift_up) {
  const std::int32_t n = shift_up ? area.rows() : area.columns();
  Relocate([&](std::int32_t r, std::int32_t c) -> std::optional<std::pair<std::int32_t, std::int32_t>> {
    if (area.Contains(r, c)) return std::nullopt;
    if (shift_up && c >= area.first_column && c <= area.last_column && r > area.last_row)
      return std::pair{r - n, c};
    if (!shift_up && r >= area.first_row && r <= area.last_row && c > area.last_column)
      return std::pair{r, c - n};
    return std::pair{r, c};
  });
  std::erase_if(merged_, [&](const Area& m) { return m.Intersects(area); });
  NotifyLayout();
}

void Sheet::Merge(const Area& area) {
  std::erase_if(merged_, [&](const Area& m) { return m.Intersects(area); });
  if (area.rows() > 1 || area.columns() > 1) merged_.push_back(area);
  NotifyLayout();
}

void Sheet::Unmerge(const Area& area) {
  std::erase_if(merged_, [&](const Area& m) { return m.Intersects(area); });
  NotifyLayout();
}

double Sheet::ColumnWidth(std::int32_t column) const {
  const auto it = column_widths_.find(column);
  return it == column_widths_.end() ? kDefaultColumnWidth : it->second;
}

double Sheet::RowHeight(std::int32_t row) const {
  const auto it = row_heights_.find(row);
  return it == row_heights_.end() ? kDefaultRowHeight : it->second;
}

void Sheet::SetColumnWidth(std::int32_t column, double width) {
  column_widths_[column] = width;
  NotifyLayout();
}

void Sheet::SetRowHeight(std::int32_t row, double height) {
  row_heights_[row] = height;
  NotifyLayout();
}

void Sheet::Select(const Area& area) {
  selection_ = area;
  if (owner_) owner_->SelectionChanged(*this);
}

void Sheet::ForEachCell(
    const std::function<void(std::int32_t, std::int32_t, const CellValue&, std::uint16_t)>& f) const {
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    for (const Entry& e : rows_[r]) {
      CellValue value{e.cell.kind, e.cell.number, {}};
      if (e.cell.kind == CellKind::kText) value.text = strings_[e.cell.text];
      f(static_cast<std::int32_t>(r + 1), e.column, value, e.cell.format);
    }
  }
}

std::size_t Sheet::StoredCellCount() const {
  std::size_t count = 0;
  for (const Row& row : rows_) count += row.size();
  return count;
}

std::size_t Sheet::ApproximateBytes() const {
  std::size_t bytes = rows_.capacity() * sizeof(Row);
  for (const Row& row : rows_) bytes += row.capacity() * sizeof(Entry);
  for (const std::string& s : strings_) bytes += sizeof(std::string) + (s.size() > 15 ? s.capacity() : 0);
  return bytes;
}

}  // namespace varnex::spreadsheet
