#pragma once

#include <cstdint>

#include "net/http/HttpRequest.h"
#include "net/http/HttpResponse.h"

namespace nbt {

struct AttemptSettings {
  long connectTimeoutSeconds = 0;
  long transferTimeoutSeconds = 0;
  char* errorBuffer = nullptr;  // CURL_ERROR_SIZE bytes; holds the attempt's failure text
  const char* caBundle = "";    // empty: the system's bundle
};

// One attempt with a fresh easy handle, no connection reused. With a DNS server list in the
// request, the host is resolved through that list first and the address pinned for the transfer;
// "set dns:<list> result:<1|0>" then goes to standard output. Writes the response body and header
// text, and statusCode when a transfer completed. True when the code is from 200 to 299.
bool RunAttempt(const AttemptSettings& settings, const HttpRequest& request, HttpResponse& response,
                std::int32_t& statusCode);

}  // namespace nbt
