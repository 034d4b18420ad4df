// The main window, offscreen: its controls, filters, hints, tool bar,
// sheet-number box and close paths.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/main_window.h"
#include "app/results_model.h"
#include "app/status_bar.h"
#include "app/tests/memory_files.h"
#include "automation/registry.h"
#include "spreadsheet/objects/application_object.h"

using namespace varnex;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  ExcelSession session_;
  testing::MemoryFiles files_;
  std::shared_ptr<spreadsheet::Application> app_;
  MainWindow* window_ = nullptr;

  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(QString::fromUtf8(name));
    if (!widget) qWarning("no control %s", name);
    return widget;
  }

 private slots:
  void init() {
    files_.books["/data/工资.xls"] = [](spreadsheet::Workbook& w) {
      spreadsheet::Sheet& first = w.AddSheet("一月");
      first.SetValue(1, 1, spreadsheet::CellValue::Text("姓名"));
      first.SetValue(25, 8, spreadsheet::CellValue::Number(1));
      w.AddSheet("二月").SetValue(3, 2, spreadsheet::CellValue::Number(1));
    };
    spreadsheet::objects::RegisterEmbeddedSpreadsheet([this](const auto& a) { app_ = a; }, &files_);
    window_ = new MainWindow(session_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }
  void cleanup() {
    delete window_;  // runs the destroying handler
    automation::Classes().Unregister(u"Excel.Application");
  }

  void windowItself() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Varnex  BY_Tolmira"));
    QCOMPARE(window_->frameGeometry().size(), QSize(492, 358));
    QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
  }

  void controlsAndPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    auto row = [](const char* name, QRect place, const char* text, bool visible = true) {
      QTest::newRow(name) << QString::fromUtf8(name) << place << QString::fromUtf8(text) << visible;
    };
    row("标签1", {8, 48, 88, 24}, "工作表序号：");
    row("编辑框_表序", {104, 48, 32, 24}, "1");
    row("标签5", {160, 48, 112, 24}, "请输入计税数额：");
    row("编辑框_工资", {280, 48, 80, 24}, "");
    row("标签_起始列号", {8, 80, 88, 24}, "计税薪酬列号：");
    row("编辑框_工资列号", {104, 80, 48, 24}, "");
    row("标签4", {160, 80, 112, 24}, "个税起征点：");
    row("标签_终止列号", {8, 112, 88, 24}, "个税结果列号：");
    row("编辑框_个税列号", {104, 112, 48, 24}, "");
    row("选择框_更正否", {160, 112, 72, 24}, "自动更正");
    row("选择框_计算器", {240, 112, 56, 24}, "计算器");
    row("选择框_年终奖", {304, 112, 56, 24}, "年终奖");
    row("图片框1", {376, 40, 100, 100}, "");
    row("超级列表框1", {8, 144, 472, 160}, "");
    row("编辑框_起始行", {328, 0, 32, 24}, "", false);
    row("编辑框_起始列", {360, 0, 32, 24}, "", false);
    row("编辑框_表行数", {328, 24, 32, 24}, "", false);
    row("编辑框_表列数", {360, 24, 32, 24}, "", false);
  }
  void controlsAndPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    QWidget* widget = window_->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), place);
    QCOMPARE(widget->isVisible(), visible);
    if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      QCOMPARE(edit->text(), text);
      QCOMPARE(edit->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
      QCOMPARE(edit->isEnabled(), visible);
    }
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      QCOMPARE(check->text(), text);
      QVERIFY(!check->isChecked());
    }
  }

  void thresholdAndLetterBoxes() {
    auto* combo = Find<QComboBox>("组合框_起征点");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("3500"));
    QCOMPARE(combo->itemText(1), QStringLiteral("4800"));
    QCOMPARE(combo->currentText(), QStringLiteral("3500"));
    QVERIFY(!combo->isEditable());
    for (const char* name : {"编辑框_工资列号", "编辑框_个税列号"}) {
      auto* box = Find<QLineEdit>(name);
      QVERIFY(box->font().bold());
      QCOMPARE(box->font().pixelSize(), 14);
      box->setFocus();
      QTest::keyClicks(box, "ab");
      QCOMPARE(box->text(), QStringLiteral("AB"));
    }
  }

  void inputFilters() {
    auto* sheet = Find<QLineEdit>("编辑框_表序");
    sheet->clear();
    QTest::keyClicks(sheet, "1a-.2");
    QCOMPARE(sheet->text(), QStringLiteral("1-2"));
    auto* amount = Find<QLineEdit>("编辑框_工资");
    amount->setFocus();
    QTest::keyClicks(amount, "12x.50");
    QCOMPARE(amount->text(), QStringLiteral("12.50"));
    // Leaving the box shows the number as the program writes it; 0 as nothing.
    Find<QLineEdit>("编辑框_工资列号")->setFocus();
    QCOMPARE(amount->text(), QStringLiteral("12.5"));
    amount->setFocus();
    amount->setText(QStringLiteral("-"));
    Find<QLineEdit>("编辑框_工资列号")->setFocus();
    QCOMPARE(amount->text(), QString());
  }

  void hintsKeepTheTooltip() {
    StatusBar* bar = Find<StatusBar>("状态条1");
    QCOMPARE(bar->pane(0)->text(), QStringLiteral("提示："));
    QCOMPARE(bar->pane(2)->text(), QStringLiteral("行数|列数"));
    QCOMPARE(bar->pane(3)->text(), QString());
    QCOMPARE(bar->PaneRect(0).width(), 45);
    QCOMPARE(bar->PaneRect(1).width(), 240);
    QCOMPARE(bar->PaneRect(2).width(), 60);
    const QString initial = QStringLiteral("列号即Excel表格中的“A、B”等");
    Find<QLineEdit>("编辑框_工资列号")->setFocus();
    QCOMPARE(bar->pane(1)->text(), QStringLiteral("指计税工资所在的列号，如A、B等。"));
    Find<QLineEdit>("编辑框_个税列号")->setFocus();
    QCOMPARE(bar->pane(1)->text(), QStringLiteral("指个税所在的列号，如A、B等。"));
    QCOMPARE(bar->PaneTooltip(1), initial);
    // The tooltip shows only while the text does not fit.
    QVERIFY(!bar->TooltipShown(1));
    window_->SetPaneText(1, std::string(200, 'x'));
    QVERIFY(bar->TooltipShown(1));
  }

  void progressBarCoversPaneOne() {
    auto* bar = Find<QProgressBar>("进度条1");
    QCOMPARE(bar->parentWidget(), static_cast<QWidget*>(Find<StatusBar>("状态条1")));
    QCOMPARE(bar->geometry(), Find<StatusBar>("状态条1")->PaneRect(1));
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
  }

  void toolBar() {
    auto* bar = Find<QToolBar>("工具条1");
    const QList<QAction*> actions = bar->actions();
    QCOMPARE(actions.size(), 6);
    QVERIFY(actions[0]->isSeparator());
    QVERIFY(actions[4]->isSeparator());
    const char* captions[] = {"打开", "计算", "更正", "关闭"};
    const char* tips[] = {"打开EXCEL文件", "批量计算个税", "更正错误项", "退出程序"};
    int k = 0;
    for (int i : {1, 2, 3, 5}) {
      QCOMPARE(actions[i]->text(), QString::fromUtf8(captions[k]));
      QCOMPARE(actions[i]->toolTip(), QString::fromUtf8(tips[k]));
      QVERIFY(!actions[i]->icon().isNull());
      ++k;
    }
    QCOMPARE(bar->iconSize(), QSize(32, 32));
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
  }

  void calculateDispatches() {
    // Calculator mode: the message, and the results table untouched.
    window_->AppendResultRow("7");
    Find<QCheckBox>("选择框_计算器")->setChecked(true);
    Find<QLineEdit>("编辑框_工资")->setText(QStringLiteral("10000"));
    window_->OnToolbarButton(2);
    QCOMPARE(Find<StatusBar>("状态条1")->pane(1)->text(), QStringLiteral("薪酬：10000,个税：745,税后：9255"));
    QCOMPARE(window_->ResultRowCount(), 1);
    // Outside it: the verification pass, which empties the table and, with
    // no letters, puts the focus into the pay column box.
    Find<QCheckBox>("选择框_计算器")->setChecked(false);
    window_->OnToolbarButton(2);
    QCOMPARE(window_->ResultRowCount(), 0);
    QVERIFY(Find<QLineEdit>("编辑框_工资列号")->hasFocus());
    window_->OnToolbarButton(0);  // separators do nothing
    window_->OnToolbarButton(4);
    QVERIFY(window_->isVisible());
  }

  void openAndSheetNumber() {
    window_->通用对话框1.choose = [](QWidget*) { return std::optional<std::string>("/data/工资.xls"); };
    window_->OnToolbarButton(1);
    StatusBar* bar = Find<StatusBar>("状态条1");
    QCOMPARE(bar->pane(3)->text(), QStringLiteral("25|8"));
    QCOMPARE(bar->pane(1)->text(), QStringLiteral("/data/工资.xls"));
    auto* sheet = Find<QLineEdit>("编辑框_表序");
    // The spinner steps within 1 and the sheet count, selecting as it goes.
    auto* up = Find<QWidget>("调节器_表序")->findChild<QToolButton*>(QStringLiteral("up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(sheet->text(), QStringLiteral("2"));
    QCOMPARE(bar->pane(3)->text(), QStringLiteral("1|1"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(sheet->text(), QStringLiteral("2"));
    sheet->clear();  // no sheet 0: the figures stay
    QCOMPARE(bar->pane(3)->text(), QStringLiteral("1|1"));
    QTest::keyClicks(sheet, "1");
    QCOMPARE(sheet->text(), QStringLiteral("1"));
    QCOMPARE(bar->pane(3)->text(), QStringLiteral("25|8"));
  }

  void cannotStartShowsTheMessage() {
    automation::Classes().Unregister(u"Excel.Application");
    std::vector<std::string> shown;
    window_->messageBox = [&](std::string_view text, std::string_view caption) {
      shown.push_back(std::string(caption) + std::string(text));
    };
    window_->OnToolbarButton(1);
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(shown[0]), QStringLiteral("信息：Excel程序创建失败，请检查是否正确安装Excel！"));
  }

  void resultRowEventsOnlyForTheUser() {
    QSignalSpy focused(window_, &MainWindow::resultRowFocused);
    for (int i = 0; i < 3; ++i) window_->AppendResultRow(std::to_string(i + 2));
    window_->SetResultText(0, 3, "745");
    window_->ClearResultRows();
    for (int i = 0; i < 3; ++i) window_->AppendResultRow(std::to_string(i + 2));
    QCOMPARE(focused.count(), 0);
    auto* table = Find<QTableView>("超级列表框1");
    table->setFocus();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 1)).center());
    QCOMPARE(focused.count(), 1);
    QCOMPARE(window_->SelectedResultRow(), 0);
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(focused.count(), 3);
    QCOMPARE(window_->SelectedResultRow(), 2);
    window_->AppendResultRow("9");
    QCOMPARE(focused.count(), 3);
  }

  void closeFromTheToolBarQuitsTheApplication() {
    window_->通用对话框1.choose = [](QWidget*) { return std::optional<std::string>("/data/工资.xls"); };
    window_->OnToolbarButton(1);
    QVERIFY(app_ && !app_->has_quit());
    QPointer<MainWindow> alive(window_);
    window_->OnToolbarButton(5);
    QTRY_VERIFY(alive.isNull());  // deleted on close
    QVERIFY(app_->has_quit());
    window_ = new MainWindow(session_);  // for cleanup
  }

  void closeFromTheTitleBarQuitsTooApplication() {
    window_->通用对话框1.choose = [](QWidget*) { return std::optional<std::string>("/data/工资.xls"); };
    window_->OnToolbarButton(1);
    QPointer<MainWindow> alive(window_);
    window_->close();
    QTRY_VERIFY(alive.isNull());
    QVERIFY(app_->has_quit());
    window_ = new MainWindow(session_);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
