#pragma once

#include <gtest/gtest.h>

#include "automation/registry.h"
#include "excel/excel_session.h"
#include "excel/tests/recording_server.h"

namespace varnex::testing {

inline constexpr automation::ClassId kFakeExcel{0x00024500, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Registers a recording server as "Excel.Application" for the test's length.
class RegisteredServer {
 public:
  RegisteredServer() {
    automation::Classes().Register(
        u"Excel.Application", kFakeExcel,
        [this](std::uint32_t context, automation::Ref<automation::Dispatch>* out) {
          contexts.push_back(context);
          if (refuse_all_contexts && context == automation::CLSCTX_ALL)
            return automation::E_INVALIDARG;
          if (automation::Failed(creation_status)) return creation_status;
          *out = automation::Ref<automation::Dispatch>(server.root());
          return automation::S_OK;
        });
  }
  ~RegisteredServer() { automation::Classes().Unregister(u"Excel.Application"); }

  RecordingServer server;
  std::vector<std::uint32_t> contexts;
  bool refuse_all_contexts = false;
  automation::HResult creation_status = automation::S_OK;
};

// A session with a started recording server and an emptied log.
class StartedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.CreateApp());
    server().log.clear();
  }
  void TearDown() override {
    session.QuitApp();
    EXPECT_EQ(server().RootReferences(), 0u);
  }
  RecordingServer& server() { return registered.server; }

  RegisteredServer registered;
  ExcelSession session;
};

}  // namespace varnex::testing
