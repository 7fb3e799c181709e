#pragma once

#include <chrono>
#include <string>
#include <vector>

struct ares_channeldata;

namespace nbt {

struct AresLookup {
  // Addresses as text (IPv6 without brackets), in the order the answers gave them.
  std::vector<std::string> addresses;
  // Why there are none; empty when the lookup succeeded.
  std::string error;
};

// A c-ares resolver channel that asks only the DNS servers it is given: no hosts file, no search
// domains. Used by one thread at a time.
class AresChannel {
 public:
  AresChannel();
  AresChannel(const AresChannel&) = delete;
  AresChannel& operator=(const AresChannel&) = delete;
  ~AresChannel();

  // Takes a server list "host[:port],host[:port]..."; false when c-ares refuses it.
  bool UseServers(const std::string& servers);

  // Looks up the host's IPv4 and IPv6 addresses, waiting at most budget.
  AresLookup LookUp(const std::string& host, std::chrono::milliseconds budget);

 private:
  ares_channeldata* channel_ = nullptr;
  bool hasServers_ = false;
};

}  // namespace nbt
