#include "net/http/DnsPin.h"

#include <ares.h>
#include <curl/curl.h>

#include <memory>
#include <optional>

#include "net/http/AresChannel.h"

namespace nbt {
namespace {

struct HostAndPort {
  std::string host;
  std::string port;
};

std::optional<std::string> UrlPart(CURLU* url, CURLUPart part, unsigned int flags) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, flags) != CURLUE_OK) return std::nullopt;
  std::string value = text;
  curl_free(text);
  return value;
}

std::optional<HostAndPort> ParseHostAndPort(const std::string& text) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
  if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), CURLU_GUESS_SCHEME) != CURLUE_OK) {
    return std::nullopt;
  }
  auto host = UrlPart(url.get(), CURLUPART_HOST, 0);
  auto port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (!host || !port || host->empty()) return std::nullopt;
  return HostAndPort{std::move(*host), std::move(*port)};
}

bool IsAddressLiteral(const std::string& host) {
  if (host.front() == '[') return true;
  unsigned char address[16];
  return ares_inet_pton(AF_INET, host.c_str(), address) == 1;
}

std::string ResolveEntry(const HostAndPort& target, const std::vector<std::string>& addresses) {
  std::string entry = target.host + ":" + target.port + ":";
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (i > 0) entry += ",";
    const bool v6 = addresses[i].find(':') != std::string::npos;
    entry += v6 ? "[" + addresses[i] + "]" : addresses[i];
  }
  return entry;
}

}  // namespace

DnsPin PinHostThroughServers(const std::string& url, const std::string& servers, std::chrono::milliseconds budget) {
  DnsPin pin;
  AresChannel channel;
  pin.serversAccepted = channel.UseServers(servers);
  if (!pin.serversAccepted) return pin;

  const auto target = ParseHostAndPort(url);
  if (!target || IsAddressLiteral(target->host)) return pin;

  AresLookup lookup = channel.LookUp(target->host, budget);
  if (!lookup.error.empty()) {
    pin.error = "Could not resolve host: " + target->host + " (" + lookup.error + ")";
    return pin;
  }
  pin.resolveEntry = ResolveEntry(*target, lookup.addresses);
  return pin;
}

}  // namespace nbt
