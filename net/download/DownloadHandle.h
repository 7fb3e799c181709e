#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

namespace nbt {

class StatusCell;

struct DownloadHandleDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

// A libcurl easy handle of the downloader; closes itself.
using DownloadHandle = std::unique_ptr<CURL, DownloadHandleDeleter>;

// The connection rules every transfer of the downloader follows: a 30 s connect and a 30 s
// transfer time-out, at most 5 redirects, http and https only, certificates and host names
// verified against caBundle (the system's authorities when empty). A transfer also ends as soon
// as status leaves DOWNLOADING, so that a stop request does not wait for a slow server.
// Empty when libcurl cannot make a handle.
DownloadHandle MakeDownloadHandle(const std::string& url, const std::string& caBundle, const StatusCell& status);

}  // namespace nbt
