#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/http/HttpClient.h"
#include "tests/net/DrainUntil.h"

namespace test {

// What a callback saw, copied out before the response is destroyed.
struct Outcome {
  bool succeeded = false;
  std::int32_t statusCode = 0;
  std::string body;
  std::string headers;
  std::string errorText;
};

inline std::unique_ptr<nbt::HttpRequest> MakeRequest(nbt::HttpMethod method, const std::string& url,
                                                     const std::string& body = {}) {
  auto request = std::make_unique<nbt::HttpRequest>();
  request->method = method;
  request->url = url;
  request->body = body;
  return request;
}

// Each test gets a fresh process client and destroys it at the end.
class HttpClientFixture : public ::testing::Test {
 protected:
  void TearDown() override { delete client_; }

  // Sends the request and drains the task queue until its callback has run.
  Outcome Fetch(std::unique_ptr<nbt::HttpRequest> request) {
    auto outcome = std::make_shared<std::optional<Outcome>>();
    request->callback = [outcome](nbt::HttpResponse* response) {
      *outcome =
          Outcome{response->succeeded, response->statusCode, response->body, response->headers, response->errorText};
    };
    client_->Send(std::move(request));
    EXPECT_TRUE(DrainUntil([&] { return outcome->has_value(); })) << "no delivery";
    return outcome->value_or(Outcome{});
  }

  nbt::HttpClient* client_ = nbt::HttpClient::Instance();
};

}  // namespace test
