#pragma once

#include <chrono>
#include <string>

namespace nbt {

// The outcome of resolving a URL's host through a given DNS server list, ready for CURLOPT_RESOLVE.
// libcurl then connects to these addresses while the host name, the TLS name checks and the Host
// header stay those of the URL.
struct DnsPin {
  // c-ares took the server list.
  bool serversAccepted = false;
  // "host:port:address[,address...]"; empty when nothing is pinned (the host is an IP literal, the
  // URL has no host, or the list was refused and the system resolver is left to do it).
  std::string resolveEntry;
  // Set when the list was taken but the host could not be resolved through it.
  std::string error;
};

DnsPin PinHostThroughServers(const std::string& url, const std::string& servers, std::chrono::milliseconds budget);

}  // namespace nbt
