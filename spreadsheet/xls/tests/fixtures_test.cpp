// Files written by a real spreadsheet program (LibreOffice), and files we
// write read back by it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "spreadsheet/xls/bytes.h"
#include "spreadsheet/xls/compound_file.h"
#include "spreadsheet/xls/records.h"
#include "spreadsheet/xls/xls_files.h"

namespace varnex::spreadsheet::xls {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const char* name) { return std::string(VARNEX_FIXTURES) + "/" + name; }

TEST(LibreOfficeFixtures, SalaryWorkbook) {
  Workbook w(nullptr, "x");
  std::string error;
  ASSERT_TRUE(XlsFiles().Read(Fixture("salary.xls"), w, &error)) << error;
  ASSERT_EQ(w.sheet_count(), 3u);
  EXPECT_EQ(w.sheet(0)->name(), "一月工资");
  EXPECT_EQ(w.sheet(1)->name(), "二月");
  EXPECT_EQ(w.sheet(2)->name(), "空表");
  const Sheet& s = *w.sheet(0);
  EXPECT_EQ(s.Value(1, 2), CellValue::Text("应税工资"));
  EXPECT_TRUE(w.Format(s.FormatIndex(1, 2)).font.bold);
  EXPECT_EQ(s.Value(2, 2), CellValue::Number(10000));  // an RK integer
  EXPECT_EQ(s.Value(3, 2), CellValue::Number(8000.01));  // a NUMBER
  EXPECT_EQ(s.Value(4, 3), CellValue::Number(1214.13));
  EXPECT_EQ(s.Value(6, 3), CellValue::Number(123456789));
  EXPECT_EQ(s.Value(6, 2), CellValue::Number(-200));
  EXPECT_EQ(s.Value(2, 4), CellValue::Boolean(true));
  EXPECT_EQ(s.Value(3, 4), CellValue::Boolean(false));
  EXPECT_EQ(s.Value(4, 4), CellValue::Error(kErrorDivZero));
  EXPECT_EQ(w.Format(s.FormatIndex(3, 3)).fill_index, 6);  // yellow
  EXPECT_EQ(w.Format(s.FormatIndex(2, 3)).fill_index, kColorIndexNone);
  EXPECT_EQ(s.merged(), (std::vector<Area>{{7, 1, 7, 2}}));
  EXPECT_GT(s.ColumnWidth(1), s.ColumnWidth(2));
  ASSERT_NE(s.Formula(5, 4), nullptr);
  EXPECT_EQ(*s.Formula(5, 4), "=B5*2");
  EXPECT_EQ(*s.Formula(7, 3), "=SUM(C2:C6)");
  EXPECT_EQ(*s.Formula(7, 4), "=ROUND(C7,0)");
  EXPECT_NE(s.FormulaRecord(7, 3), nullptr);
  // Formulas LibreOffice shares over a block are each the cell's own.
  const Sheet& february = *w.sheet(1);
  EXPECT_EQ(*february.Formula(3, 2), "=B2*10");
  EXPECT_EQ(february.Value(5, 3), CellValue::Number(30000));
  // The formula reaching into another sheet keeps its value and is reported.
  EXPECT_EQ(february.Formula(6, 1), nullptr);
  EXPECT_EQ(february.Value(6, 1), CellValue::Number(10000));
  EXPECT_EQ(w.lost_content().size(), 1u);
  EXPECT_EQ(w.sheet(2)->UsedArea(), (Area{}));
}

// A BIFF5 workbook ("Book" stream) in the GBK code page. No program at
// hand still writes BIFF5, so it is built here and LibreOffice confirms it.
std::string Biff5Workbook() {
  auto record = [](std::string& out, std::uint16_t type, const std::string& data) {
    Put16(out, type);
    Put16(out, static_cast<std::uint32_t>(data.size()));
    out += data;
  };
  auto bof = [&](std::string& out, std::uint16_t kind) {
    std::string d;
    Put16(d, 0x0500);
    Put16(d, kind);
    Put16(d, 0x0DBB);
    Put16(d, 0x07CC);
    record(out, kBof, d);
  };
  const std::string gongzi = "\xB9\xA4\xD7\xCA";          // 工资
  const std::string zhangsan = "\xD5\xC5\xC8\xFD";        // 张三
  const std::string yiyue = "\xD2\xBB\xD4\xC2";           // 一月
  std::string globals;
  bof(globals, 0x0005);
  std::string cp;
  Put16(cp, 936);
  record(globals, kCodePage, cp);
  for (int i = 0; i < 5; ++i) {
    std::string font;
    for (std::uint32_t v : {200u, 0u, 0x7FFFu, i == 1 ? 700u : 400u, 0u}) Put16(font, v);
    font += std::string("\0\0\x86\0", 4);
    font.push_back(static_cast<char>(4));
    font += "\xCB\xCE\xCC\xE5";  // 宋体
    record(globals, kFont, font);
  }
  for (int i = 0; i < 17; ++i) {
    std::string xf;
    Put16(xf, i == 16 ? 1 : 0);  // XF 16: the bold font
    Put16(xf, 0);
    Put16(xf, i < 15 ? 0xFFF5 : 0x0001);
    xf += std::string("\x20\0", 2);
    Put32(xf, i == 16 ? (6u + 7u) | (1u << 16) : 64u);  // XF 16 also filled yellow
    Put32(xf, 0);
    record(globals, kXf, xf);
  }
  const std::size_t position_at = globals.size() + 4;
  std::string sheet_entry;
  Put32(sheet_entry, 0);
  sheet_entry += std::string("\0\0", 2);
  sheet_entry.push_back(static_cast<char>(yiyue.size()));
  sheet_entry += yiyue;
  record(globals, kBoundSheet, sheet_entry);
  record(globals, kEof, {});
  std::string stream = globals;
  const std::uint32_t at = static_cast<std::uint32_t>(stream.size());
  for (int b = 0; b < 4; ++b) stream[position_at + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
  bof(stream, 0x0010);
  auto label = [&](int row, int col, int xf, const std::string& text) {
    std::string d;
    Put16(d, row);
    Put16(d, col);
    Put16(d, xf);
    Put16(d, static_cast<std::uint32_t>(text.size()));
    record(stream, kLabel, d + text);
  };
  label(0, 0, 16, gongzi);
  label(1, 0, 15, zhangsan);
  std::string number;
  Put16(number, 1);
  Put16(number, 1);
  Put16(number, 15);
  PutF64(number, 10000.5);
  record(stream, kNumber, number);
  std::string rk;
  Put16(rk, 1);
  Put16(rk, 2);
  Put16(rk, 15);
  Put32(rk, (745u << 2) | 2u);
  record(stream, kRk, rk);
  record(stream, kEof, {});
  return stream;
}

class TempFolder {
 public:
  TempFolder() : path_(fs::temp_directory_path() / ("varnex-lo-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

TEST(Biff5, ReadsTextInItsCodePage) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(WriteCompoundFile(folder.File("book5.xls"), Biff5Workbook(), &error, "Book")) << error;
  Workbook w(nullptr, "x");
  ASSERT_TRUE(XlsFiles().Read(folder.File("book5.xls"), w, &error)) << error;
  ASSERT_EQ(w.sheet_count(), 1u);
  EXPECT_EQ(w.sheet(0)->name(), "一月");
  EXPECT_EQ(w.sheet(0)->Value(1, 1), CellValue::Text("工资"));
  EXPECT_EQ(w.sheet(0)->Value(2, 1), CellValue::Text("张三"));
  EXPECT_EQ(w.sheet(0)->Value(2, 2), CellValue::Number(10000.5));
  EXPECT_EQ(w.sheet(0)->Value(2, 3), CellValue::Number(745));
  EXPECT_TRUE(w.Format(w.sheet(0)->FormatIndex(1, 1)).font.bold);
  EXPECT_EQ(w.Format(w.sheet(0)->FormatIndex(1, 1)).fill_index, 6);
}

bool HaveLibreOffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Every sheet of a file as LibreOffice reads it, one CSV text per sheet.
std::vector<std::string> LibreOfficeCsv(const TempFolder& folder, const std::string& file) {
  const std::string profile = folder.File("profile");
  const std::string command = "cd '" + folder.File("") + "' && soffice -env:UserInstallation=file://" + profile +
                              " --headless --norestore --convert-to "
                              "'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' '" +
                              file + "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  std::vector<std::string> sheets;
  const std::string stem = fs::path(file).stem().string();
  for (int i = 0; i < 10; ++i) {
    std::vector<fs::path> matches;
    for (const auto& entry : fs::directory_iterator(folder.File("")))
      if (entry.path().extension() == ".csv") matches.push_back(entry.path());
    std::sort(matches.begin(), matches.end());
    for (const fs::path& p : matches) {
      std::ifstream in(p);
      std::stringstream text;
      text << in.rdbuf();
      sheets.push_back(text.str());
    }
    break;
  }
  return sheets;
}

TEST(LibreOfficeInterop, ReadsWhatWeWrite) {
  if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice is not installed";
  TempFolder folder;
  Workbook w(nullptr, "x");
  Sheet& s = w.AddSheet("工资表");
  s.SetValue(1, 1, CellValue::Text("姓名"));
  s.SetValue(1, 2, CellValue::Text("个税"));
  s.SetValue(2, 1, CellValue::Text("张三"));
  s.SetValue(2, 2, CellValue::Number(745.5));
  s.SetValue(3, 1, CellValue::Text("长" + std::string(300, 'x')));
  s.SetValue(3, 2, CellValue::Number(-12345678));
  s.SetValue(4, 1, CellValue::Boolean(true));
  s.SetValue(4, 2, CellValue::Number(0.1 + 0.2));
  std::string error;
  ASSERT_TRUE(XlsFiles().Write(w, folder.File("ours.xls"), &error)) << error;
  const auto sheets = LibreOfficeCsv(folder, folder.File("ours.xls"));
  ASSERT_EQ(sheets.size(), 1u);
  // LibreOffice shows a true cell of the General format as 1.
  const std::string expected = "姓名,个税\n张三,745.5\n长" + std::string(300, 'x') + ",-12345678\n1,0.3\n";
  EXPECT_EQ(sheets[0], expected);
}

TEST(LibreOfficeInterop, ReadsTheBiff5WorkbookAsWeDo) {
  if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice is not installed";
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(WriteCompoundFile(folder.File("book5.xls"), Biff5Workbook(), &error, "Book")) << error;
  const auto sheets = LibreOfficeCsv(folder, folder.File("book5.xls"));
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0], "工资,,\n张三,10000.5,745\n");
}

}  // namespace
}  // namespace varnex::spreadsheet::xls
