#pragma once

#include <QAbstractTableModel>

#include <array>
#include <string>
#include <vector>

namespace varnex {

// The results table's rows: five texts and a tick each. A plain vector
// behind a Qt model keeps 100000 rows cheap to add and to show.
class ResultsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 5;

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void Clear();
  int Append(std::string_view column0);
  void SetText(int row, int column, std::string_view text);
  std::string Text(int row, int column) const;
  bool IsTicked(int row) const;
  void SetTicked(int row, bool ticked);

 private:
  struct Row {
    std::array<std::string, kColumns> texts;
    bool ticked = false;
  };
  std::vector<Row> rows_;
};

}  // namespace varnex
