// The local release service as the installer meets it: its start-up output, the version
// endpoints over verified TLS, the file server with HEAD and ranges, the telemetry receiver, the
// control endpoint and its command line.

#include <gtest/gtest.h>

#include <regex>

#include "tests/support/HttpFetch.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/Subprocess.h"
#include "tests/support/TempHome.h"

namespace {

constexpr char kPackage[] = "lumogame-setup-1.0.0.bin";
constexpr long long kPackageSize = 2'500'000;

std::string ExpectedVersionBody(const test::ReleaseService& service) {
  return R"({"code":0,"msg":"ok","data":{"rel_ver":"1.0.0","url":")" + service.ReleaseBase() + R"("}})";
}

test::FetchResult Post(const test::ReleaseService& service, const std::string& url, const std::string& body = "") {
  test::FetchRequest request;
  request.method = "POST";
  request.url = url;
  request.body = body;
  request.caFile = service.CaFile();
  return test::Fetch(request);
}

test::FetchResult Get(const test::ReleaseService& service, const std::string& url, const std::string& range = "",
                      const std::string& method = "GET") {
  test::FetchRequest request;
  request.method = method;
  request.url = url;
  request.range = range;
  request.caFile = service.CaFile();
  return test::Fetch(request);
}

TEST(ReleaseServiceTest, PrintsItsUrlsThenReadyAndStopsCleanlyOnSigterm) {
  test::ReleaseService service;
  ASSERT_TRUE(service.ready());
  const auto lines = service.process().Lines();
  const std::vector<std::string> names = {"version-endpoint-0",
                                          "version-endpoint-1",
                                          "version-endpoint-2",
                                          "release-base",
                                          "release-base-http",
                                          "telemetry",
                                          "control",
                                          "ca-file",
                                          "telemetry-records",
                                          "release-folder",
                                          "release-file",
                                          "release-file",
                                          "ready"};
  ASSERT_EQ(lines.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_TRUE(lines[i].starts_with(names[i])) << lines[i];

  const std::regex port(R"(:(\d+)/)");
  std::smatch match;
  const std::string first = service.VersionEndpoint(0);
  ASSERT_TRUE(std::regex_search(first, match, port));
  const std::string https = match[1];
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(service.VersionEndpoint(i),
              "https://127.0.0." + std::to_string(i + 1) + ":" + https + "/api/pt/latest-version");
  }
  EXPECT_EQ(service.ReleaseBase(), "https://127.0.0.1:" + https + "/release/");
  EXPECT_TRUE(std::regex_match(service.TelemetryUrl(), std::regex(R"(http://127\.0\.0\.1:\d+/log/common)")));
  EXPECT_EQ(service.ReleaseFiles().at(kPackage), kPackageSize);
  EXPECT_TRUE(service.ReleaseFiles().contains("latest.yml"));

  EXPECT_EQ(service.Stop(), 0);
  EXPECT_EQ(service.process().Lines().back(), "stopped");
}

TEST(ReleaseServiceTest, VersionEndpointsAnswerOnThreeHostsWithACertificateOfTheTestAuthority) {
  test::ReleaseService service;
  ASSERT_TRUE(service.ready());
  for (int i = 0; i < 3; ++i) {
    const auto answer = Post(service, service.VersionEndpoint(i));
    EXPECT_EQ(answer.code, CURLE_OK) << i;
    EXPECT_EQ(answer.status, 200) << i;
    EXPECT_EQ(answer.Header("Content-Type"), "application/json") << i;
    EXPECT_EQ(answer.body, ExpectedVersionBody(service)) << i;
  }
  const auto requests = service.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1], "POST " + service.VersionEndpoint(1) + " range=- status=200 faults=-");

  // Without the test authority the certificate is not trusted: TLS stays verified.
  test::FetchRequest untrusted;
  untrusted.method = "POST";
  untrusted.url = service.VersionEndpoint(0);
  untrusted.caFile = "/dev/null";
  EXPECT_NE(test::Fetch(untrusted).code, CURLE_OK);
}

TEST(ReleaseServiceTest, ServesTheManifestAndThePackageWithHeadAndByteRanges) {
  test::ReleaseService service;
  ASSERT_TRUE(service.ready());
  const std::string package = test::ReadFile(service.ReleaseFolder() / kPackage);
  ASSERT_EQ(package.size(), static_cast<std::size_t>(kPackageSize));
  const std::string url = service.ReleaseBase() + kPackage;

  const auto manifest = Get(service, service.ReleaseBase() + "latest.yml");
  EXPECT_EQ(manifest.status, 200);
  EXPECT_EQ(manifest.Header("Content-Type"), "text/yaml");
  EXPECT_EQ(manifest.body, test::ReadFile(service.ReleaseFolder() / "latest.yml"));
  EXPECT_NE(manifest.body.find("  - url: lumogame-setup-1.0.0.bin\n    sha512: "), std::string::npos);

  const auto head = Get(service, url, "", "HEAD");
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.contentLength, kPackageSize);
  EXPECT_EQ(head.Header("Accept-Ranges"), "bytes");
  EXPECT_TRUE(head.body.empty());

  const auto whole = Get(service, url);
  EXPECT_EQ(whole.status, 200);
  EXPECT_EQ(whole.body, package);

  struct Case {
    const char* range;
    long status;
    long long first;
    long long length;
    const char* contentRange;
  };
  const Case cases[] = {
      {"0-1048575", 206, 0, 1048576, "bytes 0-1048575/2500000"},
      {"1048576-2097151", 206, 1048576, 1048576, "bytes 1048576-2097151/2500000"},
      {"2097152-3145727", 206, 2097152, 402848, "bytes 2097152-2499999/2500000"},
      {"2499990-", 206, 2499990, 10, "bytes 2499990-2499999/2500000"},
      {"-5", 206, 2499995, 5, "bytes 2499995-2499999/2500000"},
      {"2500000-2600000", 416, 0, -1, "bytes */2500000"},
  };
  for (const auto& c : cases) {
    const auto answer = Get(service, url, c.range);
    EXPECT_EQ(answer.status, c.status) << c.range;
    EXPECT_EQ(answer.Header("Content-Range"), c.contentRange) << c.range;
    if (c.length < 0) continue;
    EXPECT_EQ(answer.body, package.substr(c.first, c.length)) << c.range;
  }

  const auto several = Get(service, url, "0-1,5-9");
  EXPECT_EQ(several.status, 200);
  EXPECT_EQ(several.body.size(), package.size());
  EXPECT_EQ(Get(service, service.ReleaseBase() + "missing.bin").status, 404);
  EXPECT_EQ(Get(service, service.Value("release-base-http") + kPackage, "0-9").body, package.substr(0, 10));
}

TEST(ReleaseServiceTest, TelemetryReceiverRecordsEveryFormInArrivalOrderOneLineEach) {
  test::ReleaseService service;
  ASSERT_TRUE(service.ready());
  const std::vector<std::string> forms = {"cid=0a1b2c3d4e5f&event=DLR_STR&ext=", "event=DLR_DL_STR", "",
                                          "line\nbreak\x7f"};
  for (const auto& form : forms) {
    const auto answer = Post(service, service.TelemetryUrl(), form);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, "ok");
  }
  const std::vector<std::string> expected = {forms[0], forms[1], "", "line%0Abreak%7F"};
  EXPECT_EQ(service.TelemetryRecords(), expected);

  test::FetchRequest control;
  control.url = service.Value("control") + "telemetry";
  EXPECT_EQ(test::Fetch(control).body, "cid=0a1b2c3d4e5f&event=DLR_STR&ext=\nevent=DLR_DL_STR\n\nline%0Abreak%7F\n");
  std::string otherPath = service.TelemetryUrl();
  otherPath.replace(otherPath.rfind("common"), 6, "other");
  EXPECT_EQ(Post(service, otherPath, "x").status, 404);
}

TEST(ReleaseServiceTest, ControlEndpointAddsListsAndClearsSwitchesAndKeepsTheRequestLog) {
  test::ReleaseService service({"--fault", "version0:status=500,count=2"});
  ASSERT_TRUE(service.ready());
  EXPECT_EQ(service.Faults(), std::vector<std::string>{"version0:status=500,count=2"});

  EXPECT_TRUE(service.AddFault("manifest:status=404,method=HEAD\npackage:reset"));
  // A bad line refuses the whole body, with the reason.
  test::FetchRequest bad;
  bad.method = "POST";
  bad.url = service.Value("control") + "faults";
  bad.body = "package:cut\npackage:bogus";
  const auto refused = test::Fetch(bad);
  EXPECT_EQ(refused.status, 400);
  EXPECT_EQ(refused.body, "release-service: bad switch 'package:bogus': unknown fault\n");
  EXPECT_EQ(service.Faults().size(), 3u);

  EXPECT_EQ(Post(service, service.VersionEndpoint(0)).status, 500);
  EXPECT_EQ(service.Faults().front(), "version0:status=500,count=1");
  EXPECT_EQ(Post(service, service.VersionEndpoint(0)).status, 500);
  EXPECT_EQ(Post(service, service.VersionEndpoint(0)).status, 200);
  EXPECT_EQ(service.Faults().size(), 2u);

  EXPECT_TRUE(service.ClearFaults());
  EXPECT_TRUE(service.Faults().empty());
  EXPECT_EQ(service.Requests().size(), 3u);
  EXPECT_EQ(service.Requests().front(), "POST " + service.VersionEndpoint(0) + " range=- status=500 faults=status");
  EXPECT_TRUE(service.ClearRequests());
  EXPECT_TRUE(service.Requests().empty());
}

TEST(ReleaseServiceTest, ServesAReleaseFolderNamedOnTheCommandLine) {
  test::TempHome home(test::TempHome::Environment::Keep);
  test::WriteFile(home.root() / "release/latest.yml", "version: 2.3.4\nfiles:\n  - url: pkg.exe\n    size: 3\n");
  test::WriteFile(home.root() / "release/pkg.exe", "abc");
  test::ReleaseService service({"--release", (home.root() / "release").string()});
  ASSERT_TRUE(service.ready());
  EXPECT_EQ(service.ReleaseFiles().at("pkg.exe"), 3);
  EXPECT_NE(Post(service, service.VersionEndpoint(2)).body.find(R"("rel_ver":"2.3.4")"), std::string::npos);
  EXPECT_EQ(Get(service, service.ReleaseBase() + "pkg.exe", "1-100").body, "bc");
}

TEST(ReleaseServiceTest, RefusesABadCommandLineAndReportsWhatKeepsItFromStarting) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const std::string program = test::ReleaseServicePath();
  EXPECT_EQ(test::RunProgram(program, {"--bogus"}), 2);
  EXPECT_EQ(test::RunProgram(program, {"--ephemeral", "--https-port", "70000"}), 2);
  EXPECT_EQ(test::RunProgram(program, {"--ephemeral", "--fault", "package:bogus"}), 2);
  EXPECT_EQ(test::RunProgram(program, {"--ephemeral", "--release", (home.root() / "none").string()}), 1);

  test::ReleaseService running;
  ASSERT_TRUE(running.ready());
  const std::string taken = running.Value("control");
  const std::string port = taken.substr(taken.rfind(':') + 1, taken.size() - taken.rfind(':') - 2);
  EXPECT_EQ(
      test::RunProgram(program, {"--ephemeral", "--records", (home.root() / "t.log").string(), "--control-port", port}),
      1);
}

}  // namespace
