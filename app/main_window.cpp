#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableView>
#include <QToolBar>

#include "app/calculator.h"
#include "app/results_model.h"
#include "app/status_bar.h"
#include "excel/global_session.h"
#include "tax/text_convert.h"
#include "verify/correction.h"
#include "verify/result_selection.h"
#include "verify/verification.h"

// The window's icons live in a static library, whose resources must be
// registered by hand (outside any namespace, as Qt asks).
static void InitWindowResources() { Q_INIT_RESOURCE(app); }

namespace varnex {
namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

constexpr int kStatusHeight = 20;

}  // namespace

MainWindow::MainWindow(ExcelSession& session)
    : session_(session), open_(*this, session), results_(new ResultsModel(this)) {
  InitWindowResources();
  setObjectName(QStringLiteral("主窗口"));
  setWindowTitle(Title());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kOuterWidth, kOuterHeight);  // corrected for the frame once shown

  通用对话框1.choose = [this](QWidget* owner) -> std::optional<std::string> {
    const QString path = QFileDialog::getOpenFileName(owner, QString(), QString(), 通用对话框1.filter,
                                                      nullptr, QFileDialog::Options());
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  };
  messageBox = [](std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Information, Q(caption), Q(text), QMessageBox::Ok, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  };

  BuildToolBar();
  BuildControls();
  BuildResultsTable();

  状态条1 = Named(new StatusBar(this), "状态条1");
  状态条1->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
  状态条1->SetPaneText(0, QStringLiteral("提示："));
  const QString hint = QStringLiteral("列号即Excel表格中的“A、B”等");
  状态条1->SetPaneText(1, hint);
  状态条1->SetPaneTooltip(1, hint);
  状态条1->SetPaneText(2, QStringLiteral("行数|列数"));

  进度条1 = Named(new QProgressBar(this), "进度条1");
  进度条1->setGeometry(176, 200, 56, 16);
  进度条1->setRange(0, 100);
  进度条1->setValue(0);
  进度条1->setTextVisible(false);
  进度条1->hide();
}

MainWindow::~MainWindow() {
  // Closing from the title bar and from the tool bar both end here.
  OnMainWindowDestroying(session_);
}

void MainWindow::BuildToolBar() {
  工具条1 = Named(new QToolBar(this), "工具条1");
  工具条1->setIconSize(QSize(32, 32));
  工具条1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  工具条1->setMovable(false);
  工具条1->setFloatable(false);
  工具条1->setContentsMargins(5, 0, 0, 0);
  struct Item {
    const char* caption;
    const char* tooltip;
    const char* icon;
  };
  const Item items[] = {{nullptr, nullptr, nullptr},
                        {"打开", "打开EXCEL文件", ":/resources/open.svg"},
                        {"计算", "批量计算个税", ":/resources/calculate.svg"},
                        {"更正", "更正错误项", ":/resources/correct.svg"},
                        {nullptr, nullptr, nullptr},
                        {"关闭", "退出程序", ":/resources/close.svg"}};
  for (int index = 0; index < 6; ++index) {
    const Item& item = items[index];
    QAction* action = item.caption ? 工具条1->addAction(QIcon(QString::fromUtf8(item.icon)), QString::fromUtf8(item.caption))
                                   : 工具条1->addSeparator();
    if (item.caption) action->setToolTip(QString::fromUtf8(item.tooltip));
    connect(action, &QAction::triggered, this, [this, index] { OnToolbarButton(index); });
  }
  工具条1->setGeometry(0, 0, width(), 工具条1->sizeHint().height());
}

void MainWindow::BuildControls() {
  auto label = [this](const char* name, const char* text, int x, int y, int w, int h) {
    auto* l = Named(new QLabel(QString::fromUtf8(text), this), name);
    l->setGeometry(x, y, w, h);
    return l;
  };
  auto edit = [this](const char* name, int x, int y, int w, int h) {
    auto* e = Named(new QLineEdit(this), name);
    e->setGeometry(x, y, w, h);
    e->setAlignment(Qt::AlignCenter);
    return e;
  };
  auto check = [this](const char* name, const char* caption, int x, int y, int w, int h) {
    auto* c = Named(new QCheckBox(QString::fromUtf8(caption), this), name);
    c->setGeometry(x, y, w, h);
    return c;
  };

  标签1 = label("标签1", "工作表序号：", 8, 48, 88, 24);
  编辑框_表序 = edit("编辑框_表序", 104, 48, 32, 24);
  编辑框_表序->setText(QStringLiteral("1"));
  编辑框_表序->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), 编辑框_表序));
  调节器_表序 = Named(new SheetSpinner(this, 编辑框_表序), "调节器_表序");
  调节器_表序->setGeometry(136, 48, 16, 24);
  connect(编辑框_表序, &QLineEdit::textChanged, this, [this] { open_.OnSheetNumberChanged(); });

  标签5 = label("标签5", "请输入计税数额：", 160, 48, 112, 24);
  编辑框_工资 = edit("编辑框_工资", 280, 48, 80, 24);
  编辑框_工资->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.-]*")), 编辑框_工资));
  编辑框_工资->installEventFilter(this);

  标签_起始列号 = label("标签_起始列号", "计税薪酬列号：", 8, 80, 88, 24);
  编辑框_工资列号 = edit("编辑框_工资列号", 104, 80, 48, 24);
  标签4 = label("标签4", "个税起征点：", 160, 80, 112, 24);
  组合框_起征点 = Named(new QComboBox(this), "组合框_起征点");
  组合框_起征点->setGeometry(280, 80, 80, 20);
  组合框_起征点->addItems({QStringLiteral("3500"), QStringLiteral("4800")});
  组合框_起征点->setEditable(false);
  标签_终止列号 = label("标签_终止列号", "个税结果列号：", 8, 112, 88, 24);
  编辑框_个税列号 = edit("编辑框_个税列号", 104, 112, 48, 24);
  for (QLineEdit* letters : {编辑框_工资列号, 编辑框_个税列号}) {
    QFont font = letters->font();
    font.setBold(true);
    font.setPixelSize(14);
    letters->setFont(font);
    letters->installEventFilter(this);
    // Typed letters become capitals, the caret staying where it was.
    connect(letters, &QLineEdit::textEdited, this, [letters](const QString& text) {
      const QString upper = text.toUpper();
      if (upper == text) return;
      const int caret = letters->cursorPosition();
      letters->setText(upper);
      letters->setCursorPosition(caret);
    });
  }

  选择框_更正否 = check("选择框_更正否", "自动更正", 160, 112, 72, 24);
  选择框_计算器 = check("选择框_计算器", "计算器", 240, 112, 56, 24);
  选择框_年终奖 = check("选择框_年终奖", "年终奖", 304, 112, 56, 24);

  图片框1 = Named(new QLabel(this), "图片框1");
  图片框1->setGeometry(376, 40, 100, 100);
  图片框1->setPixmap(QIcon(QStringLiteral(":/resources/picture.svg")).pixmap(100, 100));

  auto hidden = [&](const char* name, int x, int y) {
    QLineEdit* e = edit(name, x, y, 32, 24);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), e));
    e->setEnabled(false);
    e->hide();
    return e;
  };
  编辑框_起始行 = hidden("编辑框_起始行", 328, 0);
  编辑框_起始列 = hidden("编辑框_起始列", 360, 0);
  编辑框_表行数 = hidden("编辑框_表行数", 328, 24);
  编辑框_表列数 = hidden("编辑框_表列数", 360, 24);
}

void MainWindow::BuildResultsTable() {
  超级列表框1 = Named(new QTableView(this), "超级列表框1");
  超级列表框1->setGeometry(8, 144, 472, 160);
  超级列表框1->setModel(results_);
  超级列表框1->setSelectionBehavior(QAbstractItemView::SelectRows);
  超级列表框1->setSelectionMode(QAbstractItemView::SingleSelection);
  超级列表框1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  超级列表框1->setShowGrid(true);
  超级列表框1->setWordWrap(false);
  超级列表框1->verticalHeader()->hide();
  超级列表框1->verticalHeader()->setDefaultSectionSize(18);
  超级列表框1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  超级列表框1->horizontalHeader()->setHighlightSections(false);
  const int widths[] = {70, 80, 80, 80, 50};
  for (int c = 0; c < 5; ++c) 超级列表框1->setColumnWidth(c, widths[c]);
  // The selection stays visible while the table does not have the focus.
  QPalette palette = 超级列表框1->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  超级列表框1->setPalette(palette);
  connect(超级列表框1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            // Only the user's moves count, not the program filling the table.
            if (program_changes_rows_ || !current.isValid() || current.row() == previous.row()) return;
            超级列表框1->selectRow(current.row());
            emit resultRowFocused();
          });
  connect(this, &MainWindow::resultRowFocused, this, &MainWindow::OnResultRowFocused);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (sized_) return;
  sized_ = true;
  // The outer size is fixed: the client area is what the frame leaves.
  const QSize frame = frameGeometry().size() - geometry().size();
  setFixedSize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
  状态条1->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
  工具条1->setGeometry(0, 0, width(), 工具条1->sizeHint().height());
  OnMainWindowCreated();
  if (const QScreen* screen = this->screen()) {
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(kOuterWidth / 2, kOuterHeight / 2));
  }
}

void MainWindow::OnMainWindowCreated() {
  进度条1->setParent(状态条1);
  进度条1->setGeometry(状态条1->PaneRect(1));
  进度条1->hide();
}

void MainWindow::OnToolbarButton(int index) {
  switch (index) {
    case 1: open_.OpenChosenWorkbook(); break;
    case 2:
      if (选择框_计算器->isChecked())
        RunCalculator(*this);
      else
        VerifySheet(*this, session_);
      break;
    case 3: CorrectTickedRows(*this, session_); break;
    case 5: close(); break;
    default: break;  // the separators
  }
}

void MainWindow::OnResultRowFocused() { varnex::OnResultRowFocused(*this, session_); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == 编辑框_工资列号) 状态条1->SetPaneText(1, QStringLiteral("指计税工资所在的列号，如A、B等。"));
    if (watched == 编辑框_个税列号) 状态条1->SetPaneText(1, QStringLiteral("指个税所在的列号，如A、B等。"));
  } else if (event->type() == QEvent::FocusOut && watched == 编辑框_工资) {
    const std::string shown = NumberToText(TextToNumber(编辑框_工资->text().toStdString()));
    编辑框_工资->setText(shown == "0" ? QString() : Q(shown));
  }
  return QWidget::eventFilter(watched, event);
}

QLineEdit* MainWindow::Box(ControlId control) const {
  switch (control) {
    case ControlId::编辑框_表序: return 编辑框_表序;
    case ControlId::编辑框_工资: return 编辑框_工资;
    case ControlId::编辑框_工资列号: return 编辑框_工资列号;
    case ControlId::编辑框_个税列号: return 编辑框_个税列号;
    case ControlId::编辑框_起始行: return 编辑框_起始行;
    case ControlId::编辑框_起始列: return 编辑框_起始列;
    case ControlId::编辑框_表行数: return 编辑框_表行数;
    case ControlId::编辑框_表列数: return 编辑框_表列数;
    default: return nullptr;
  }
}

std::string MainWindow::Text(ControlId control) const {
  if (control == ControlId::组合框_起征点) return 组合框_起征点->currentText().toStdString();
  const QLineEdit* box = Box(control);
  return box ? box->text().toStdString() : std::string();
}

void MainWindow::SetText(ControlId control, std::string_view text) {
  if (QLineEdit* box = Box(control)) box->setText(Q(text));
}

bool MainWindow::IsTicked(ControlId check_box) const {
  switch (check_box) {
    case ControlId::选择框_更正否: return 选择框_更正否->isChecked();
    case ControlId::选择框_计算器: return 选择框_计算器->isChecked();
    case ControlId::选择框_年终奖: return 选择框_年终奖->isChecked();
    default: return false;
  }
}

void MainWindow::SetSheetNumberUpperLimit(std::int32_t limit) { 调节器_表序->SetUpperLimit(limit); }

void MainWindow::ClearResultRows() {
  program_changes_rows_ = true;
  results_->Clear();
  program_changes_rows_ = false;
}

int MainWindow::AppendResultRow(std::string_view column0) {
  program_changes_rows_ = true;
  const int row = results_->Append(column0);
  program_changes_rows_ = false;
  return row;
}

void MainWindow::SetResultText(int row, int column, std::string_view text) {
  results_->SetText(row, column, text);
}

std::string MainWindow::ResultText(int row, int column) const { return results_->Text(row, column); }
int MainWindow::ResultRowCount() const { return results_->rowCount(); }
bool MainWindow::IsResultRowTicked(int row) const { return results_->IsTicked(row); }

int MainWindow::SelectedResultRow() const {
  const QModelIndexList rows = 超级列表框1->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void MainWindow::SetPaneText(int pane, std::string_view text) { 状态条1->SetPaneText(pane, Q(text)); }
void MainWindow::SetPaneTooltip(int pane, std::string_view text) { 状态条1->SetPaneTooltip(pane, Q(text)); }
void MainWindow::ShowProgress(bool visible) { 进度条1->setVisible(visible); }
void MainWindow::SetProgress(int position) { 进度条1->setValue(position); }

void MainWindow::Focus(ControlId control) {
  if (QLineEdit* box = Box(control)) box->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowWaitCursor() {
  ++wait_cursors_;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainWindow::RestoreCursor() {
  if (wait_cursors_ == 0) return;
  --wait_cursors_;
  QApplication::restoreOverrideCursor();
}

void MainWindow::ShowMessage(std::string_view text, std::string_view caption) { messageBox(text, caption); }

std::optional<std::string> MainWindow::ChooseFile() { return 通用对话框1.choose(this); }

}  // namespace varnex
