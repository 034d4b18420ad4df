// The embedded spreadsheet's window, offscreen, driven through the session
// as Varnex drives it and by the clerk's own hand.
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include <filesystem>

// moc does not read the Chinese enumerators of the controls interface.
#ifndef Q_MOC_RUN
#include "app/main_window.h"
#include "verify/controls.h"
#endif
#include "app/results_model.h"
#include "automation/registry.h"
#include "spreadsheet/objects/application_object.h"
#include "spreadsheet/xls/xls_files.h"
#include "spreadsheet_window/sheet_model.h"
#include "spreadsheet_window/spreadsheet_window.h"

using namespace varnex;
using spreadsheet::CellValue;
using spreadsheet::SaveChoice;
using spreadsheet_window::SpreadsheetWindow;

namespace fs = std::filesystem;

class SpreadsheetWindowTest : public QObject {
  Q_OBJECT

 private:
  ExcelSession session_;
  std::unique_ptr<SpreadsheetWindow> window_;
  fs::path folder_;

  std::string Copy(const char* fixture) {
    const fs::path to = folder_ / fixture;
    fs::copy_file(fs::path(VARNEX_FIXTURES) / fixture, to, fs::copy_options::overwrite_existing);
    return to.string();
  }
  QString Shown(int row, int column) {
    return window_->model().data(window_->model().index(row - 1, column - 1), Qt::DisplayRole).toString();
  }
  spreadsheet::Workbook& Book() { return *window_->application().active_workbook(); }

 private slots:
  void init() {
    folder_ = fs::temp_directory_path() / ("varnex-window-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    spreadsheet::objects::RegisterEmbeddedSpreadsheet(
        [this](const auto& created) { window_ = std::make_unique<SpreadsheetWindow>(created); },
        &spreadsheet::xls::XlsFiles::Instance());
    QVERIFY(session_.CreateApp());
    QVERIFY(window_);
    window_->askToSave = [](spreadsheet::Workbook&) { return SaveChoice::kDontSave; };
    QVERIFY(session_.SetVisible(true));
    QVERIFY(window_->isVisible());
    session_.OpenWorkbook(Copy("salary.xls"), "", false).Release();
  }
  void cleanup() {
    window_->askToSave = [](spreadsheet::Workbook&) { return SaveChoice::kDontSave; };
    session_.QuitApp();
    window_.reset();
    automation::Classes().Unregister(u"Excel.Application");
    fs::remove_all(folder_);
  }

  void showsTheOpenedWorkbook() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("salary.xls - Varnex 电子表格"));
    QCOMPARE(window_->tabs()->count(), 3);
    QCOMPARE(window_->tabs()->tabText(0), QStringLiteral("一月工资"));
    QCOMPARE(Shown(1, 2), QStringLiteral("应税工资"));
    QCOMPARE(Shown(3, 2), QStringLiteral("8000.01"));
    QCOMPARE(Shown(2, 4), QStringLiteral("TRUE"));
    QCOMPARE(Shown(4, 4), QStringLiteral("#DIV/0!"));
    const QVariant fill = window_->model().data(window_->model().index(2, 2), Qt::BackgroundRole);
    QCOMPARE(fill.value<QBrush>().color(), QColor(255, 255, 0));
    QCOMPARE(window_->grid()->columnSpan(6, 0), 2);  // the merged A7:B7
    QCOMPARE(window_->model().headerData(27, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("AB"));
  }

  void followsTheSessionLive() {
    QVERIFY(session_.WriteCell(1, 3, 3, "345"));
    QCOMPARE(Shown(3, 3), QStringLiteral("345"));
    QVERIFY(window_->windowTitle().contains(QStringLiteral("*")));  // unsaved
    session_.SetRangeColor("C4", 6);
    QCOMPARE(window_->model().data(window_->model().index(3, 2), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 255, 0));
    session_.SetRangeBorders("A2", "B3");
    const QVariantList borders =
        window_->model().data(window_->model().index(1, 0), spreadsheet_window::SheetModel::kBordersRole).toList();
    QCOMPARE(borders.size(), 8);
    for (int e = 0; e < 4; ++e) QCOMPARE(borders[2 * e].toInt(), 1);  // thin lines all round
    session_.SelectRange("5");
    const QModelIndexList rows = window_->grid()->selectionModel()->selectedIndexes();
    QVERIFY(!rows.isEmpty());
    QCOMPARE(rows.front().row(), 4);
    session_.SelectSheet(2);
    QCOMPARE(window_->tabs()->currentIndex(), 1);
    QCOMPARE(Shown(1, 1), QStringLiteral("1"));
    session_.CloseWorkbooks();  // unsaved: asked, and told not to save
    QCOMPARE(window_->tabs()->count(), 0);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Varnex 电子表格"));
  }

  void theClerkWorksInIt() {
    window_->tabs()->setCurrentIndex(1);
    QCOMPARE(Book().active_sheet_index(), std::size_t{1});
    window_->tabs()->setCurrentIndex(0);
    // Typing stores as a spreadsheet does, and can be undone.
    window_->model().setData(window_->model().index(2, 2), QStringLiteral("345"), Qt::EditRole);
    QCOMPARE(Book().active_sheet().Value(3, 3), CellValue::Number(345));
    QVERIFY(Book().dirty());
    window_->model().setData(window_->model().index(2, 2), QStringLiteral("三百"), Qt::EditRole);
    QCOMPARE(Book().active_sheet().Value(3, 3), CellValue::Text("三百"));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->grid()->setFocus();
    QTest::keyClick(window_->grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Book().active_sheet().Value(3, 3), CellValue::Number(345));
    window_->model().undo().undo();
    QCOMPARE(Book().active_sheet().Value(3, 3), CellValue::Number(300));
    // Ctrl+S saves over the file; this one kept everything it had but the
    // cross-sheet formula, so it asks first: here, save anyway.
    window_->model().setData(window_->model().index(2, 2), QStringLiteral("345"), Qt::EditRole);
    int asked = 0;
    window_->askAboutLoss = [&](spreadsheet::Workbook&) {
      ++asked;
      return 1;
    };
    QTest::keyClick(window_->grid(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked, 1);
    QVERIFY(!Book().dirty());
    spreadsheet::Workbook reread(nullptr, "x");
    std::string error;
    QVERIFY(spreadsheet::xls::XlsFiles().Read((folder_ / "salary.xls").string(), reread, &error));
    QCOMPARE(reread.sheet(0)->Value(3, 3), CellValue::Number(345));
  }

  void lossOffersSaveAs() {
    QVERIFY(session_.WriteCell(1, 2, 2, "9999"));
    const std::string original = (folder_ / "salary.xls").string();
    const auto before = fs::file_size(original);
    window_->askAboutLoss = [](spreadsheet::Workbook&) { return 0; };
    window_->chooseSavePath = [this](const QString&) { return std::optional((folder_ / "copy.xls").string()); };
    QVERIFY(!window_->SaveShown() || !Book().dirty());
    QCOMPARE(fs::file_size(original), before);
    QVERIFY(fs::exists(folder_ / "copy.xls"));
    QCOMPARE(QString::fromStdString(Book().name()), QStringLiteral("copy.xls"));
  }

  void promptsLoseNothing_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("how");  // 0 Workbooks.Close, 1 Quit, 2 closing the window
    for (int how = 0; how < 3; ++how)
      for (int answer = 0; answer < 3; ++answer)
        QTest::newRow(qPrintable(QStringLiteral("answer %1 by %2").arg(answer).arg(how))) << answer << how;
  }
  void promptsLoseNothing() {
    QFETCH(int, answer);
    QFETCH(int, how);
    const auto choice = static_cast<SaveChoice>(answer);
    QVERIFY(session_.WriteCell(1, 2, 2, "8888"));
    int asked = 0;
    window_->askToSave = [&](spreadsheet::Workbook&) {
      ++asked;
      return choice;
    };
    window_->askAboutLoss = [](spreadsheet::Workbook&) { return 1; };
    if (how == 0) session_.CloseWorkbooks();
    if (how == 1) session_.QuitApp();
    if (how == 2) window_->close();
    QCOMPARE(asked, 1);
    spreadsheet::Workbook reread(nullptr, "x");
    std::string error;
    QVERIFY(spreadsheet::xls::XlsFiles().Read((folder_ / "salary.xls").string(), reread, &error));
    const bool saved = reread.sheet(0)->Value(2, 2) == CellValue::Number(8888);
    QCOMPARE(saved, choice == SaveChoice::kSave);
    const bool open = !window_->application().workbooks().empty();
    QCOMPARE(open, choice == SaveChoice::kCancel);
    if (open) QCOMPARE(Book().active_sheet().Value(2, 2), CellValue::Number(8888));  // nothing lost
    if (how == 1) QVERIFY(session_.CreateApp());  // for cleanup
  }

  // Both windows after a verification run with yellow cells, as pictures.
  void screenshots() {
    const QByteArray out = qgetenv("VARNEX_SCREENSHOTS");
    session_.CloseWorkbooks();
    session_.OpenWorkbook(Copy("wrong-taxes.xls"), "", false).Release();
    MainWindow main(session_);
    main.show();
    main.通用对话框1.choose = [this](QWidget*) { return std::optional((folder_ / "wrong-taxes.xls").string()); };
    main.openCommand().excelStarted = true;
    main.OnToolbarButton(1);
    main.SetText(ControlId::编辑框_工资列号, "B");
    main.SetText(ControlId::编辑框_个税列号, "C");
    main.OnToolbarButton(2);
    QCOMPARE(main.ResultRowCount(), 4);
    auto* table = main.findChild<QTableView*>(QStringLiteral("超级列表框1"));
    table->setFocus();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 1)).center());
    const auto& sheet = Book().active_sheet();
    QCOMPARE(sheet.selection().first_row, 4);
    // The arrow keys walk the listed rows, selecting each worksheet row in turn.
    for (int expected : {7, 11, 14}) {
      QTest::keyClick(table, Qt::Key_Down);
      QCOMPARE(sheet.selection().first_row, expected);
      QCOMPARE(sheet.selection().last_column, spreadsheet::kMaxColumns);
    }
    for (int row : {4, 7, 11, 14}) QCOMPARE(Book().Format(sheet.FormatIndex(row, 3)).fill_index, 6);
    if (!out.isEmpty()) {
      window_->resize(760, 420);
      window_->grab().save(QString::fromUtf8(out) + QStringLiteral("/spreadsheet-window.png"));
      main.grab().save(QString::fromUtf8(out) + QStringLiteral("/main-window.png"));
    }
    window_->askToSave = [](spreadsheet::Workbook&) { return SaveChoice::kDontSave; };
  }
};

QTEST_MAIN(SpreadsheetWindowTest)
#include "spreadsheet_window_test.moc"
