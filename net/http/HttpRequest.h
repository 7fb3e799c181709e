#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "net/http/HttpCallback.h"
#include "net/http/HttpMethod.h"

namespace nbt {

// One request. The caller fills it and hands it to HttpClient::Send, which owns it from then on.
struct HttpRequest {
  // Field sizes, terminator included. A request whose url or body does not fit fails without a
  // transfer; a DNS server list that does not fit is never tried.
  static constexpr std::size_t kUrlCapacity = 2048;
  static constexpr std::size_t kDnsServersCapacity = 128;
  static constexpr std::size_t kBodyCapacity = 1024;

  HttpMethod method = HttpMethod::HTTP_POST;
  std::string url;
  // The DNS server list of the current attempt, written by the client; empty for the first attempt.
  std::string dnsServers;
  // Sent by POST and PUT.
  std::string body;
  // Complete header lines ("Name: value"), sent in this order.
  std::vector<std::string> headerLines;
  HttpCallback callback;
};

}  // namespace nbt
