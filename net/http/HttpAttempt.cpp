#include "net/http/HttpAttempt.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "net/curl/CurlOptionTable.h"
#include "net/http/DnsPin.h"

namespace nbt {
namespace {

using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;
using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

void SetError(char* errorBuffer, const std::string& text) {
  std::snprintf(errorBuffer, CURL_ERROR_SIZE, "%s", text.c_str());
}

// curl_slist_append returns the list's head, which is new only for an empty list; on failure the
// old list stays intact.
bool AppendLine(CurlList& list, const std::string& line) {
  curl_slist* head = curl_slist_append(list.get(), line.c_str());
  if (head == nullptr) return false;
  if (!list) list.reset(head);
  return true;
}

bool BuildHeaderList(const HttpRequest& request, CurlList& list) {
  for (const auto& line : request.headerLines) {
    if (!AppendLine(list, line)) return false;
  }
  return true;
}

// Resolves the host through the request's DNS servers and pins what it found. False when the
// servers were taken but could not resolve the host: the attempt then fails like a transfer
// whose resolver found nothing.
bool PinThroughDnsServers(const AttemptSettings& settings, const HttpRequest& request, CurlList& pins) {
  const auto budget = std::chrono::seconds(settings.connectTimeoutSeconds);
  const DnsPin pin = PinHostThroughServers(request.url, request.dnsServers, budget);
  std::printf("set dns:%s result:%d\n", request.dnsServers.c_str(), pin.serversAccepted ? 1 : 0);
  std::fflush(stdout);
  if (!pin.error.empty()) {
    SetError(settings.errorBuffer, pin.error);
    return false;
  }
  if (!pin.resolveEntry.empty() && !AppendLine(pins, pin.resolveEntry)) {
    SetError(settings.errorBuffer, "out of memory for the pinned address");
    return false;
  }
  return true;
}

}  // namespace

bool RunAttempt(const AttemptSettings& settings, const HttpRequest& request, HttpResponse& response,
                std::int32_t& statusCode) {
  settings.errorBuffer[0] = '\0';
  // The lists are declared first so that the handle is cleaned up before they are freed.
  CurlList headerLines(nullptr, &curl_slist_free_all);
  CurlList pins(nullptr, &curl_slist_free_all);
  CurlHandle handle(curl_easy_init(), &curl_easy_cleanup);
  if (!handle) {
    SetError(settings.errorBuffer, "curl_easy_init failed");
    return false;
  }
  if (!BuildHeaderList(request, headerLines)) {
    SetError(settings.errorBuffer, "out of memory for the header lines");
    return false;
  }
  if (!request.dnsServers.empty() && !PinThroughDnsServers(settings, request, pins)) return false;

  AttemptOptions options;
  options.request = &request;
  options.transferTimeoutSeconds = settings.transferTimeoutSeconds;
  options.connectTimeoutSeconds = settings.connectTimeoutSeconds;
  options.errorBuffer = settings.errorBuffer;
  options.headerLines = headerLines.get();
  options.pinnedAddresses = pins.get();
  options.caBundle = settings.caBundle;
  options.body = &response.body;
  options.headers = &response.headers;
  const auto rejected = ApplyOptionTable(BuildOptionTable(options),
                                         [&](const CurlOption& option) { return SetCurlOption(handle.get(), option); });
  if (rejected) {
    SetError(settings.errorBuffer,
             "option " + std::to_string(rejected->option) + " refused: " + curl_easy_strerror(rejected->code));
    return false;
  }

  const CURLcode result = curl_easy_perform(handle.get());
  if (result != CURLE_OK) {
    if (settings.errorBuffer[0] == '\0') SetError(settings.errorBuffer, curl_easy_strerror(result));
    return false;
  }
  long code = 0;
  if (curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &code) != CURLE_OK) {
    SetError(settings.errorBuffer, "no response code");
    return false;
  }
  statusCode = static_cast<std::int32_t>(code);
  return code >= 200 && code < 300;
}

}  // namespace nbt
