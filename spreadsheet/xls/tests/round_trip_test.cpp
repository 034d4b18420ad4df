#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "spreadsheet/application.h"
#include "spreadsheet/xls/biff_reader.h"
#include "spreadsheet/xls/biff_writer.h"
#include "spreadsheet/xls/xls_files.h"

namespace varnex::spreadsheet::xls {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("varnex-xls-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(path_);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A workbook with every kind of value and format the writer keeps.
void Fill(Workbook& w) {
  Sheet& s = w.AddSheet("工资表");
  s.SetValue(1, 1, CellValue::Text("姓名"));
  s.SetValue(1, 2, CellValue::Text("应发工资"));
  s.SetValue(2, 1, CellValue::Text("张三"));
  s.SetValue(2, 2, CellValue::Number(10000));
  s.SetValue(2, 3, CellValue::Number(745.5));
  s.SetValue(3, 2, CellValue::Number(-12345.678));
  s.SetValue(3, 3, CellValue::Number(1e-300));
  s.SetValue(4, 1, CellValue::Boolean(true));
  s.SetValue(4, 2, CellValue::Error(kErrorDivZero));
  s.SetValue(4, 3, CellValue::Date(45296.5));
  s.SetValue(5, 1, CellValue::Text(std::string(10000, 'x') + "尾"));  // split over CONTINUE records
  s.SetValue(300, 200, CellValue::Number(536870912));  // too large for an RK integer
  CellFormat yellow;
  yellow.fill_index = 6;
  yellow.font.name = "黑体";
  yellow.font.size = 14;
  yellow.font.bold = true;
  yellow.font.color = 0xFF0000;
  yellow.horizontal_alignment = kAlignCenter;
  yellow.borders[kBottom].line_style = kLineStyleContinuous;
  yellow.number_format = "0.00";
  s.SetFormatIndex(2, 3, w.Intern(yellow));
  CellFormat date;
  date.number_format = "yyyy/m/d";
  s.SetFormatIndex(4, 3, w.Intern(date));
  CellFormat custom;
  custom.number_format = "#,##0.000\"元\"";
  s.SetFormatIndex(3, 2, w.Intern(custom));
  s.SetFormatIndex(6, 6, w.Intern(yellow));  // a formatted empty cell
  s.Merge({10, 1, 10, 3});
  s.SetColumnWidth(2, 15.5);
  s.SetRowHeight(2, 30);
  Sheet& second = w.AddSheet("二月");
  for (int r = 1; r <= 2000; ++r) second.SetValue(r, 1, CellValue::Text("职工" + std::to_string(r % 300)));
  w.AddSheet("空表");
  w.ActivateSheet(1);
}

void ExpectSame(const Workbook& a, const Workbook& b) {
  ASSERT_EQ(a.sheet_count(), b.sheet_count());
  EXPECT_EQ(a.active_sheet_index(), b.active_sheet_index());
  for (std::size_t i = 0; i < a.sheet_count(); ++i) {
    const Sheet& x = *a.sheet(i);
    const Sheet& y = *b.sheet(i);
    EXPECT_EQ(x.name(), y.name());
    EXPECT_EQ(x.UsedArea(), y.UsedArea()) << x.name();
    x.ForEachCell([&](std::int32_t r, std::int32_t c, const CellValue& v, std::uint16_t f) {
      EXPECT_EQ(y.Value(r, c), v) << x.name() << " R" << r << "C" << c;
      EXPECT_EQ(b.Format(y.FormatIndex(r, c)), a.Format(f)) << x.name() << " R" << r << "C" << c;
    });
    EXPECT_EQ(x.StoredCellCount(), y.StoredCellCount());
    EXPECT_EQ(x.merged(), y.merged());
    EXPECT_EQ(x.column_widths(), y.column_widths());
    EXPECT_EQ(x.row_heights(), y.row_heights());
  }
}

TEST(XlsRoundTrip, KeepsValuesFormatsAndLayout) {
  TempFolder folder;
  Workbook original(nullptr, "a");
  Fill(original);
  std::string error;
  ASSERT_TRUE(XlsFiles().Write(original, folder.File("a.xls"), &error)) << error;
  Workbook read(nullptr, "b");
  ASSERT_TRUE(XlsFiles().Read(folder.File("a.xls"), read, &error)) << error;
  ExpectSame(original, read);
  EXPECT_TRUE(read.lost_content().empty());
  // And again from what was read: the second file is the same.
  ASSERT_TRUE(XlsFiles().Write(read, folder.File("b.xls"), &error)) << error;
  Workbook again(nullptr, "c");
  ASSERT_TRUE(XlsFiles().Read(folder.File("b.xls"), again, &error)) << error;
  ExpectSame(original, again);
}

TEST(XlsRoundTrip, RefusesWhatTheFormatCannotHold) {
  std::string stream, error;
  Workbook wide(nullptr, "w");
  wide.AddSheet("S").SetValue(1, 257, CellValue::Number(1));
  EXPECT_FALSE(WriteWorkbook(wide, &stream, &error));
  EXPECT_FALSE(error.empty());
  Workbook tall(nullptr, "t");
  tall.AddSheet("S").SetValue(65537, 1, CellValue::Number(1));
  EXPECT_FALSE(WriteWorkbook(tall, &stream, &error));
  Workbook commented(nullptr, "c");
  commented.AddSheet("S").SetComment(1, 1, "备注");
  EXPECT_FALSE(WriteWorkbook(commented, &stream, &error));
}

TEST(XlsSave, AFailedSaveLeavesTheOriginalByteForByte) {
  TempFolder folder;
  Workbook book(nullptr, "a");
  Fill(book);
  const std::string path = folder.File("工资.xls");
  std::string error;
  ASSERT_TRUE(XlsFiles().Write(book, path, &error)) << error;
  const std::string before = Bytes(path);

  book.sheet(0)->SetValue(2, 2, CellValue::Number(1));
  ::chmod(folder.path().c_str(), 0500);  // the folder can no longer be written
  if (::access(folder.path().c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore permissions";
  EXPECT_FALSE(XlsFiles().Write(book, path, &error));
  EXPECT_FALSE(error.empty());
  ::chmod(folder.path().c_str(), 0700);
  EXPECT_EQ(Bytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(XlsSave, EveryStepThatFailsLeavesTheOriginal) {
  TempFolder folder;
  Workbook book(nullptr, "a");
  Fill(book);
  const std::string path = folder.File("a.xls");
  std::string error;
  ASSERT_TRUE(XlsFiles().Write(book, path, &error)) << error;
  const std::string before = Bytes(path);
  book.sheet(0)->SetValue(2, 2, CellValue::Number(1));
  for (auto at : {XlsFiles::FailAt::kWriting, XlsFiles::FailAt::kFlushing, XlsFiles::FailAt::kRenaming}) {
    XlsFiles files;
    files.fail_at = at;
    EXPECT_FALSE(files.Write(book, path, &error));
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
}

TEST(XlsSave, AWorkbookThatCannotBeWrittenLeavesTheOriginal) {
  TempFolder folder;
  Workbook book(nullptr, "a");
  Fill(book);
  const std::string path = folder.File("a.xls");
  std::string error;
  ASSERT_TRUE(XlsFiles().Write(book, path, &error)) << error;
  const std::string before = Bytes(path);
  book.sheet(0)->SetComment(1, 1, "x");
  EXPECT_FALSE(XlsFiles().Write(book, path, &error));
  EXPECT_EQ(Bytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// Saving over a file whose reader left content behind needs the user's word.
TEST(XlsSave, SavingOverLossyContentNeedsConsent) {
  TempFolder folder;
  Application app;
  app.files = &XlsFiles::Instance();
  auto book = app.AddWorkbook();
  book->active_sheet().SetValue(1, 1, CellValue::Number(1));
  std::string error;
  ASSERT_TRUE(app.SaveAs(*book, folder.File("a.xls"), &error)) << error;
  book->lost_content().push_back("图表");
  const std::string before = Bytes(folder.File("a.xls"));
  book->active_sheet().SetValue(1, 1, CellValue::Number(2));
  EXPECT_FALSE(app.Save(*book, &error));
  EXPECT_EQ(Bytes(folder.File("a.xls")), before);
  EXPECT_TRUE(app.SaveAs(*book, folder.File("b.xls"), &error)) << error;  // another path always writes
  EXPECT_TRUE(book->lost_content().empty());
}

}  // namespace
}  // namespace varnex::spreadsheet::xls
