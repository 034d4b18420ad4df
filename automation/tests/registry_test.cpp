#include "automation/registry.h"

#include <gtest/gtest.h>

#include "automation/tests/test_object.h"

namespace varnex::automation {
namespace {

constexpr ClassId kClass{0x12345678, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(ClassRegistry, ResolvesProgIdsWithoutRegardToCaseAndCreates) {
  ClassRegistry registry;
  testing::ValueObject object;
  std::uint32_t asked_context = 0;
  registry.Register(u"Test.Application", kClass, [&](std::uint32_t context, Ref<Dispatch>* out) {
    asked_context = context;
    *out = Ref<Dispatch>(&object);
    return S_OK;
  });

  ClassId clsid;
  EXPECT_EQ(registry.ClsidFromProgId(u"test.APPLICATION", &clsid), S_OK);
  EXPECT_EQ(clsid, kClass);
  EXPECT_EQ(registry.ClsidFromProgId(u"Other.Application", &clsid), CO_E_CLASSSTRING);

  Ref<Dispatch> created;
  EXPECT_EQ(registry.CreateInstance(kClass, CLSCTX_ALL, &created), S_OK);
  EXPECT_EQ(created.get(), &object);
  EXPECT_EQ(asked_context, CLSCTX_ALL);
  EXPECT_EQ(object.references, 1u);
  created.Reset();
  EXPECT_EQ(object.references, 0u);

  EXPECT_EQ(registry.CreateInstance(ClassId{}, CLSCTX_ALL, &created), REGDB_E_CLASSNOTREG);
  registry.Unregister(u"TEST.application");
  EXPECT_EQ(registry.ClsidFromProgId(u"Test.Application", &clsid), CO_E_CLASSSTRING);
}

TEST(ClassRegistry, AFailedCreationHandsOutNothing) {
  ClassRegistry registry;
  testing::ValueObject object;
  registry.Register(u"Failing", kClass, [&](std::uint32_t, Ref<Dispatch>* out) {
    *out = Ref<Dispatch>(&object);
    return CO_E_SERVER_EXEC_FAILURE;
  });
  Ref<Dispatch> created;
  EXPECT_EQ(registry.CreateInstance(kClass, CLSCTX_ALL, &created), CO_E_SERVER_EXEC_FAILURE);
  EXPECT_FALSE(created);
  EXPECT_EQ(object.references, 0u);
}

TEST(StatusCodes, AreComs) {
  EXPECT_EQ(static_cast<std::uint32_t>(DISP_E_MEMBERNOTFOUND), 0x80020003u);
  EXPECT_EQ(static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME), 0x80020006u);
  EXPECT_EQ(static_cast<std::uint32_t>(DISP_E_BADPARAMCOUNT), 0x8002000Eu);
  EXPECT_EQ(static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH), 0x80020005u);
  EXPECT_EQ(static_cast<std::uint32_t>(E_INVALIDARG), 0x80070057u);
  EXPECT_EQ(static_cast<std::uint32_t>(REGDB_E_CLASSNOTREG), 0x80040154u);
  EXPECT_EQ(static_cast<std::uint32_t>(CO_E_CLASSSTRING), 0x800401F3u);
}

}  // namespace
}  // namespace varnex::automation
