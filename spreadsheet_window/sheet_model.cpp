#include "spreadsheet_window/sheet_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QUndoCommand>

#include <algorithm>

#include "spreadsheet/cell_address.h"
#include "spreadsheet/text_entry.h"
#include "spreadsheet_window/cell_text.h"

namespace varnex::spreadsheet_window {

using namespace spreadsheet;

namespace {

constexpr int kMinRows = 200;
constexpr int kMinColumns = 26;
constexpr int kSpareRows = 100;
constexpr int kSpareColumns = 10;

QColor ColorOf(Rgb rgb) { return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF)); }

// One typed edit: the cell's value and formula before and after.
class TypeCommand : public QUndoCommand {
 public:
  TypeCommand(std::shared_ptr<Sheet> sheet, int row, int column, const QString& text)
      : sheet_(std::move(sheet)), row_(row), column_(column) {
    before_ = sheet_->Value(row, column);
    if (const std::string* f = sheet_->Formula(row, column)) before_formula_ = *f;
    if (const std::string* r = sheet_->FormulaRecord(row, column)) before_record_ = *r;
    after_ = ParseEntry(text.toStdString());
    setText(QStringLiteral("输入 %1").arg(QString::fromStdString(FormatAddress({row, column, row, column}))));
  }
  void redo() override {
    if (after_.formula)
      sheet_->SetFormula(row_, column_, *after_.formula, after_.value);
    else
      sheet_->SetValue(row_, column_, after_.value);
  }
  void undo() override {
    if (before_formula_) {
      sheet_->SetFormula(row_, column_, *before_formula_, before_);
      if (before_record_) sheet_->SetFormulaRecord(row_, column_, *before_record_);
    } else {
      sheet_->SetValue(row_, column_, before_);
    }
  }

 private:
  std::shared_ptr<Sheet> sheet_;
  int row_, column_;
  CellValue before_;
  std::optional<std::string> before_formula_, before_record_;
  Entry after_;
};

}  // namespace

SheetModel::SheetModel(QObject* parent) : QAbstractTableModel(parent) {}

void SheetModel::Show(std::shared_ptr<Workbook> workbook, std::shared_ptr<Sheet> sheet) {
  beginResetModel();
  if (sheet_ != sheet) undo_.clear();
  workbook_ = std::move(workbook);
  sheet_ = std::move(sheet);
  rows_ = columns_ = 0;
  Grow();
  endResetModel();
}

void SheetModel::Refresh() { Show(workbook_, sheet_); }

void SheetModel::Grow() {
  if (!sheet_) return;
  const Area used = sheet_->UsedArea();
  const Area& selected = sheet_->selection();
  // Room past the used range, and for a selection below it (not whole columns).
  const int selected_rows = selected.last_row < kMaxRows ? selected.last_row + kSpareRows : 0;
  const int rows = std::min(kMaxRows, std::max({kMinRows, used.last_row + kSpareRows, selected_rows}));
  const int columns = std::min(kMaxColumns, std::max(kMinColumns, used.last_column + kSpareColumns));
  if (rows > rows_) {
    if (rows_ > 0) beginInsertRows({}, rows_, rows - 1);
    const int old = rows_;
    rows_ = rows;
    if (old > 0) endInsertRows();
  }
  if (columns > columns_) {
    if (columns_ > 0) beginInsertColumns({}, columns_, columns - 1);
    const int old = columns_;
    columns_ = columns;
    if (old > 0) endInsertColumns();
  }
}

void SheetModel::CellsChanged(const Area& area) {
  if (!sheet_) return;
  Grow();
  const int last_row = std::min(area.last_row, rows_), last_column = std::min(area.last_column, columns_);
  if (area.first_row > last_row || area.first_column > last_column) return;
  emit dataChanged(index(area.first_row - 1, area.first_column - 1), index(last_row - 1, last_column - 1));
}

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() || !sheet_ ? 0 : rows_; }
int SheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() || !sheet_ ? 0 : columns_; }

QVariant SheetModel::data(const QModelIndex& index, int role) const {
  if (!sheet_ || !index.isValid()) return {};
  const int r = index.row() + 1, c = index.column() + 1;
  const CellFormat& format = workbook_->Format(sheet_->FormatIndex(r, c));
  switch (role) {
    case Qt::DisplayRole: {
      const CellValue v = sheet_->Value(r, c);
      return v.kind == CellKind::kEmpty ? QVariant() : QString::fromStdString(ShownText(v, format.number_format));
    }
    case Qt::EditRole:
      return QString::fromStdString(EditText(sheet_->Value(r, c), sheet_->Formula(r, c)));
    case Qt::BackgroundRole:
      if (format.fill_index >= 1 && format.fill_index <= 56) return QBrush(ColorOf(workbook_->palette().ColorOf(format.fill_index)));
      return {};
    case Qt::ForegroundRole:
      return format.font.color ? QVariant(QBrush(ColorOf(format.font.color))) : QVariant();
    case Qt::FontRole: {
      if (format.font == Font()) return {};
      QFont font(QString::fromStdString(format.font.name));
      font.setPointSizeF(format.font.size * 0.82);  // the grid is drawn smaller than print
      font.setBold(format.font.bold);
      font.setItalic(format.font.italic);
      font.setUnderline(format.font.underline);
      font.setStrikeOut(format.font.strikethrough);
      return font;
    }
    case Qt::TextAlignmentRole: {
      Qt::Alignment vertical = Qt::AlignVCenter;
      switch (format.horizontal_alignment) {
        case kAlignLeft: return QVariant::fromValue(Qt::AlignLeft | vertical);
        case kAlignCenter: return QVariant::fromValue(Qt::AlignHCenter | vertical);
        case kAlignRight: return QVariant::fromValue(Qt::AlignRight | vertical);
        default: break;
      }
      // General: numbers to the right, texts to the left, others centred.
      const CellKind kind = sheet_->Value(r, c).kind;
      if (kind == CellKind::kNumber || kind == CellKind::kDate) return QVariant::fromValue(Qt::AlignRight | vertical);
      if (kind == CellKind::kBoolean || kind == CellKind::kError) return QVariant::fromValue(Qt::AlignHCenter | vertical);
      return QVariant::fromValue(Qt::AlignLeft | vertical);
    }
    case kBordersRole: {
      // Four entries (left, top, right, bottom): pen width, or 0 for none,
      // then colour.
      QVariantList borders;
      for (const Border& b : format.borders) {
        const int width = b.line_style == kLineStyleNone ? 0 : (b.weight == 4 || b.weight == -4138) ? 2 : 1;
        borders << width << ColorOf(b.color);
      }
      return borders;
    }
    case Qt::ToolTipRole:
      if (const std::string* comment = sheet_->Comment(r, c)) return QString::fromStdString(*comment);
      return {};
    default: return {};
  }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!sheet_ || !index.isValid() || role != Qt::EditRole) return false;
  Type(index.row() + 1, index.column() + 1, value.toString());
  return true;
}

void SheetModel::Type(int row, int column, const QString& text) {
  if (!sheet_) return;
  undo_.push(new TypeCommand(sheet_, row, column, text));
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(ColumnLetters(section + 1));
  return section + 1;
}

}  // namespace varnex::spreadsheet_window
