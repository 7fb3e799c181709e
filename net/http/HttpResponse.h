#pragma once

#include <cstdint>
#include <string>

namespace nbt {

struct HttpRequest;

// The result of one request, made by the client's worker.
struct HttpResponse {
  // The originating request; valid while the callback runs.
  HttpRequest* request = nullptr;
  // The last attempt completed with a response code from 200 to 299.
  bool succeeded = false;
  // Body and header lines (redirect responses included) of the final attempt.
  std::string body;
  std::string headers;
  // Response code of the last attempt that completed a transfer; -1 when none did.
  std::int32_t statusCode = -1;
  // On failure, libcurl's (or the resolver's) text for the final attempt; empty on success, and
  // also when the final attempt completed with a code outside 200 to 299 (statusCode tells).
  std::string errorText;
};

}  // namespace nbt
