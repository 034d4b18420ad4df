#include "app/results_model.h"

namespace varnex {
namespace {

const char* const kHeaders[ResultsModel::kColumns] = {"XLS行号", "计税基数", "个税原值", "标准个税", "更正"};
const Qt::Alignment kAlignments[ResultsModel::kColumns] = {
    Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
    Qt::AlignRight | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter};

}  // namespace

int ResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(row.texts[static_cast<std::size_t>(index.column())]);
    case Qt::TextAlignmentRole: return QVariant::fromValue(kAlignments[index.column()]);
    case Qt::CheckStateRole:
      if (index.column() == 0) return row.ticked ? Qt::Checked : Qt::Unchecked;
      return {};
    default: return {};
  }
}

bool ResultsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
  rows_[static_cast<std::size_t>(index.row())].ticked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(kAlignments[section]);
  return {};
}

void ResultsModel::Clear() {
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  endResetModel();
}

int ResultsModel::Append(std::string_view column0) {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row);
  rows_.emplace_back();
  rows_.back().texts[0] = std::string(column0);
  endInsertRows();
  return row;
}

void ResultsModel::SetText(int row, int column, std::string_view text) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) return;
  rows_[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)] = std::string(text);
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at, {Qt::DisplayRole});
}

std::string ResultsModel::Text(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) return {};
  return rows_[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)];
}

bool ResultsModel::IsTicked(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && rows_[static_cast<std::size_t>(row)].ticked;
}

void ResultsModel::SetTicked(int row, bool ticked) {
  setData(index(row, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

}  // namespace varnex
