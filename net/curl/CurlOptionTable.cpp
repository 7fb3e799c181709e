#include "net/curl/CurlOptionTable.h"

#include "net/curl/AppendToString.h"

namespace nbt {
namespace {

constexpr auto kRequired = OptionNeed::Required;
constexpr auto kOptional = OptionNeed::Optional;

void AddBodyOptions(const AttemptOptions& attempt, std::vector<CurlOption>& table) {
  const std::string& body = attempt.request->body;
  // A null body with size 0 sends no body and "Content-Length: 0".
  const char* data = body.empty() ? nullptr : body.c_str();
  table.push_back({CURLOPT_POSTFIELDS, data, kRequired});
  table.push_back({CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()), kRequired});
}

void AddMethodOptions(const AttemptOptions& attempt, std::vector<CurlOption>& table) {
  switch (attempt.request->method) {
    case HttpMethod::HTTP_GET:
      return;
    case HttpMethod::HTTP_POST:
      table.push_back({CURLOPT_POST, 1L, kRequired});
      AddBodyOptions(attempt, table);
      return;
    case HttpMethod::HTTP_PUT:
      table.push_back({CURLOPT_CUSTOMREQUEST, "PUT", kRequired});
      AddBodyOptions(attempt, table);
      return;
    case HttpMethod::HTTP_DELETE:
      table.push_back({CURLOPT_CUSTOMREQUEST, "DELETE", kRequired});
      return;
  }
}

}  // namespace

std::vector<CurlOption> BuildOptionTable(const AttemptOptions& attempt) {
  std::vector<CurlOption> table;
  table.push_back({CURLOPT_ERRORBUFFER, static_cast<void*>(attempt.errorBuffer), kRequired});
  table.push_back({CURLOPT_TIMEOUT, attempt.transferTimeoutSeconds, kRequired});
  table.push_back({CURLOPT_CONNECTTIMEOUT, attempt.connectTimeoutSeconds, kRequired});
  table.push_back({CURLOPT_NOSIGNAL, 1L, kOptional});
  if (attempt.headerLines != nullptr) {
    table.push_back({CURLOPT_HTTPHEADER, static_cast<void*>(attempt.headerLines), kRequired});
  }
  table.push_back({CURLOPT_FOLLOWLOCATION, 1L, kOptional});
  table.push_back({CURLOPT_MAXREDIRS, kMaxRedirects, kOptional});
  // Peer and host name are always verified: the installer runs what it downloads.
  table.push_back({CURLOPT_SSL_VERIFYPEER, 1L, kRequired});
  table.push_back({CURLOPT_SSL_VERIFYHOST, 2L, kRequired});
  if (attempt.caBundle[0] != '\0') table.push_back({CURLOPT_CAINFO, attempt.caBundle, kRequired});
  if (attempt.pinnedAddresses != nullptr) {
    table.push_back({CURLOPT_RESOLVE, static_cast<void*>(attempt.pinnedAddresses), kRequired});
  }
  table.push_back({CURLOPT_URL, attempt.request->url.c_str(), kRequired});
  table.push_back({CURLOPT_WRITEFUNCTION, &AppendToString, kRequired});
  table.push_back({CURLOPT_WRITEDATA, static_cast<void*>(attempt.body), kRequired});
  table.push_back({CURLOPT_HEADERFUNCTION, &AppendToString, kRequired});
  table.push_back({CURLOPT_HEADERDATA, static_cast<void*>(attempt.headers), kRequired});
  AddMethodOptions(attempt, table);
  return table;
}

std::optional<RejectedOption> ApplyOptionTable(const std::vector<CurlOption>& table, const OptionSetter& set) {
  for (const auto& entry : table) {
    const CURLcode code = set(entry);
    if (code != CURLE_OK && entry.need == OptionNeed::Required) return RejectedOption{entry.option, code};
  }
  return std::nullopt;
}

CURLcode SetCurlOption(CURL* handle, const CurlOption& option) {
  return std::visit([&](auto value) { return curl_easy_setopt(handle, option.option, value); }, option.value);
}

}  // namespace nbt
