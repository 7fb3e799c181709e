#include "net/http/AresChannel.h"

#include <ares.h>

#include <array>
#include <mutex>
#include <vector>

#include "platform/SocketWait.h"

namespace nbt {
namespace {

// Each server gets this long per query and this many tries before the next one is asked.
constexpr int kQueryTimeoutMilliseconds = 1000;
constexpr int kQueryTries = 2;
// DNS only: the hosts file is the system resolver's business.
constexpr char kLookups[] = "b";

bool EnsureAresLibrary() {
  static std::once_flag once;
  static int status = ARES_ENOTINITIALIZED;
  std::call_once(once, [] { status = ares_library_init(ARES_LIB_INIT_ALL); });
  return status == ARES_SUCCESS;
}

struct PendingLookup {
  bool done = false;
  int status = ARES_SUCCESS;
  std::vector<std::string> addresses;
};

std::string AddressText(const ares_addrinfo_node* node) {
  std::array<char, 64> text{};
  const void* address = nullptr;
  if (node->ai_family == AF_INET) address = &reinterpret_cast<const sockaddr_in*>(node->ai_addr)->sin_addr;
  if (node->ai_family == AF_INET6) address = &reinterpret_cast<const sockaddr_in6*>(node->ai_addr)->sin6_addr;
  if (address == nullptr) return {};
  if (ares_inet_ntop(node->ai_family, address, text.data(), text.size()) == nullptr) return {};
  return text.data();
}

void OnLookupDone(void* argument, int status, int /*timeouts*/, ares_addrinfo* result) {
  auto* lookup = static_cast<PendingLookup*>(argument);
  lookup->done = true;
  lookup->status = status;
  if (result == nullptr) return;
  for (const ares_addrinfo_node* node = result->nodes; node != nullptr; node = node->ai_next) {
    std::string address = AddressText(node);
    if (address.empty()) continue;
    bool seen = false;
    for (const auto& known : lookup->addresses) seen = seen || known == address;
    if (!seen) lookup->addresses.push_back(std::move(address));
  }
  ares_freeaddrinfo(result);
}

// Lets c-ares read and write its sockets once, or handle its time-outs when none is ready.
void ServeChannelOnce(ares_channel channel, std::chrono::milliseconds waitLimit) {
  std::array<ares_socket_t, ARES_GETSOCK_MAXNUM> sockets{};
  const int mask = ares_getsock(channel, sockets.data(), static_cast<int>(sockets.size()));
  std::vector<platform::SocketInterest> interests;
  for (int i = 0; i < ARES_GETSOCK_MAXNUM; ++i) {
    const bool read = ARES_GETSOCK_READABLE(mask, i);
    const bool write = ARES_GETSOCK_WRITABLE(mask, i);
    if (read || write) interests.push_back({sockets[static_cast<std::size_t>(i)], read, write});
  }

  timeval limit{static_cast<time_t>(waitLimit.count() / 1000),
                static_cast<suseconds_t>(waitLimit.count() % 1000 * 1000)};
  timeval next{};
  const timeval* wait = ares_timeout(channel, &limit, &next);
  const auto waitFor = std::chrono::milliseconds(wait->tv_sec * 1000 + wait->tv_usec / 1000);

  if (platform::WaitForSockets(interests, waitFor) != platform::SocketWaitResult::Ready) {
    ares_process_fd(channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD);
    return;
  }
  for (const auto& interest : interests) {
    ares_process_fd(channel, interest.readable ? interest.socket : ARES_SOCKET_BAD,
                    interest.writable ? interest.socket : ARES_SOCKET_BAD);
  }
}

}  // namespace

AresChannel::AresChannel() {
  if (!EnsureAresLibrary()) return;
  ares_options options{};
  options.flags = ARES_FLAG_NOSEARCH | ARES_FLAG_NOALIASES;
  options.timeout = kQueryTimeoutMilliseconds;
  options.tries = kQueryTries;
  options.lookups = const_cast<char*>(kLookups);
  const int mask = ARES_OPT_FLAGS | ARES_OPT_TIMEOUTMS | ARES_OPT_TRIES | ARES_OPT_LOOKUPS;
  if (ares_init_options(&channel_, &options, mask) != ARES_SUCCESS) channel_ = nullptr;
}

AresChannel::~AresChannel() {
  if (channel_ != nullptr) ares_destroy(channel_);
}

bool AresChannel::UseServers(const std::string& servers) {
  if (channel_ == nullptr || servers.empty()) return false;
  hasServers_ = ares_set_servers_ports_csv(channel_, servers.c_str()) == ARES_SUCCESS;
  return hasServers_;
}

AresLookup AresChannel::LookUp(const std::string& host, std::chrono::milliseconds budget) {
  if (channel_ == nullptr) return {{}, "the resolver could not be set up"};
  if (!hasServers_) return {{}, "no DNS servers to ask"};

  ares_addrinfo_hints hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_flags = ARES_AI_NOSORT;
  PendingLookup lookup;
  ares_getaddrinfo(channel_, host.c_str(), nullptr, &hints, &OnLookupDone, &lookup);

  const auto deadline = std::chrono::steady_clock::now() + budget;
  while (!lookup.done) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      ares_cancel(channel_);  // completes the lookup with ARES_ECANCELLED
      break;
    }
    ServeChannelOnce(channel_, left);
  }

  if (lookup.status == ARES_SUCCESS && !lookup.addresses.empty()) return {std::move(lookup.addresses), {}};
  if (lookup.status == ARES_ECANCELLED) return {{}, "no answer in time"};
  if (lookup.status == ARES_SUCCESS) return {{}, "no address"};
  return {{}, ares_strerror(lookup.status)};
}

}  // namespace nbt
