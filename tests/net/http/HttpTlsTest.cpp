#include <gtest/gtest.h>

#include "lumo/BuildSettings.h"
#include "tests/net/http/HttpTestClient.h"
#include "tests/net/http/LoopbackHttpServer.h"
#include "tests/support/TempHome.h"
#include "tools/testca/TestCa.h"

namespace {

using nbt::HttpMethod;

class HttpTlsTest : public test::HttpClientFixture {};

struct TlsCase {
  const char* name;
  bool trustedAuthority;
  std::vector<std::string> dnsNames;
  std::vector<std::string> ipAddresses;
  const char* host;
  bool succeeds;
  const char* errorPart;
};

TEST_F(HttpTlsTest, OnlyACertificateOfTheTrustedAuthorityForTheHostIsAccepted) {
  test::TempHome folder(test::TempHome::Environment::Keep);
  const auto trusted = testca::EnsureAuthority(lumo::build::kTestCaDir);
  const auto stranger = testca::EnsureAuthority(folder.root() / "stranger-ca");
  ASSERT_TRUE(trusted && stranger);

  const TlsCase cases[] = {
      {"trusted, name matches", true, {"localhost"}, {}, "localhost", true, ""},
      {"trusted, address matches", true, {}, {"127.0.0.1"}, "127.0.0.1", true, ""},
      {"untrusted authority", false, {"localhost"}, {"127.0.0.1"}, "localhost", false, "certificate problem"},
      {"trusted, other host", true, {"localhost"}, {}, "127.0.0.1", false, "subject name"},
  };
  int index = 0;
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    const auto credentials = testca::IssueServerCertificate(testCase.trustedAuthority ? *trusted : *stranger,
                                                            folder.root() / std::to_string(index++), testCase.dnsNames,
                                                            testCase.ipAddresses);
    ASSERT_TRUE(credentials);
    auto server = test::LoopbackHttpServer::Start(
        [](const test::SeenRequest&) {
          return test::Reply{200, "secret", {}};
        },
        "127.0.0.1", 0, test::TlsFiles{credentials->certificateFile, credentials->keyFile});
    ASSERT_TRUE(server);
    const std::string url = std::string("https://") + testCase.host + ":" + std::to_string(server->port()) + "/";
    const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_POST, url));
    EXPECT_EQ(outcome.succeeded, testCase.succeeds);
    if (testCase.succeeds) {
      EXPECT_EQ(outcome.body, "secret");
      EXPECT_EQ(outcome.statusCode, 200);
    } else {
      EXPECT_EQ(outcome.body, "");
      EXPECT_EQ(outcome.statusCode, -1);
      EXPECT_NE(outcome.errorText.find(testCase.errorPart), std::string::npos) << outcome.errorText;
    }
  }
}

}  // namespace
