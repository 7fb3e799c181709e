#include <gtest/gtest.h>

#include <memory>

#include "lumo/BuildSettings.h"
#include "net/http/DnsPin.h"
#include "tests/net/http/HttpTestClient.h"
#include "tests/net/http/LoopbackDnsServer.h"
#include "tests/net/http/LoopbackHttpServer.h"
#include "tests/support/TempHome.h"
#include "tools/testca/TestCa.h"

namespace {

using nbt::HttpMethod;
using test::Reply;
using test::SeenRequest;

// Known only to the loopback DNS server. The system resolver's attempt goes to 127.0.0.1 (libcurl
// maps every *.localhost name there without asking any DNS server), the backup server says 127.0.0.2.
constexpr char kName[] = "fallback.localhost";
constexpr char kPinnedAddress[] = "127.0.0.2";
constexpr char kUnknownName[] = "missing.localhost";
constexpr auto kBudget = std::chrono::seconds(5);

// The built-in backup list of test builds is one loopback DNS server, started here for the
// whole program.
class HttpDnsFallbackTest : public test::HttpClientFixture {
 protected:
  static void SetUpTestSuite() {
    const auto [address, port] = test::SplitServerAddress(lumo::build::kBackupDnsServers);
    dns_ = test::LoopbackDnsServer::Start(address, port, {{kName, kPinnedAddress}});
  }
  static void TearDownTestSuite() { dns_.reset(); }
  void SetUp() override { ASSERT_TRUE(dns_) << "no DNS server at " << lumo::build::kBackupDnsServers; }

  static std::unique_ptr<test::LoopbackDnsServer> dns_;
};

std::unique_ptr<test::LoopbackDnsServer> HttpDnsFallbackTest::dns_;

std::string SetDnsLine() {
  return std::string("set dns:") + lumo::build::kBackupDnsServers + " result:1\n";
}

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

struct BackupCase {
  int addCalls;
  int attempts;
};

TEST_F(HttpDnsFallbackTest, AFailingRequestIsTriedOncePerBackupEntry) {
  int attempts = 0;
  auto server = test::LoopbackHttpServer::Start([&](const SeenRequest&) {
    ++attempts;
    return Reply{404, "attempt " + std::to_string(attempts), {{"X-Attempt", std::to_string(attempts)}}};
  });
  ASSERT_TRUE(server);
  const std::string url = "http://127.0.0.1:" + std::to_string(server->port()) + "/missing";

  for (const BackupCase testCase : {BackupCase{0, 1}, BackupCase{1, 2}, BackupCase{3, 4}}) {
    SCOPED_TRACE(std::to_string(testCase.addCalls) + " AddDefaultDnsServers calls");
    delete client_;
    client_ = nbt::HttpClient::Instance();
    for (int i = 0; i < testCase.addCalls; ++i) client_->AddDefaultDnsServers();
    attempts = 0;

    testing::internal::CaptureStdout();
    const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_POST, url));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), Repeat(SetDnsLine(), testCase.addCalls));

    EXPECT_EQ(attempts, testCase.attempts);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.statusCode, 404);
    const std::string last = std::to_string(testCase.attempts);
    EXPECT_EQ(outcome.body, "attempt " + last) << "only the last attempt's body";
    EXPECT_NE(outcome.headers.find("X-Attempt: " + last), std::string::npos) << outcome.headers;
    EXPECT_EQ(outcome.headers.find("X-Attempt:"), outcome.headers.rfind("X-Attempt:"))
        << "only the last attempt's headers: " << outcome.headers;
  }
}

// A server on 127.0.0.2 and a decoy on 127.0.0.1 at the same port.
struct ServerPair {
  std::unique_ptr<test::LoopbackHttpServer> pinned;
  std::unique_ptr<test::LoopbackHttpServer> decoy;
};

ServerPair StartPair(const std::optional<test::TlsFiles>& tls) {
  for (int tries = 0; tries < 20; ++tries) {
    ServerPair pair;
    pair.pinned = test::LoopbackHttpServer::Start(
        [](const SeenRequest& seen) {
          return Reply{200, "pinned, host " + seen.Header("Host"), {}};
        },
        kPinnedAddress, 0, tls);
    if (!pair.pinned) return {};
    pair.decoy = test::LoopbackHttpServer::Start(
        [](const SeenRequest&) {
          return Reply{503, "decoy", {}};
        },
        "127.0.0.1", pair.pinned->port());
    if (pair.decoy) return pair;
  }
  return {};
}

TEST_F(HttpDnsFallbackTest, TheBackupServersAddressIsUsedUnderTheUrlsName) {
  auto servers = StartPair(std::nullopt);
  ASSERT_TRUE(servers.pinned && servers.decoy);
  client_->AddDefaultDnsServers();
  const std::string hostAndPort = std::string(kName) + ":" + std::to_string(servers.pinned->port());

  testing::internal::CaptureStdout();
  const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_GET, "http://" + hostAndPort + "/"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), SetDnsLine());

  EXPECT_TRUE(outcome.succeeded) << outcome.errorText;
  EXPECT_EQ(outcome.statusCode, 200);
  EXPECT_EQ(outcome.body, "pinned, host " + hostAndPort);
  EXPECT_EQ(outcome.errorText, "");
  EXPECT_EQ(servers.decoy->Requests().size(), 1u) << "the system resolver's attempt came first";
}

TEST_F(HttpDnsFallbackTest, TlsChecksTheUrlsNameAgainstThePinnedServer) {
  test::TempHome folder(test::TempHome::Environment::Keep);
  const auto authority = testca::EnsureAuthority(lumo::build::kTestCaDir);
  ASSERT_TRUE(authority);
  const auto credentials = testca::IssueServerCertificate(*authority, folder.root(), {kName}, {});
  ASSERT_TRUE(credentials);
  auto servers = StartPair(test::TlsFiles{credentials->certificateFile, credentials->keyFile});
  ASSERT_TRUE(servers.pinned && servers.decoy);
  client_->AddDefaultDnsServers();

  testing::internal::CaptureStdout();
  const std::string hostAndPort = std::string(kName) + ":" + std::to_string(servers.pinned->port());
  const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_GET, "https://" + hostAndPort + "/"));
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(outcome.succeeded) << outcome.errorText;
  EXPECT_EQ(outcome.body, "pinned, host " + hostAndPort);
}

TEST_F(HttpDnsFallbackTest, ANameTheBackupServerDoesNotKnowFailsWithTheLastTransfersStatus) {
  auto decoy = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{503, "decoy", {}}; });
  ASSERT_TRUE(decoy);
  client_->AddDefaultDnsServers();
  testing::internal::CaptureStdout();
  const auto outcome = Fetch(test::MakeRequest(
      HttpMethod::HTTP_GET, std::string("http://") + kUnknownName + ":" + std::to_string(decoy->port()) + "/"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), SetDnsLine());
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.statusCode, 503) << "the system resolver's attempt was the last completed transfer";
  EXPECT_EQ(outcome.body, "");
  EXPECT_EQ(outcome.errorText.rfind(std::string("Could not resolve host: ") + kUnknownName, 0), 0u)
      << outcome.errorText;
}

struct PinCase {
  const char* servers;
  std::string url;
  bool accepted;
  std::string resolveEntry;
  bool failed;
};

TEST_F(HttpDnsFallbackTest, PinsFollowTheUrlsHostAndPort) {
  const std::string backup = lumo::build::kBackupDnsServers;
  const PinCase cases[] = {
      {"not a server list", "http://fallback.localhost/", false, "", false},
      {backup.c_str(), "http://127.0.0.1:8080/", true, "", false},
      {backup.c_str(), "http://[::1]:8080/", true, "", false},
      {backup.c_str(), "http://fallback.localhost:8080/a?b", true, "fallback.localhost:8080:127.0.0.2", false},
      {backup.c_str(), "https://fallback.localhost/", true, "fallback.localhost:443:127.0.0.2", false},
      {backup.c_str(), "http://fallback.localhost/", true, "fallback.localhost:80:127.0.0.2", false},
      {backup.c_str(), "http://missing.localhost/", true, "", true},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(std::string(testCase.servers) + " " + testCase.url);
    const auto pin = nbt::PinHostThroughServers(testCase.url, testCase.servers, kBudget);
    EXPECT_EQ(pin.serversAccepted, testCase.accepted);
    EXPECT_EQ(pin.resolveEntry, testCase.resolveEntry);
    EXPECT_EQ(!pin.error.empty(), testCase.failed) << pin.error;
  }
}

}  // namespace
