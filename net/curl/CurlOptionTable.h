#pragma once

#include <curl/curl.h>

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "net/http/HttpRequest.h"

namespace nbt {

using CurlDataCallback = std::size_t (*)(char*, std::size_t, std::size_t, void*);
using CurlOptionValue = std::variant<long, const char*, void*, CurlDataCallback>;

// A required option that libcurl refuses fails the attempt before any transfer; the result of an
// optional one is ignored.
enum class OptionNeed { Required, Optional };

struct CurlOption {
  CURLoption option;
  CurlOptionValue value;
  OptionNeed need;
};

// What one attempt's options point at. Everything must outlive the transfer.
struct AttemptOptions {
  const HttpRequest* request = nullptr;
  long transferTimeoutSeconds = 0;
  long connectTimeoutSeconds = 0;
  char* errorBuffer = nullptr;            // CURL_ERROR_SIZE bytes
  curl_slist* headerLines = nullptr;      // null when the request has none
  curl_slist* pinnedAddresses = nullptr;  // CURLOPT_RESOLVE entries; null when none
  const char* caBundle = "";              // empty: the system's bundle
  std::string* body = nullptr;
  std::string* headers = nullptr;
};

inline constexpr long kMaxRedirects = 5;

// The options of one attempt, in the order they are set: the common ones, then the method's.
std::vector<CurlOption> BuildOptionTable(const AttemptOptions& attempt);

struct RejectedOption {
  CURLoption option;
  CURLcode code;
};

using OptionSetter = std::function<CURLcode(const CurlOption&)>;

// Sets the options in order and stops at the first required one that is refused.
std::optional<RejectedOption> ApplyOptionTable(const std::vector<CurlOption>& table, const OptionSetter& set);

// The real setter: curl_easy_setopt on handle.
CURLcode SetCurlOption(CURL* handle, const CurlOption& option);

}  // namespace nbt
