// A report made with the telemetry URL built into test builds reaches the local release service on
// its fixed ports.

#include <gtest/gtest.h>

#include <string>

#include "diag/EventReport.h"
#include "lumo/BuildSettings.h"
#include "net/http/HttpClient.h"
#include "tests/net/DrainUntil.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/TempHome.h"

namespace {

TEST(EventReportFixedPortTest, TheBuiltInTelemetryUrlReachesTheLocalService) {
  if (std::string(lumo::build::kFlavor) != "test") GTEST_SKIP() << "the publisher build names the publisher's host";
  test::TempHome home;
  test::ReleaseService service({}, test::ReleaseService::Ports::Fixed);
  ASSERT_TRUE(service.ready()) << "are the fixed ports taken by another release service?";

  EventReport(InstallContext{"0a1b2c3d4e5f"}, "DLR_STR", "");
  ASSERT_TRUE(test::DrainUntil([&] { return !service.TelemetryRecords().empty(); }));
  EXPECT_EQ(service.TelemetryRecords(),
            std::vector<std::string>{"cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=DLR_STR&sid=0&ver=1.0.0&user=0&ext="});
  nbt::HttpClient::DestroyInstance();
}

}  // namespace
