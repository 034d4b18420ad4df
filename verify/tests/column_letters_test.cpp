#include "verify/column_letters.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

TEST(ColumnLetterToNumber, ReadsRealColumnNamesOnly) {
  struct Case {
    const char* text;
    std::int32_t column;
  } cases[] = {
      {"A", 1},   {"Z", 26},  {"AA", 27},   {"XFD", 16384}, {"ab", 28}, {"Ｆ", 6},
      {"ＡＢ", 28}, {"f", 6},  {"1", 0},     {"A1", 0},      {" ", 0},   {"XFE", 0},
      {"", 0},    {" A", 0},  {"AAAA", 0},  {"工资", 0},     {"-", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ColumnLetterToNumber(c.text), c.column) << '"' << c.text << '"';
}

TEST(CellReference, UsesTheCanonicalLetters) {
  EXPECT_EQ(CellReference("F", 12), "F12");
  EXPECT_EQ(CellReference("ab", 12), "AB12");
  EXPECT_EQ(CellReference("Ｆ", 3), "F3");
  EXPECT_EQ(CellReference("", 12), "");
  EXPECT_EQ(CellReference("1", 12), "");
  EXPECT_EQ(ColumnNumberToLetters(16384), "XFD");
}

}  // namespace
}  // namespace varnex
