#include "net/http/HttpClient.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "base/DeferredTaskQueue.h"
#include "tests/net/http/HttpTestClient.h"
#include "tests/net/http/LoopbackHttpServer.h"

namespace {

using nbt::HttpMethod;
using test::Reply;
using test::SeenRequest;

std::string UrlOf(const test::LoopbackHttpServer& server, const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class HttpClientTest : public test::HttpClientFixture {};

struct MethodCase {
  HttpMethod method;
  std::string body;
  std::string seenMethod;
  std::optional<std::string> contentLength;  // nullopt: no Content-Length header
};

TEST_F(HttpClientTest, MethodsReachTheServerAsSent) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest& seen) {
    return Reply{200, "answer to " + seen.method, {}};
  });
  ASSERT_TRUE(server);
  const MethodCase cases[] = {
      {HttpMethod::HTTP_GET, "", "GET", std::nullopt},
      {HttpMethod::HTTP_POST, "a=1&b=2", "POST", "7"},
      {HttpMethod::HTTP_POST, "", "POST", "0"},
      {HttpMethod::HTTP_PUT, "x=3", "PUT", "3"},
      {HttpMethod::HTTP_DELETE, "", "DELETE", std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& testCase = cases[i];
    SCOPED_TRACE(testCase.seenMethod + " with body '" + testCase.body + "'");
    const auto outcome = Fetch(test::MakeRequest(testCase.method, UrlOf(*server, "/m"), testCase.body));
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.statusCode, 200);
    EXPECT_EQ(outcome.body, "answer to " + testCase.seenMethod);
    EXPECT_EQ(outcome.headers.rfind("HTTP/1.1 200", 0), 0u) << outcome.headers;
    EXPECT_EQ(outcome.errorText, "");

    const auto seen = server->Requests();
    ASSERT_EQ(seen.size(), i + 1);
    EXPECT_EQ(seen[i].method, testCase.seenMethod);
    EXPECT_EQ(seen[i].body, testCase.body);
    EXPECT_EQ(seen[i].HasHeader("Content-Length"), testCase.contentLength.has_value());
    if (testCase.contentLength) {
      EXPECT_EQ(seen[i].Header("Content-Length"), *testCase.contentLength);
    }
  }
}

TEST_F(HttpClientTest, HeaderLinesAreSent) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{}; });
  ASSERT_TRUE(server);
  auto request = test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*server, "/h"));
  request->headerLines = {"X-One: first", "X-Two: second"};
  EXPECT_TRUE(Fetch(std::move(request)).succeeded);
  const auto seen = server->Requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Header("X-One"), "first");
  EXPECT_EQ(seen[0].Header("X-Two"), "second");
}

TEST_F(HttpClientTest, WithoutBackupServersAFailureIsOneAttempt) {
  int attempts = 0;
  auto server = test::LoopbackHttpServer::Start([&](const SeenRequest&) {
    return Reply{404, "attempt " + std::to_string(++attempts), {}};
  });
  ASSERT_TRUE(server);
  testing::internal::CaptureStdout();
  const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_POST, UrlOf(*server, "/missing")));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.statusCode, 404);
  EXPECT_EQ(outcome.body, "attempt 1");
  EXPECT_EQ(server->Requests().size(), 1u);
}

struct RedirectCase {
  int hops;
  bool succeeded;
  std::int32_t statusCode;
  std::size_t requestsSeen;
};

TEST_F(HttpClientTest, FiveRedirectsAreFollowedASixthIsRefused) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest& seen) {
    const int left = std::stoi(seen.path.substr(std::string("/hop/").size()));
    if (left == 0) return Reply{200, "landed", {}};
    return Reply{302, "", {{"Location", "/hop/" + std::to_string(left - 1)}}};
  });
  ASSERT_TRUE(server);
  for (const RedirectCase testCase : {RedirectCase{5, true, 200, 6}, RedirectCase{6, false, -1, 6}}) {
    SCOPED_TRACE(testCase.hops);
    const auto before = server->Requests().size();
    const auto outcome =
        Fetch(test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*server, "/hop/" + std::to_string(testCase.hops))));
    EXPECT_EQ(outcome.succeeded, testCase.succeeded);
    EXPECT_EQ(outcome.statusCode, testCase.statusCode);
    EXPECT_EQ(server->Requests().size() - before, testCase.requestsSeen);
    if (testCase.succeeded) {
      EXPECT_EQ(outcome.body, "landed");
      EXPECT_EQ(Count(outcome.headers, "HTTP/1.1 302"), 5) << "redirect responses belong to the headers";
    } else {
      EXPECT_NE(outcome.errorText.find("Maximum (5) redirects followed"), std::string::npos) << outcome.errorText;
    }
  }
}

TEST_F(HttpClientTest, AnEmptyCallbackIsPerformedAndDroppedSilently) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{}; });
  ASSERT_TRUE(server);
  client_->Send(nullptr);
  client_->Send(test::MakeRequest(HttpMethod::HTTP_POST, UrlOf(*server, "/quiet")));
  EXPECT_TRUE(Fetch(test::MakeRequest(HttpMethod::HTTP_POST, UrlOf(*server, "/loud"))).succeeded);
  const auto seen = server->Requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].path, "/quiet");
  EXPECT_EQ(seen[1].path, "/loud");
}

TEST_F(HttpClientTest, CallbacksRunInSendOrderOnTheDrainingThread) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest& seen) { return Reply{200, seen.path, {}}; });
  ASSERT_TRUE(server);
  constexpr int kRequests = 8;
  std::vector<std::string> delivered;
  bool allOnThisThread = true;
  const auto drainer = std::this_thread::get_id();
  for (int i = 0; i < kRequests; ++i) {
    auto request = test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*server, "/" + std::to_string(i)));
    request->callback = [&](nbt::HttpResponse* response) {
      delivered.push_back(response->body);
      allOnThisThread = allOnThisThread && std::this_thread::get_id() == drainer;
    };
    client_->Send(std::move(request));
  }
  ASSERT_TRUE(test::DrainUntil([&] { return delivered.size() == kRequests; }));
  EXPECT_TRUE(allOnThisThread);
  const auto seen = server->Requests();
  ASSERT_EQ(seen.size(), static_cast<std::size_t>(kRequests));
  for (int i = 0; i < kRequests; ++i) {
    EXPECT_EQ(delivered[static_cast<std::size_t>(i)], "/" + std::to_string(i));
    EXPECT_EQ(seen[static_cast<std::size_t>(i)].path, "/" + std::to_string(i));
  }
}

TEST_F(HttpClientTest, AnUnreachableServerReportsLibcurlsError) {
  int port = 0;
  {
    auto server = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{}; });
    ASSERT_TRUE(server);
    port = server->port();
  }
  const auto outcome =
      Fetch(test::MakeRequest(HttpMethod::HTTP_GET, "http://127.0.0.1:" + std::to_string(port) + "/gone"));
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.statusCode, -1);
  EXPECT_NE(outcome.errorText.find("onnect"), std::string::npos) << outcome.errorText;
}

struct LimitCase {
  std::size_t urlSize;
  std::size_t bodySize;
  bool sent;
};

TEST_F(HttpClientTest, FieldsThatDoNotFitFailWithoutATransfer) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{}; });
  ASSERT_TRUE(server);
  const LimitCase cases[] = {{2047, 10, true}, {2048, 10, false}, {100, 1023, true}, {100, 1024, false}};
  for (const auto& testCase : cases) {
    SCOPED_TRACE("url " + std::to_string(testCase.urlSize) + ", body " + std::to_string(testCase.bodySize));
    std::string url = UrlOf(*server, "/");
    url.resize(testCase.urlSize, 'a');
    const auto before = server->Requests().size();
    const auto outcome = Fetch(test::MakeRequest(HttpMethod::HTTP_POST, url, std::string(testCase.bodySize, 'b')));
    EXPECT_EQ(outcome.succeeded, testCase.sent);
    EXPECT_EQ(server->Requests().size() - before, testCase.sent ? 1u : 0u);
    if (!testCase.sent) {
      EXPECT_EQ(outcome.statusCode, -1);
      EXPECT_NE(outcome.errorText.find("longer than"), std::string::npos) << outcome.errorText;
    }
  }
}

// Signals when the object that holds it (a callback's capture) is destroyed.
struct DestructionSignal {
  std::promise<void> destroyed;
  ~DestructionSignal() { destroyed.set_value(); }
};

TEST_F(HttpClientTest, DestroyingTheClientDuringATransferDiscardsItsWork) {
  std::promise<void> entered;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto server = test::LoopbackHttpServer::Start([&, released](const SeenRequest& seen) {
    if (seen.path == "/hold") {
      entered.set_value();
      released.wait();
    }
    return Reply{};
  });
  ASSERT_TRUE(server);

  bool anyCallback = false;
  std::vector<std::future<void>> destroyed;
  for (const char* path : {"/hold", "/queued"}) {
    auto signal = std::make_shared<DestructionSignal>();
    destroyed.push_back(signal->destroyed.get_future());
    auto request = test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*server, path));
    request->callback = [&anyCallback, signal](nbt::HttpResponse*) { anyCallback = true; };
    client_->Send(std::move(request));
  }
  entered.get_future().wait();
  delete client_;
  client_ = nullptr;
  release.set_value();

  // The worker finishes the transfer on its own state, then discards both requests.
  for (auto& future : destroyed) {
    ASSERT_EQ(future.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  }
  DeferredTaskQueue::Instance().RunPending();
  EXPECT_FALSE(anyCallback);
  const auto seen = server->Requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].path, "/hold");
}

TEST_F(HttpClientTest, InstanceIsOneClientUntilItIsDestroyed) {
  EXPECT_EQ(nbt::HttpClient::Instance(), client_);
  delete client_;
  client_ = nbt::HttpClient::Instance();
  EXPECT_NE(client_, nullptr);
  EXPECT_EQ(nbt::HttpClient::Instance(), client_);
}

TEST(HttpClientPosterTest, AClientOfItsOwnPostsOnlyToItsPosterAndNotAfterItIsDestroyed) {
  auto server = test::LoopbackHttpServer::Start([](const SeenRequest&) { return Reply{200, "mine", {}}; });
  ASSERT_TRUE(server);
  DeferredTaskQueue queue;
  auto client = std::make_unique<nbt::HttpClient>(queue);

  std::optional<std::string> body;
  auto request = test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*server, "/own"));
  request->callback = [&body](nbt::HttpResponse* response) { body = response->body; };
  client->Send(std::move(request));
  ASSERT_TRUE(test::DrainUntil(queue, [&] { return body.has_value(); }));
  EXPECT_EQ(*body, "mine");

  // A request still in flight when the client goes posts nothing to the queue: the worker finishes
  // it and then destroys it (and its callback) without a delivery.
  std::promise<void> entered;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto slow = test::LoopbackHttpServer::Start([&entered, released](const SeenRequest&) {
    entered.set_value();
    released.wait();
    return Reply{};
  });
  ASSERT_TRUE(slow);
  bool called = false;
  auto signal = std::make_shared<DestructionSignal>();
  auto destroyed = signal->destroyed.get_future();
  auto late = test::MakeRequest(HttpMethod::HTTP_GET, UrlOf(*slow, "/late"));
  late->callback = [&called, signal](nbt::HttpResponse*) { called = true; };
  signal.reset();
  client->Send(std::move(late));
  entered.get_future().wait();
  client.reset();
  release.set_value();
  ASSERT_EQ(destroyed.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  queue.RunPending();
  EXPECT_FALSE(called);
}

}  // namespace
