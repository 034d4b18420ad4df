#include <gtest/gtest.h>

#include "excel/global_session.h"
#include "excel/tests/session_fixture.h"

namespace varnex::testing {
namespace {

using namespace automation;

const std::string kStatusWrite =
    "Application put StatusBar() = BSTR:\"当前操作软件为TOLMIRA制作的薪酬个税批量程序\"";

TEST(CreateApp, CreatesRunsAndHoldsTheApplication) {
  RegisteredServer registered;
  ExcelSession session;
  EXPECT_TRUE(registered.server.log.empty());  // construction reaches nothing
  ASSERT_TRUE(session.CreateApp());
  EXPECT_EQ(registered.contexts, std::vector<std::uint32_t>{CLSCTX_ALL});
  EXPECT_EQ(registered.server.RootReferences(), 1u);
  EXPECT_EQ(registered.server.log, std::vector<std::string>{kStatusWrite});
  session.QuitApp();
}

TEST(CreateApp, FailsWithoutARegisteredClass) {
  ExcelSession session;
  EXPECT_FALSE(session.CreateApp());
  EXPECT_EQ(session.SheetCount(), 0);
}

TEST(CreateApp, RetriesWithFewerContextsOnInvalidArgument) {
  RegisteredServer registered;
  registered.refuse_all_contexts = true;
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  EXPECT_EQ(registered.contexts,
            (std::vector<std::uint32_t>{CLSCTX_ALL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                                        CLSCTX_LOCAL_SERVER}));
  session.QuitApp();
}

TEST(CreateApp, OtherCreationFailuresAreNotRetried) {
  RegisteredServer registered;
  registered.creation_status = CO_E_SERVER_EXEC_FAILURE;
  ExcelSession session;
  EXPECT_FALSE(session.CreateApp());
  EXPECT_EQ(registered.contexts.size(), 1u);
  EXPECT_TRUE(registered.server.log.empty());
}

TEST(CreateApp, ARunFailureReleasesTheNewObject) {
  RegisteredServer registered;
  registered.server.FailRun(E_FAIL);
  ExcelSession session;
  EXPECT_FALSE(session.CreateApp());
  EXPECT_EQ(registered.server.RootReferences(), 0u);
  EXPECT_TRUE(registered.server.log.empty());
}

TEST(CreateApp, AFailedAttemptLeavesTheHeldApplication) {
  RegisteredServer registered;
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  registered.creation_status = E_FAIL;
  EXPECT_FALSE(session.CreateApp());
  EXPECT_EQ(registered.server.RootReferences(), 1u);
  session.QuitApp();
}

TEST(CreateApp, ReplacesAnEarlierReferenceWithoutQuitting) {
  RecordingServer first;
  RegisteredServer registered;
  Classes().Register(u"Excel.Application", kFakeExcel, [&](std::uint32_t, Ref<Dispatch>* out) {
    *out = Ref<Dispatch>(first.root());
    return S_OK;
  });
  ExcelSession session;
  ASSERT_TRUE(session.CreateApp());
  EXPECT_EQ(first.RootReferences(), 1u);
  Classes().Register(u"Excel.Application", kFakeExcel, [&](std::uint32_t, Ref<Dispatch>* out) {
    *out = Ref<Dispatch>(registered.server.root());
    return S_OK;
  });
  ASSERT_TRUE(session.CreateApp());
  EXPECT_EQ(first.RootReferences(), 0u);
  EXPECT_EQ(first.log, std::vector<std::string>{kStatusWrite});  // never told to quit
  EXPECT_EQ(registered.server.RootReferences(), 1u);
  session.QuitApp();
}

TEST(GlobalSession, MainWindowDestructionQuitsTheApplication) {
  OnMainWindowDestroying();  // never started: nothing happens
  RegisteredServer registered;
  ASSERT_TRUE(excelSession.CreateApp());
  registered.server.log.clear();
  OnMainWindowDestroying();
  EXPECT_EQ(registered.server.log, std::vector<std::string>{"Application call Quit()"});
  EXPECT_EQ(registered.server.RootReferences(), 0u);
}

}  // namespace
}  // namespace varnex::testing
