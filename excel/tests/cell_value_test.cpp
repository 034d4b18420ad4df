#include "excel/cell_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "automation/tests/test_object.h"

namespace varnex {
namespace {

using automation::Variant;
using automation::VariantArray;
using automation::testing::ValueObject;

TEST(CellValueToNumber, ReadsEveryKindOfValue) {
  ValueObject holds_number(Variant::Real8(745.5));
  ValueObject holds_text(Variant::Text(u" 1,234.5 "));
  ValueObject holds_word(Variant::Text(u"工资"));
  ValueObject holds_empty;
  VariantArray two_cells;
  two_cells.rows = 1;
  two_cells.columns = 2;
  two_cells.items = {Variant::Real8(1), Variant::Real8(2)};
  Variant inner = Variant::Real8(8);
  struct Case {
    Variant value;
    double number;
  } cases[] = {
      {Variant(), 0},
      {Variant::Real8(45.004), 45.004},
      {Variant::Int4(12), 12},
      {Variant::Text(u"745"), 745},
      {Variant::Text(u"  745  "), 745},
      {Variant::Text(u"12abc"), 0},  // no prefix rule here
      {Variant::Text(u"\uFF11\uFF12"), 0},  // nor full-width folding
      {Variant::Text(u""), 0},
      {Variant::Bool(true), -1},
      {Variant::Currency(455000), 45.5},
      {Variant::Date(45296), 45296},
      {Variant::Error(automation::MakeHResult(0x800A07E7)), 0},
      {Variant::Null(), 0},
      {Variant::Array(two_cells), 0},
      {Variant::Reference(&inner), 8},
      {Variant::Object(&holds_number), 745.5},
      {Variant::Object(&holds_text), 1234.5},
      {Variant::Object(&holds_word), 0},
      {Variant::Object(&holds_empty), 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CellValueToNumber(cases[i].value), cases[i].number) << "case " << i;
  EXPECT_EQ(holds_number.references, 1u);  // only the case's own: every copy was released
}

TEST(CellValueToNumber, ADoubleComesBackBitForBit) {
  for (double d : {0.1, -0.0, 5e-324, 1.7976931348623157e308, std::nan("1")}) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(CellValueToNumber(Variant::Real8(d))),
              std::bit_cast<std::uint64_t>(d));
  }
}

TEST(CellValueToText, ReadsEveryKindOfValue) {
  ValueObject holds_number(Variant::Real8(45));
  VariantArray one;
  one.rows = 1;
  one.columns = 1;
  one.items = {Variant::Text(u"x")};
  struct Case {
    Variant value;
    const char* text;
  } cases[] = {
      {Variant(), ""},
      {Variant::Text(u"工资表"), "工资表"},
      {Variant::Real8(0.1 + 0.2), "0.3"},
      {Variant::Real8(1e-5), "1E-05"},  // the platform's text, not NumberToText's
      {Variant::Real8(123456789012.34), "123456789012.34"},
      {Variant::Bool(false), "0"},
      {Variant::Error(automation::E_FAIL), ""},
      {Variant::Null(), ""},
      {Variant::Array(one), ""},
      {Variant::Object(&holds_number), "45"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CellValueToText(cases[i].value), cases[i].text) << "case " << i;
}

}  // namespace
}  // namespace varnex
