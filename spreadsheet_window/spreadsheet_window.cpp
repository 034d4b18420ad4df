#include "spreadsheet_window/spreadsheet_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include "spreadsheet/cell_address.h"
#include "spreadsheet_window/cell_text.h"
#include "spreadsheet_window/sheet_model.h"

namespace varnex::spreadsheet_window {

using namespace spreadsheet;

namespace {

const QString kAppName = QStringLiteral("Varnex 电子表格");

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Paints a cell as usual, then its own borders over the grid lines.
class BorderDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const QVariantList borders = index.data(SheetModel::kBordersRole).toList();
    if (borders.size() != 8) return;
    const QRect r = option.rect;
    const QLine edges[4] = {{r.topLeft(), r.bottomLeft()}, {r.topLeft(), r.topRight()},
                            {r.topRight(), r.bottomRight()}, {r.bottomLeft(), r.bottomRight()}};
    painter->save();
    for (int e = 0; e < 4; ++e) {
      const int width = borders[2 * e].toInt();
      if (width == 0) continue;
      painter->setPen(QPen(borders[2 * e + 1].value<QColor>(), width));
      painter->drawLine(edges[e]);
    }
    painter->restore();
  }
};

// Excel measures widths in characters of the standard font.
int PixelsOfWidth(double characters) { return static_cast<int>(characters * 7 + 5); }

}  // namespace

SpreadsheetWindow::SpreadsheetWindow(std::shared_ptr<Application> application)
    : application_(std::move(application)), model_(new SheetModel(this)) {
  setObjectName(QStringLiteral("电子表格窗口"));
  resize(900, 600);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  grid_ = new QTableView(central);
  grid_->setObjectName(QStringLiteral("表格"));
  grid_->setModel(model_);
  grid_->setItemDelegate(new BorderDelegate(grid_));
  grid_->verticalHeader()->setDefaultSectionSize(20);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setDefaultSectionSize(PixelsOfWidth(Sheet::kDefaultColumnWidth));
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  tabs_ = new QTabBar(central);
  tabs_->setObjectName(QStringLiteral("工作表标签"));
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  layout->addWidget(grid_);
  layout->addWidget(tabs_);
  setCentralWidget(central);
  BuildMenus();

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (showing_ || index < 0) return;
    if (auto workbook = Shown()) workbook->ActivateSheet(static_cast<std::size_t>(index));
  });
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (showing_ || !model_->sheet()) return;
    const QModelIndexList picked = grid_->selectionModel()->selectedIndexes();
    if (picked.isEmpty()) return;
    Area area{kMaxRows, kMaxColumns, 1, 1};
    for (const QModelIndex& i : picked) {
      area.first_row = std::min(area.first_row, i.row() + 1);
      area.last_row = std::max(area.last_row, i.row() + 1);
      area.first_column = std::min(area.first_column, i.column() + 1);
      area.last_column = std::max(area.last_column, i.column() + 1);
    }
    showing_ = true;
    model_->sheet()->Select(area);
    showing_ = false;
  });

  askToSave = [this](Workbook& workbook) {
    QMessageBox box(QMessageBox::Warning, kAppName,
                    QStringLiteral("是否保存对“%1”的更改？").arg(Q(workbook.name())), QMessageBox::NoButton, this);
    QAbstractButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QAbstractButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(static_cast<QPushButton*>(save));
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::kSave;
    if (box.clickedButton() == discard) return SaveChoice::kDontSave;
    return SaveChoice::kCancel;
  };
  askAboutLoss = [this](Workbook& workbook) {
    QString lost;
    for (const std::string& what : workbook.lost_content()) lost += QStringLiteral("\n· ") + Q(what);
    QMessageBox box(QMessageBox::Warning, kAppName,
                    QStringLiteral("“%1”中有以下内容无法保存，直接保存将使原文件失去这些内容：%2\n\n"
                                   "建议另存为新文件，保留原文件。")
                        .arg(Q(workbook.name()), lost),
                    QMessageBox::NoButton, this);
    QAbstractButton* save_as = box.addButton(QStringLiteral("另存为…"), QMessageBox::AcceptRole);
    QAbstractButton* anyway = box.addButton(QStringLiteral("仍然保存"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(static_cast<QPushButton*>(save_as));
    box.exec();
    return box.clickedButton() == save_as ? 0 : box.clickedButton() == anyway ? 1 : 2;
  };
  chooseSavePath = [this](const QString& suggested) -> std::optional<std::string> {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), suggested,
                                                QStringLiteral("Excel 97-2003 工作簿 (*.xls)"));
    if (path.isEmpty()) return std::nullopt;
    if (!path.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) path += QStringLiteral(".xls");
    return path.toStdString();
  };
  chooseOpenPath = [this]() -> std::optional<std::string> {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QString(),
                                                      QStringLiteral("*.xls (*.xls)"));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  };

  application_->AddListener(this);
  application_->hooks = this;
  ShowActive();
}

SpreadsheetWindow::~SpreadsheetWindow() {
  application_->RemoveListener(this);
  if (application_->hooks == this) application_->hooks = nullptr;
}

void SpreadsheetWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  QAction* save = file->addAction(QStringLiteral("保存(&S)"), this, [this] { SaveShown(); });
  save->setShortcut(QKeySequence::Save);
  save->setObjectName(QStringLiteral("保存"));
  file->addAction(QStringLiteral("另存为(&A)…"), this, [this] { SaveShownAs(); })
      ->setObjectName(QStringLiteral("另存为"));
  file->addSeparator();
  file->addAction(QStringLiteral("打印预览(&V)"), this, [this] {
    if (auto w = Shown()) PrintPreview(*w);
  });
  file->addAction(QStringLiteral("打印(&P)…"), this, [this] {
    if (auto w = Shown()) PrintOut(*w);
  });
  file->addSeparator();
  file->addAction(QStringLiteral("关闭工作簿(&C)"), this, [this] {
    if (auto w = Shown()) application_->CloseWorkbook(*w);
  });
  file->addAction(QStringLiteral("退出(&X)"), this, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  QAction* undo = model_->undo().createUndoAction(this, QStringLiteral("撤销"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = model_->undo().createRedoAction(this, QStringLiteral("恢复"));
  redo->setShortcut(QKeySequence::Redo);
  edit->addAction(undo);
  edit->addAction(redo);
  addAction(undo);
  addAction(redo);
  addAction(save);

  windows_menu_ = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
}

std::shared_ptr<Workbook> SpreadsheetWindow::Shown() const { return application_->active_workbook(); }

void SpreadsheetWindow::ShowActive() {
  const auto workbook = Shown();
  showing_ = true;
  while (tabs_->count() > 0) tabs_->removeTab(0);
  if (workbook) {
    for (std::size_t i = 0; i < workbook->sheet_count(); ++i) tabs_->addTab(Q(workbook->sheet(i)->name()));
    tabs_->setCurrentIndex(static_cast<int>(workbook->active_sheet_index()));
    model_->Show(workbook, workbook->sheet(workbook->active_sheet_index()));
  } else {
    model_->Show(nullptr, nullptr);
  }
  showing_ = false;
  ApplyLayout();
  if (workbook) SelectionChanged(*workbook, workbook->active_sheet());
  windows_menu_->clear();
  for (const auto& w : application_->workbooks()) {
    QAction* a = windows_menu_->addAction(Q(w->name()), this, [this, weak = std::weak_ptr<Workbook>(w)] {
      if (auto book = weak.lock()) application_->ActivateWorkbook(*book);
    });
    a->setCheckable(true);
    a->setChecked(w == workbook);
  }
  UpdateTitle();
}

void SpreadsheetWindow::ApplyLayout() {
  grid_->clearSpans();
  Sheet* sheet = model_->sheet();
  if (!sheet) return;
  for (const Area& m : sheet->merged())
    if (m.last_row <= model_->rowCount() && m.last_column <= model_->columnCount())
      grid_->setSpan(m.first_row - 1, m.first_column - 1, m.rows(), m.columns());
  for (int c = 0; c < model_->columnCount(); ++c)
    grid_->setColumnWidth(c, PixelsOfWidth(sheet->ColumnWidth(c + 1)));
  for (const auto& [row, height] : sheet->row_heights())
    if (row <= model_->rowCount()) grid_->setRowHeight(row - 1, static_cast<int>(height * 4 / 3));
}

void SpreadsheetWindow::UpdateTitle() {
  const auto workbook = Shown();
  if (!workbook) {
    setWindowTitle(kAppName);
    return;
  }
  setWindowTitle(Q(workbook->name()) + (workbook->dirty() ? QStringLiteral(" *") : QString()) +
                 QStringLiteral(" - ") + kAppName);
}

void SpreadsheetWindow::WorkbooksChanged() { ShowActive(); }

void SpreadsheetWindow::ActiveSheetChanged(Workbook& workbook) {
  if (Shown().get() == &workbook) ShowActive();
}

void SpreadsheetWindow::CellsChanged(Workbook&, Sheet& sheet, const Area& area) {
  if (&sheet == model_->sheet()) model_->CellsChanged(area);
}

void SpreadsheetWindow::LayoutChanged(Workbook& workbook, Sheet&) {
  if (Shown().get() == &workbook) ShowActive();
}

void SpreadsheetWindow::SelectionChanged(Workbook&, Sheet& sheet) {
  if (&sheet != model_->sheet() || showing_) return;
  const Area& a = sheet.selection();
  model_->CellsChanged({a.first_row, a.first_column, a.first_row, a.first_column});  // room to show it
  const int last_row = std::min(a.last_row, model_->rowCount()), last_column = std::min(a.last_column, model_->columnCount());
  if (a.first_row > last_row || a.first_column > last_column) return;
  showing_ = true;
  const QModelIndex top_left = model_->index(a.first_row - 1, a.first_column - 1);
  grid_->selectionModel()->select(QItemSelection(top_left, model_->index(last_row - 1, last_column - 1)),
                                  QItemSelectionModel::ClearAndSelect);
  grid_->selectionModel()->setCurrentIndex(top_left, QItemSelectionModel::NoUpdate);
  grid_->scrollTo(top_left, QAbstractItemView::PositionAtCenter);
  showing_ = false;
}

void SpreadsheetWindow::SavedStateChanged(Workbook&) { UpdateTitle(); }

void SpreadsheetWindow::VisibilityChanged(bool visible) {
  if (visible) {
    show();
    raise();
  } else {
    hide();
  }
}

void SpreadsheetWindow::Quit() { hide(); }

bool SpreadsheetWindow::SaveShown() {
  const auto workbook = Shown();
  if (!workbook) return false;
  if (workbook->path().empty()) return SaveShownAs();
  std::string error;
  if (application_->Save(*workbook, &error)) return true;
  if (!workbook->dirty()) return true;  // saved under another name by the loss prompt
  if (!error.empty() && workbook->lost_content().empty())
    QMessageBox::warning(this, kAppName, QStringLiteral("保存失败：") + Q(error));
  return false;
}

bool SpreadsheetWindow::SaveShownAs() {
  const auto workbook = Shown();
  if (!workbook) return false;
  const auto path = chooseSavePath(Q(workbook->path().empty() ? workbook->name() + ".xls" : workbook->path()));
  if (!path) return false;
  std::string error;
  if (application_->SaveAs(*workbook, *path, &error)) return true;
  QMessageBox::warning(this, kAppName, QStringLiteral("保存失败：") + Q(error));
  return false;
}

SaveChoice SpreadsheetWindow::AskToSave(Workbook& workbook) {
  const SaveChoice choice = askToSave(workbook);
  if (choice != SaveChoice::kSave) return choice;
  // Saved here, with Save As for a workbook that has no file yet; the
  // workbook is then clean and may close.
  application_->ActivateWorkbook(workbook);
  return SaveShown() && !workbook.dirty() ? SaveChoice::kDontSave : SaveChoice::kCancel;
}

bool SpreadsheetWindow::AgreeToLoseContent(Workbook& workbook) {
  switch (askAboutLoss(workbook)) {
    case 1: return true;
    case 0: {
      application_->ActivateWorkbook(workbook);
      SaveShownAs();
      return false;
    }
    default: return false;
  }
}

std::optional<std::string> SpreadsheetWindow::InputBox(const std::string& prompt, const std::string& title,
                                                       const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(this, Q(title.empty() ? kAppName.toStdString() : title), Q(prompt),
                                             QLineEdit::Normal, Q(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

bool SpreadsheetWindow::FindFile() {
  const auto path = chooseOpenPath();
  if (!path) return false;
  std::string error;
  if (application_->OpenWorkbook(*path, &error)) return true;
  QMessageBox::warning(this, kAppName, QStringLiteral("无法打开文件：") + Q(error));
  return false;
}

void SpreadsheetWindow::PrintSheet(QPrinter* printer) {
  const auto workbook = Shown();
  if (!workbook) return;
  const Sheet& sheet = workbook->active_sheet();
  const Area used = sheet.UsedArea();
  QPainter painter(printer);
  const QRect page = painter.viewport();
  const int line = painter.fontMetrics().height() + 4;
  int y = line;
  for (int r = used.first_row; r <= used.last_row; ++r) {
    if (y + line > page.height()) {
      printer->newPage();
      y = line;
    }
    int x = 0;
    for (int c = used.first_column; c <= used.last_column; ++c) {
      const int width = PixelsOfWidth(sheet.ColumnWidth(c)) * printer->resolution() / 96;
      const CellFormat& format = workbook->Format(sheet.FormatIndex(r, c));
      const QRect cell(x, y - line, width, line);
      if (format.fill_index >= 1 && format.fill_index <= 56) {
        const Rgb rgb = workbook->palette().ColorOf(format.fill_index);
        painter.fillRect(cell, QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
      }
      painter.drawRect(cell);
      painter.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       Q(ShownText(sheet.Value(r, c), format.number_format)));
      x += width;
    }
    y += line;
  }
}

bool SpreadsheetWindow::PrintPreview(Workbook& workbook) {
  application_->ActivateWorkbook(workbook);
  QPrinter printer(QPrinter::ScreenResolution);
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintSheet(p); });
  preview.exec();
  return true;
}

bool SpreadsheetWindow::PrintOut(Workbook& workbook) {
  application_->ActivateWorkbook(workbook);
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  PrintSheet(&printer);
  return true;
}

void SpreadsheetWindow::closeEvent(QCloseEvent* event) {
  // Closing the spreadsheet's window quits it, asking first about unsaved work.
  if (!application_->has_quit() && !application_->Quit()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace varnex::spreadsheet_window
