#include "spreadsheet/cell_address.h"

#include <gtest/gtest.h>

namespace varnex::spreadsheet {
namespace {

TEST(CellAddress, ParsesWhatExcelAccepts) {
  struct Case {
    const char* text;
    std::optional<Area> area;
  } cases[] = {
      {"A1", Area{1, 1, 1, 1}},
      {"d7", Area{7, 4, 7, 4}},
      {"$B$7", Area{7, 2, 7, 2}},
      {"A1:C5", Area{1, 1, 5, 3}},
      {"C5:A1", Area{1, 1, 5, 3}},
      {"7:7", Area{7, 1, 7, kMaxColumns}},
      {"3:9", Area{3, 1, 9, kMaxColumns}},
      {"A:C", Area{1, 1, kMaxRows, 3}},
      {"XFD1048576", Area{kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}},
      {"F12:F12", Area{12, 6, 12, 6}},
      {"7", std::nullopt},
      {":", std::nullopt},
      {"", std::nullopt},
      {"A", std::nullopt},
      {"A0", std::nullopt},
      {"XFE1", std::nullopt},
      {"A1048577", std::nullopt},
      {"A1:7", std::nullopt},
      {"1A", std::nullopt},
      {"A1B", std::nullopt},
      {"工资", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseAddress(c.text), c.area) << c.text;
}

TEST(CellAddress, ColumnLettersRoundTrip) {
  EXPECT_EQ(ColumnNumber("A"), 1);
  EXPECT_EQ(ColumnNumber("z"), 26);
  EXPECT_EQ(ColumnNumber("AA"), 27);
  EXPECT_EQ(ColumnNumber("XFD"), 16384);
  EXPECT_EQ(ColumnNumber("XFE"), std::nullopt);
  EXPECT_EQ(ColumnNumber("A1"), std::nullopt);
  for (std::int32_t c = 1; c <= kMaxColumns; ++c) ASSERT_EQ(ColumnNumber(ColumnLetters(c)), c);
  EXPECT_EQ(FormatAddress({7, 1, 7, kMaxColumns}), "7:7");
  EXPECT_EQ(FormatAddress({12, 28, 12, 28}), "AB12");
  EXPECT_EQ(FormatAddress({1, 1, 5, 3}), "A1:C5");
}

}  // namespace
}  // namespace varnex::spreadsheet
