#pragma once

#include <curl/curl.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace test {

// One HTTP(S) request made with libcurl, the way the installer's own transfers see the answer.
struct FetchRequest {
  std::string method = "GET";  // GET, HEAD or POST
  std::string url;
  std::string body;       // sent for POST (empty: Content-Length 0)
  std::string range;      // "first-last" for a Range request; empty: none
  std::string caFile;     // trusted authorities for https; empty: libcurl's default
  long maxRedirects = 0;  // > 0: follow up to that many
  std::optional<std::chrono::milliseconds> timeout;
};

struct FetchResult {
  CURLcode code = CURLE_OK;
  long status = 0;      // of the last answer; 0 when none arrived
  std::string headers;  // every header line received, redirects included
  std::string body;
  curl_off_t contentLength = -1;  // what the last answer's headers announced; -1: nothing

  // The last answer's value of a header (names compared ignoring case); empty optional if absent.
  std::optional<std::string> Header(const std::string& name) const;
  // How many answers announced this status (e.g. redirects of a chain).
  int CountStatus(long wanted) const;
};

FetchResult Fetch(const FetchRequest& request);

}  // namespace test
