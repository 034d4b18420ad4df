#include <gtest/gtest.h>

#include <random>

#include "spreadsheet/xls/biff_reader.h"
#include "spreadsheet/xls/biff_writer.h"
#include "spreadsheet/xls/bytes.h"
#include "spreadsheet/xls/records.h"
#include "spreadsheet/xls/xls_files.h"

namespace varnex::spreadsheet::xls {
namespace {

std::string GoodStream() {
  Workbook w(nullptr, "a");
  Sheet& s = w.AddSheet("工资表");
  for (int r = 1; r <= 50; ++r) {
    s.SetValue(r, 1, CellValue::Text("职工" + std::to_string(r)));
    s.SetValue(r, 2, CellValue::Number(r * 100.5));
  }
  w.AddSheet("二月").SetValue(1, 1, CellValue::Boolean(true));
  std::string stream, error;
  EXPECT_TRUE(WriteWorkbook(w, &stream, &error)) << error;
  return stream;
}

bool ReadStream(const std::string& stream, std::string* error, bool biff5 = false) {
  Workbook into(nullptr, "x");
  CompoundContents contents;
  contents.workbook = stream;
  contents.biff5_book = biff5;
  return ReadWorkbook(contents, into, error);
}

std::string Record(std::uint16_t type, const std::string& data) {
  std::string out;
  Put16(out, type);
  Put16(out, static_cast<std::uint32_t>(data.size()));
  return out + data;
}

// Offsets of the records of a stream, by type.
std::vector<std::size_t> Find(const std::string& stream, std::uint16_t type) {
  std::vector<std::size_t> at;
  for (std::size_t pos = 0; pos + 4 <= stream.size();) {
    const auto* p = reinterpret_cast<const unsigned char*>(stream.data() + pos);
    if (U16(p) == type) at.push_back(pos);
    pos += 4 + U16(p + 2);
  }
  return at;
}

TEST(HostileInput, BrokenStreamsFailCleanly) {
  const std::string good = GoodStream();
  ASSERT_TRUE([&] {
    std::string e;
    return ReadStream(good, &e);
  }());
  struct Case {
    const char* what;
    std::string stream;
  };
  std::vector<Case> cases = {
      {"empty", ""},
      {"not a record", "\x01\x02"},
      {"no BOF first", Record(kNumber, std::string(14, '\0')) + good},
      {"unknown version", Record(kBof, std::string("\x00\x07\x05\x00", 4) + std::string(12, '\0'))},
      {"globals without EOF", good.substr(0, Find(good, kBoundSheet).front())},
  };
  std::string encrypted = good;
  encrypted.insert(Find(good, kCodePage).front(), Record(kFilePass, std::string(54, '\0')));
  cases.push_back({"encrypted", encrypted});
  std::string nowhere = good;  // every sheet points past the end
  for (std::size_t at : Find(good, kBoundSheet)) nowhere.replace(at + 4, 4, "\xFF\xFF\xFF\x7F");
  cases.push_back({"sheets beyond the end", nowhere});
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadStream(c.stream, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(HostileInput, DamageInsideSurvivesAndIsReported) {
  const std::string good = GoodStream();
  // Cut anywhere after the globals: what was read stays, the rest is named.
  for (std::size_t cut = Find(good, kEof).front() + 4; cut < good.size(); cut += 97) {
    Workbook into(nullptr, "x");
    CompoundContents contents;
    contents.workbook = good.substr(0, cut);
    std::string error;
    const bool ok = ReadWorkbook(contents, into, &error);
    if (ok) {
      EXPECT_GE(into.sheet_count(), 1u);
    }
  }
  // A huge string count, and records claiming more than they hold.
  std::string sst = good;
  const std::size_t at = Find(good, kSst).front();
  sst.replace(at + 8, 4, "\xFF\xFF\xFF\x7F");
  std::string error;
  EXPECT_TRUE(ReadStream(sst, &error)) << error;
  std::string lengths = good;
  for (std::size_t pos : Find(good, kLabelSst)) lengths[pos + 2] = 2;  // LABELSST of 2 bytes
  EXPECT_TRUE(ReadStream(lengths, &error)) << error;
}

TEST(HostileInput, RandomBytesNeverCrash) {
  std::mt19937 random(2026);
  const std::string good = GoodStream();
  for (int round = 0; round < 300; ++round) {
    std::string damaged = good;
    const int flips = 1 + round % 20;
    for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<char>(random());
    std::string error;
    ReadStream(damaged, &error);
    ReadStream(damaged, &error, true);
  }
}

TEST(HostileInput, NotACompoundFile) {
  for (const std::string& bytes : {std::string(), std::string("PK\x03\x04 zip", 8), std::string(4096, '\xD0'),
                                  std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0')}) {
    Workbook into(nullptr, "x");
    std::string error;
    EXPECT_FALSE(ReadXlsBytes(bytes, into, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace varnex::spreadsheet::xls
