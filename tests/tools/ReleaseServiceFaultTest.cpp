// Every fault switch of the local release service, shown by the answer a libcurl client (as the
// installer uses it) gets: status, headers, body and the transfer's result.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/HttpFetch.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/TempHome.h"

namespace {

using namespace std::chrono_literals;

constexpr char kPackage[] = "lumogame-setup-1.0.0.bin";
// Long enough for the service to send what it means to, short enough to keep the suite quick: a
// held answer is only ever observed as "nothing more arrived before the client gave up".
constexpr auto kClientPatience = 300ms;

class ReleaseServiceFaultTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.ready());
    package_ = test::ReadFile(service_.ReleaseFolder() / kPackage);
  }

  test::FetchRequest Request(const std::string& method, const std::string& url) const {
    test::FetchRequest request;
    request.method = method;
    request.url = url;
    request.caFile = service_.CaFile();
    return request;
  }

  test::FetchResult AskVersion(int index = 0) const {
    return test::Fetch(Request("POST", service_.VersionEndpoint(index)));
  }

  test::FetchResult GetPiece(const std::string& range) const {
    auto request = Request("GET", PackageUrl());
    request.range = range;
    return test::Fetch(request);
  }

  std::string PackageUrl() const { return service_.ReleaseBase() + kPackage; }
  std::string UsualVersionBody() const {
    return R"({"code":0,"msg":"ok","data":{"rel_ver":"1.0.0","url":")" + service_.ReleaseBase() + R"("}})";
  }

  test::ReleaseService service_;
  std::string package_;
};

TEST_F(ReleaseServiceFaultTest, VersionBodyFaultsGiveTheDocumentsTheInstallerMustRefuse) {
  const std::string base = service_.ReleaseBase();
  const std::string head = R"({"code":0,"msg":"ok",)";
  struct Case {
    std::string fault;
    std::string body;
  };
  const Case cases[] = {
      {"invalid-json", head + R"("data":{"rel_ver":"1.0.0","url":)"},
      {"empty-body", ""},
      {"root-not-object", "[" + UsualVersionBody() + "]"},
      {"data-not-object", head + R"("data":")" + base + R"("})"},
      {"no-rel-ver", head + R"("data":{"url":")" + base + R"("}})"},
      {"null-rel-ver", head + R"("data":{"rel_ver":null,"url":")" + base + R"("}})"},
      {"no-url", head + R"("data":{"rel_ver":"1.0.0"}})"},
      {"null-url", head + R"("data":{"rel_ver":"1.0.0","url":null}})"},
      {"url-array", head + R"("data":{"rel_ver":"1.0.0","url":[")" + base + R"("]}})"},
      {"url-object", head + R"("data":{"rel_ver":"1.0.0","url":{"href":")" + base + R"("}}})"},
      {"url=https://127.0.0.1:1/releases",
       head + R"("data":{"rel_ver":"1.0.0","url":"https://127.0.0.1:1/releases"}})"},
      {"rel-ver=9.9", head + R"("data":{"rel_ver":"9.9","url":")" + base + R"("}})"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(service_.AddFault("version1:" + c.fault + ",count=1")) << c.fault;
    const auto answer = AskVersion(1);
    EXPECT_EQ(answer.code, CURLE_OK) << c.fault;
    EXPECT_EQ(answer.status, 200) << c.fault;
    EXPECT_EQ(answer.Header("Content-Type"), "application/json") << c.fault;
    EXPECT_EQ(answer.body, c.body) << c.fault;
    // The switch was for endpoint 1 only.
    EXPECT_EQ(AskVersion(0).body, UsualVersionBody()) << c.fault;
  }
}

TEST_F(ReleaseServiceFaultTest, StatusFaultsKeepTheBodyOfVersionAndTelemetryAndGiveFilesAnErrorText) {
  ASSERT_TRUE(service_.AddFault("version0:status=500\nversion2:status=404\nmanifest:status=404\ntelemetry:status=503"));
  const auto version = AskVersion(0);
  EXPECT_EQ(version.status, 500);
  EXPECT_EQ(version.body, UsualVersionBody());
  EXPECT_EQ(AskVersion(2).status, 404);
  EXPECT_EQ(AskVersion(1).status, 200);

  const auto manifest = test::Fetch(Request("GET", service_.ReleaseBase() + "latest.yml"));
  EXPECT_EQ(manifest.status, 404);
  EXPECT_EQ(manifest.body, "404 Not Found\n");
  const auto head = test::Fetch(Request("HEAD", service_.ReleaseBase() + "latest.yml"));
  EXPECT_EQ(head.status, 404);

  auto report = Request("POST", service_.TelemetryUrl());
  report.body = "event=DLR_STR";
  const auto telemetry = test::Fetch(report);
  EXPECT_EQ(telemetry.status, 503);
  EXPECT_EQ(telemetry.body, "ok");
  EXPECT_EQ(service_.TelemetryRecords(), std::vector<std::string>{"event=DLR_STR"}) << "received all the same";
}

TEST_F(ReleaseServiceFaultTest, MethodFirstByteAndCountQualifiersNarrowASwitch) {
  ASSERT_TRUE(service_.AddFault("package:status=404,method=HEAD\npackage:status=500,first=1048576,count=2"));
  EXPECT_EQ(test::Fetch(Request("HEAD", PackageUrl())).status, 404);
  EXPECT_EQ(test::Fetch(Request("GET", PackageUrl())).status, 200);
  EXPECT_EQ(GetPiece("0-1048575").status, 206);
  EXPECT_EQ(GetPiece("1048576-2097151").status, 500);
  EXPECT_EQ(GetPiece("1048576-2097151").status, 500);
  EXPECT_EQ(GetPiece("1048576-2097151").status, 206) << "used up after two";
}

TEST_F(ReleaseServiceFaultTest, RangeFaultsAnswerWithTheWholeFileOrAShortPiece) {
  ASSERT_TRUE(service_.AddFault("package:ignore-range,count=1"));
  const auto ignored = GetPiece("1048576-2097151");
  EXPECT_EQ(ignored.status, 200);
  EXPECT_EQ(ignored.Header("Content-Range"), std::nullopt);
  EXPECT_EQ(ignored.Header("Accept-Ranges"), "none");
  EXPECT_EQ(ignored.body, package_);

  ASSERT_TRUE(service_.AddFault("package:short-range,count=1\npackage:short-range=1000,count=1"));
  const auto half = GetPiece("1048576-2097151");
  EXPECT_EQ(half.code, CURLE_OK);
  EXPECT_EQ(half.status, 206);
  EXPECT_EQ(half.Header("Content-Range"), "bytes 1048576-1572863/2500000");
  EXPECT_EQ(half.body, package_.substr(1048576, 524288));
  const auto thousand = GetPiece("0-1048575");
  EXPECT_EQ(thousand.Header("Content-Range"), "bytes 0-999/2500000");
  EXPECT_EQ(thousand.contentLength, 1000);
  EXPECT_EQ(thousand.body, package_.substr(0, 1000));
}

TEST_F(ReleaseServiceFaultTest, HeadFaultsGiveNoLengthOrAHugeOne) {
  ASSERT_TRUE(service_.AddFault("manifest:head-no-length,count=1\npackage:head-length=4294967296,count=1"));
  const auto noLength = test::Fetch(Request("HEAD", service_.ReleaseBase() + "latest.yml"));
  EXPECT_EQ(noLength.code, CURLE_OK);
  EXPECT_EQ(noLength.status, 200);
  EXPECT_EQ(noLength.Header("Content-Length"), std::nullopt);
  EXPECT_EQ(noLength.contentLength, -1);

  const auto huge = test::Fetch(Request("HEAD", PackageUrl()));
  EXPECT_EQ(huge.status, 200);
  EXPECT_EQ(huge.Header("Content-Length"), "4294967296");
  EXPECT_EQ(huge.contentLength, 4294967296LL);
  // GET is not affected.
  EXPECT_EQ(test::Fetch(Request("GET", PackageUrl())).body, package_);
}

TEST_F(ReleaseServiceFaultTest, ResetAndCutEndTheBodyPartWayAfterTheWholeLengthWasAnnounced) {
  struct Case {
    std::string fault;
    CURLcode code;
    std::size_t received;
  };
  const Case cases[] = {
      {"reset", CURLE_RECV_ERROR, 524288},  // RST after half the piece
      {"reset=1000", CURLE_RECV_ERROR, 1000},
      {"cut", CURLE_PARTIAL_FILE, 524288},  // FIN, no TLS close_notify
      {"cut=0", CURLE_PARTIAL_FILE, 0},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(service_.AddFault("package:" + c.fault + ",count=1")) << c.fault;
    const auto answer = GetPiece("0-1048575");
    EXPECT_EQ(answer.code, c.code) << c.fault << ": " << curl_easy_strerror(answer.code);
    EXPECT_EQ(answer.status, 206) << c.fault;
    EXPECT_EQ(answer.Header("Content-Length"), "1048576") << c.fault;
    EXPECT_EQ(answer.body, package_.substr(0, c.received)) << c.fault;
  }
  // Plain HTTP and a version answer are cut alike.
  ASSERT_TRUE(service_.AddFault("version0:reset,count=1"));
  const auto version = AskVersion(0);
  EXPECT_EQ(version.code, CURLE_RECV_ERROR);
  EXPECT_EQ(version.body, UsualVersionBody().substr(0, UsualVersionBody().size() / 2));
  ASSERT_TRUE(service_.AddFault("package:reset=10,count=1"));
  auto plain = Request("GET", service_.Value("release-base-http") + kPackage);
  const auto plainAnswer = test::Fetch(plain);
  EXPECT_EQ(plainAnswer.code, CURLE_RECV_ERROR);
  EXPECT_EQ(plainAnswer.body, package_.substr(0, 10));
}

TEST_F(ReleaseServiceFaultTest, TimeoutAndStallHoldTheConnectionUntilTheClientGivesUp) {
  ASSERT_TRUE(service_.AddFault("version0:timeout,count=1\npackage:stall=100,count=1"));
  auto request = Request("POST", service_.VersionEndpoint(0));
  request.timeout = kClientPatience;
  const auto silent = test::Fetch(request);
  EXPECT_EQ(silent.code, CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(silent.status, 0);
  EXPECT_TRUE(silent.headers.empty());

  auto piece = Request("GET", PackageUrl());
  piece.range = "0-1048575";
  piece.timeout = kClientPatience;
  const auto stalled = test::Fetch(piece);
  EXPECT_EQ(stalled.code, CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(stalled.status, 206);
  EXPECT_EQ(stalled.body, package_.substr(0, 100));

  // Both switches are used up; the connections they held are let go.
  EXPECT_EQ(AskVersion(0).body, UsualVersionBody());
  EXPECT_EQ(GetPiece("0-9").body, package_.substr(0, 10));
  const auto requests = service_.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[0], "POST " + service_.VersionEndpoint(0) + " range=- status=- faults=timeout");
  EXPECT_EQ(requests[1], "GET " + PackageUrl() + " range=bytes=0-1048575 status=206 faults=stall");
}

TEST_F(ReleaseServiceFaultTest, SlowAnswersArriveWhole) {
  ASSERT_TRUE(service_.AddFault("version0:slow=300,count=1"));
  const auto started = std::chrono::steady_clock::now();
  const auto answer = AskVersion(0);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
  EXPECT_EQ(answer.code, CURLE_OK);
  EXPECT_EQ(answer.body, UsualVersionBody());
  EXPECT_EQ(service_.Requests().back(), "POST " + service_.VersionEndpoint(0) + " range=- status=200 faults=slow");
}

TEST_F(ReleaseServiceFaultTest, RedirectChainsOfAnyLengthKeepThePostAndEndInTheAnswer) {
  ASSERT_TRUE(service_.AddFault("version0:redirect=5,count=1\nversion0:redirect=6,count=1\npackage:redirect=2"));
  auto request = Request("POST", service_.VersionEndpoint(0));
  request.maxRedirects = 5;
  const auto five = test::Fetch(request);
  EXPECT_EQ(five.code, CURLE_OK);
  EXPECT_EQ(five.CountStatus(307), 5);
  EXPECT_EQ(five.status, 200);
  EXPECT_EQ(five.body, UsualVersionBody());
  const auto six = test::Fetch(request);
  EXPECT_EQ(six.code, CURLE_TOO_MANY_REDIRECTS);

  auto piece = Request("GET", PackageUrl());
  piece.range = "0-9";
  piece.maxRedirects = 5;
  const auto redirected = test::Fetch(piece);
  EXPECT_EQ(redirected.CountStatus(302), 2);
  EXPECT_EQ(redirected.status, 206);
  EXPECT_EQ(redirected.body, package_.substr(0, 10));

  auto unfollowed = Request("POST", service_.VersionEndpoint(0));
  ASSERT_TRUE(service_.AddFault("version0:redirect=1,count=1"));
  const auto first = test::Fetch(unfollowed);
  EXPECT_EQ(first.status, 307);
  EXPECT_EQ(first.Header("Location"), service_.VersionEndpoint(0) + "?redirect-hop=1&redirect-of=1");
}

TEST_F(ReleaseServiceFaultTest, SigtermEndsHeldAnswersAndStopsCleanly) {
  ASSERT_TRUE(service_.AddFault("version0:timeout"));
  test::FetchResult held;
  std::thread client([&] { held = AskVersion(0); });
  // Stop only once the service holds the request, so the stop is what ends it.
  for (int i = 0; i < 1000 && service_.Requests().empty(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(service_.Stop(), 0);
  client.join();
  EXPECT_NE(held.status, 200);
  EXPECT_EQ(service_.process().Lines().back(), "stopped");
}

}  // namespace
