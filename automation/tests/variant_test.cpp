#include "automation/variant.h"

#include <gtest/gtest.h>

#include "automation/tests/test_object.h"

namespace varnex::automation {
namespace {

TEST(Variant, TypeCodesAreOleAutomations) {
  EXPECT_EQ(Variant().type(), 0);
  EXPECT_EQ(Variant::Null().type(), 1);
  EXPECT_EQ(Variant::Int2(1).type(), 2);
  EXPECT_EQ(Variant::Int4(1).type(), 3);
  EXPECT_EQ(Variant::Real4(1).type(), 4);
  EXPECT_EQ(Variant::Real8(1).type(), 5);
  EXPECT_EQ(Variant::Currency(1).type(), 6);
  EXPECT_EQ(Variant::Date(1).type(), 7);
  EXPECT_EQ(Variant::Text(u"x").type(), 8);
  EXPECT_EQ(Variant::Object(nullptr).type(), 9);
  EXPECT_EQ(Variant::Error(DISP_E_PARAMNOTFOUND).type(), 10);
  EXPECT_EQ(Variant::Bool(true).type(), 11);
  EXPECT_EQ(Variant::Bool(true).boolean(), -1);
  EXPECT_EQ(Variant::Bool(false).boolean(), 0);
  Variant target = Variant::Int4(3);
  EXPECT_EQ(Variant::Reference(&target).type(), 0x400C);
  EXPECT_EQ(Variant::Array({}).type(), 0x200C);
  EXPECT_TRUE(Variant::Missing().IsMissing());
  EXPECT_EQ(Variant::Missing().scode(), MakeHResult(0x80020004));
}

TEST(Variant, CopiesTextsAndArraysAndCountsObjectReferences) {
  testing::ValueObject object;
  {
    Variant a = Variant::Object(&object);
    EXPECT_EQ(object.references, 1u);
    Variant b = a;
    EXPECT_EQ(object.references, 2u);
    Variant c = std::move(b);
    EXPECT_EQ(object.references, 2u);
    EXPECT_TRUE(b.IsEmpty());
    c.Clear();
    EXPECT_EQ(object.references, 1u);
    a = Variant::Int4(1);  // assignment releases what was held
    EXPECT_EQ(object.references, 0u);
  }

  Variant text = Variant::Text("工资");
  Variant copy = text;
  EXPECT_EQ(copy.text(), u"工资");
  text.Clear();
  EXPECT_EQ(copy.text(), u"工资");

  VariantArray array;
  array.rows = 2;
  array.columns = 2;
  array.items = {Variant::Int4(1), Variant::Text(u"b"), Variant::Object(&object), Variant()};
  EXPECT_EQ(object.references, 1u);
  Variant grid = Variant::Array(std::move(array));
  Variant grid_copy = grid;
  EXPECT_EQ(object.references, 2u);
  grid.Clear();
  EXPECT_EQ(grid_copy.array().At(1, 2).text(), u"b");
  grid_copy.Clear();
  EXPECT_EQ(object.references, 0u);
}

}  // namespace
}  // namespace varnex::automation
