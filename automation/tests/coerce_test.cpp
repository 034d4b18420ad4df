#include "automation/coerce.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "automation/tests/test_object.h"
#include "automation/utf16.h"

namespace varnex::automation {
namespace {

HResult ToReal(const Variant& v, double* out) {
  Variant r;
  const HResult hr = VariantChangeType(&r, v, 0, VT_R8);
  if (Succeeded(hr)) {
    EXPECT_EQ(r.type(), VT_R8);
    *out = r.r8();
  }
  return hr;
}

std::string ToText(const Variant& v, HResult* status) {
  Variant t;
  *status = VariantChangeType(&t, v, 0, VT_BSTR);
  return Succeeded(*status) ? Utf16ToUtf8(t.text()) : "<failed>";
}

struct ParseCase {
  const char16_t* text;
  HResult status;
  double value;
};

// Text to number follows the platform's parsing under the Simplified
// Chinese locale; it is not the prefix rule of the tax code.
TEST(Coerce, TextToRealUnderTheChineseLocale) {
  const ParseCase cases[] = {
      {u"745", S_OK, 745},
      {u"  12.5  ", S_OK, 12.5},
      {u"-3.15", S_OK, -3.15},
      {u"+5", S_OK, 5},
      {u"5-", S_OK, -5},
      {u"5+", S_OK, 5},
      {u"(45)", S_OK, -45},
      {u"( 45 )", S_OK, -45},
      {u"1,234.5", S_OK, 1234.5},
      {u"1,234,567", S_OK, 1234567},
      {u".5", S_OK, 0.5},
      {u"5.", S_OK, 5},
      {u"1e3", S_OK, 1000},
      {u"1.5E-2", S_OK, 0.015},
      {u"\u00A5100", S_OK, 100},
      {u"-\u00A5100", S_OK, -100},
      {u"\u00A5-100", S_OK, -100},
      {u"100\u00A5", S_OK, 100},
      {u"&H1A", S_OK, 26},
      {u"&hff", S_OK, 255},
      {u"&HFFFF", S_OK, -1},
      {u"&H10000", S_OK, 65536},
      {u"&O17", S_OK, 15},
      {u"0.1", S_OK, 0.1},
      {u"", DISP_E_TYPEMISMATCH, 0},
      {u"   ", DISP_E_TYPEMISMATCH, 0},
      {u"abc", DISP_E_TYPEMISMATCH, 0},
      {u"12abc", DISP_E_TYPEMISMATCH, 0},
      {u"1e", DISP_E_TYPEMISMATCH, 0},
      {u"1d3", DISP_E_TYPEMISMATCH, 0},
      {u".", DISP_E_TYPEMISMATCH, 0},
      {u"-", DISP_E_TYPEMISMATCH, 0},
      {u"(45", DISP_E_TYPEMISMATCH, 0},
      {u"-(45)", DISP_E_TYPEMISMATCH, 0},
      {u"--5", DISP_E_TYPEMISMATCH, 0},
      {u"1.2.3", DISP_E_TYPEMISMATCH, 0},
      {u",5", DISP_E_TYPEMISMATCH, 0},
      {u"$100", DISP_E_TYPEMISMATCH, 0},
      {u"\uFFE5100", DISP_E_TYPEMISMATCH, 0},  // the full-width yen is not the locale's sign
      {u"\uFF11\uFF12", DISP_E_TYPEMISMATCH, 0},  // full-width digits
      {u"&H", DISP_E_TYPEMISMATCH, 0},
      {u"&HG", DISP_E_TYPEMISMATCH, 0},
      {u"&O8", DISP_E_TYPEMISMATCH, 0},
      {u"&H123456789", DISP_E_OVERFLOW, 0},
      {u"1e999", DISP_E_OVERFLOW, 0},
      {u"50%", DISP_E_TYPEMISMATCH, 0},
  };
  for (const auto& c : cases) {
    double value = -99;
    const HResult hr = ToReal(Variant::Text(c.text), &value);
    EXPECT_EQ(hr, c.status) << Utf16ToUtf8(c.text);
    if (Succeeded(c.status)) {
      EXPECT_EQ(value, c.value) << Utf16ToUtf8(c.text);
    }
  }
}

TEST(Coerce, OtherTypesToReal) {
  testing::ValueObject holds_number(Variant::Real8(745.5));
  testing::ValueObject holds_text(Variant::Text(u"1,000"));
  testing::ValueObject holds_error(Variant::Error(MakeHResult(0x800A07FA)));
  Variant inner = Variant::Int4(9);
  struct Case {
    Variant value;
    HResult status;
    double result;
  } cases[] = {
      {Variant(), S_OK, 0},
      {Variant::Null(), DISP_E_TYPEMISMATCH, 0},
      {Variant::Int2(-7), S_OK, -7},
      {Variant::Int4(123456), S_OK, 123456},
      {Variant::Real4(0.5f), S_OK, 0.5},
      {Variant::Real8(0.1), S_OK, 0.1},
      {Variant::Currency(123456), S_OK, 12.3456},
      {Variant::Date(45000.25), S_OK, 45000.25},
      {Variant::Bool(true), S_OK, -1},
      {Variant::Bool(false), S_OK, 0},
      {Variant::Error(MakeHResult(0x800A07E7)), DISP_E_TYPEMISMATCH, 0},
      {Variant::Array({}), DISP_E_TYPEMISMATCH, 0},
      {Variant::Reference(&inner), S_OK, 9},
      {Variant::Object(&holds_number), S_OK, 745.5},
      {Variant::Object(&holds_text), S_OK, 1000},
      {Variant::Object(&holds_error), DISP_E_TYPEMISMATCH, 0},
      {Variant::Object(nullptr), DISP_E_TYPEMISMATCH, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    double value = -99;
    EXPECT_EQ(ToReal(cases[i].value, &value), cases[i].status) << "case " << i;
    if (Succeeded(cases[i].status)) {
      EXPECT_EQ(value, cases[i].result) << "case " << i;
    }
  }
  EXPECT_EQ(holds_number.reads, 1);
}

TEST(Coerce, ToTextAsTheplatformWritesIt) {
  testing::ValueObject holds(Variant::Int4(42));
  struct Case {
    Variant value;
    const char* text;
  } cases[] = {
      {Variant(), ""},
      {Variant::Int2(-5), "-5"},
      {Variant::Int4(745), "745"},
      {Variant::Real8(745), "745"},
      {Variant::Real8(0.1 + 0.2), "0.3"},
      {Variant::Real8(1234.5), "1234.5"},
      {Variant::Real8(123456789012345678.0), "1.23456789012346E+17"},
      {Variant::Real8(0.00001), "1E-05"},
      {Variant::Real8(0.0001), "0.0001"},
      {Variant::Real8(-2.5), "-2.5"},
      {Variant::Real8(999999999999999.0), "999999999999999"},
      {Variant::Real4(0.1f), "0.1"},
      {Variant::Currency(123450), "12.345"},
      {Variant::Currency(-50000), "-5"},
      {Variant::Date(45296), "2024/1/5"},
      {Variant::Date(45296.5), "2024/1/5 12:00:00"},
      {Variant::Date(0.75), "18:00:00"},
      {Variant::Date(1), "1899/12/31"},
      {Variant::Bool(true), "-1"},
      {Variant::Bool(false), "0"},
      {Variant::Text(u"工资"), "工资"},
      {Variant::Object(&holds), "42"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HResult hr;
    EXPECT_EQ(ToText(cases[i].value, &hr), cases[i].text) << "case " << i;
  }
  HResult hr;
  ToText(Variant::Null(), &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
  ToText(Variant::Error(E_FAIL), &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
  ToText(Variant::Array({}), &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
}

TEST(Coerce, IntegersRoundHalfToEvenAndOverflow) {
  struct Case {
    Variant value;
    VarType type;
    HResult status;
    std::int32_t result;
  } cases[] = {
      {Variant::Real8(2.5), VT_I4, S_OK, 2},
      {Variant::Real8(3.5), VT_I4, S_OK, 4},
      {Variant::Real8(-2.5), VT_I4, S_OK, -2},
      {Variant::Real8(2147483647.0), VT_I4, S_OK, 2147483647},
      {Variant::Real8(2147483648.0), VT_I4, DISP_E_OVERFLOW, 0},
      {Variant::Real8(std::nan("")), VT_I4, DISP_E_OVERFLOW, 0},
      {Variant::Text(u"12"), VT_I4, S_OK, 12},
      {Variant::Text(u"x"), VT_I4, DISP_E_TYPEMISMATCH, 0},
      {Variant::Int4(40000), VT_I2, DISP_E_OVERFLOW, 0},
      {Variant::Int4(-32768), VT_I2, S_OK, -32768},
      {Variant::Bool(true), VT_I4, S_OK, -1},
      {Variant(), VT_I4, S_OK, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Variant out;
    EXPECT_EQ(VariantChangeType(&out, cases[i].value, 0, cases[i].type), cases[i].status) << i;
    if (Succeeded(cases[i].status)) {
      EXPECT_EQ(cases[i].type == VT_I4 ? out.i4() : out.i2(), cases[i].result) << i;
    }
  }
}

TEST(Coerce, ToBoolean) {
  struct Case {
    Variant value;
    HResult status;
    bool result;
  } cases[] = {
      {Variant(), S_OK, false},
      {Variant::Int4(3), S_OK, true},
      {Variant::Real8(0), S_OK, false},
      {Variant::Text(u"True"), S_OK, true},
      {Variant::Text(u"false"), S_OK, false},
      {Variant::Text(u"#TRUE#"), S_OK, true},
      {Variant::Text(u"0"), S_OK, false},
      {Variant::Text(u"-1"), S_OK, true},
      {Variant::Text(u"yes"), DISP_E_TYPEMISMATCH, false},
      {Variant::Null(), DISP_E_TYPEMISMATCH, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Variant out;
    EXPECT_EQ(VariantChangeType(&out, cases[i].value, 0, VT_BOOL), cases[i].status) << i;
    if (Succeeded(cases[i].status)) {
      EXPECT_EQ(out.boolean(), cases[i].result ? -1 : 0) << i;
    }
  }
}

TEST(Coerce, FailureLeavesTheDestinationAndCopyIndFollowsReferences) {
  Variant dest = Variant::Int4(7);
  EXPECT_TRUE(Failed(VariantChangeType(&dest, Variant::Text(u"x"), 0, VT_R8)));
  EXPECT_EQ(dest.type(), VT_I4);
  EXPECT_EQ(dest.i4(), 7);

  // In place, as CellValueToNumber converts its copy.
  Variant in_place = Variant::Text(u"12.5");
  ASSERT_EQ(VariantChangeType(&in_place, in_place, 0, VT_R8), S_OK);
  EXPECT_EQ(in_place.r8(), 12.5);

  testing::ValueObject object(Variant::Real8(3));
  Variant target = Variant::Object(&object);
  Variant copy;
  ASSERT_EQ(VariantCopyInd(&copy, Variant::Reference(&target)), S_OK);
  EXPECT_EQ(copy.type(), VT_DISPATCH);
  EXPECT_EQ(object.references, 2u);
  EXPECT_EQ(VariantCopyInd(&copy, Variant::Reference(nullptr)), E_INVALIDARG);

  Variant same;
  ASSERT_EQ(VariantChangeType(&same, target, 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(same.object(), &object);
  EXPECT_EQ(object.reads, 0);  // an object wanted as an object is not read
}

}  // namespace
}  // namespace varnex::automation
