// The release service started without port options listens where test builds of the installer
// look for it.

#include <gtest/gtest.h>

#include <string>

#include "lumo/BuildSettings.h"
#include "tests/support/HttpFetch.h"
#include "tests/support/ReleaseService.h"

namespace {

TEST(ReleaseServiceFixedPortTest, DefaultsAreTheEndpointsBuiltIntoTheInstaller) {
  if (std::string(lumo::build::kFlavor) != "test") GTEST_SKIP() << "the publisher build names the publisher's hosts";
  test::ReleaseService service({}, test::ReleaseService::Ports::Fixed);
  ASSERT_TRUE(service.ready()) << "are the fixed ports taken by another release service?";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(service.VersionEndpoint(i), lumo::build::kVersionEndpoints[i]);
  EXPECT_EQ(service.TelemetryUrl(), lumo::build::kTelemetryUrl);
  EXPECT_EQ(service.CaFile(), lumo::build::kCaBundle);

  test::FetchRequest request;
  request.method = "POST";
  request.url = lumo::build::kVersionEndpoint0;
  request.caFile = lumo::build::kCaBundle;
  EXPECT_EQ(test::Fetch(request).status, 200);
  EXPECT_EQ(service.Stop(), 0);
}

}  // namespace
