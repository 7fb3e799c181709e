#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace test {

// dnsmasq as a child process: a DNS server on a loopback address and port that knows only the
// given names and has no upstream, so no query ever leaves the machine.
class LoopbackDnsServer {
 public:
  using Record = std::pair<std::string, std::string>;  // name, IPv4 address

  // Starts it at "address:port" and waits until it answers the first record. Empty on failure
  // (the reason is printed).
  static std::unique_ptr<LoopbackDnsServer> Start(const std::string& address, int port,
                                                  const std::vector<Record>& records);
  ~LoopbackDnsServer();

 private:
  explicit LoopbackDnsServer(pid_t pid) : pid_(pid) {}
  pid_t pid_;
};

// "host:port" split; port 53 when none is given.
std::pair<std::string, int> SplitServerAddress(const std::string& server);

}  // namespace test
