#include "platform/NetworkAdapters.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/socket.h>

namespace platform {

std::optional<std::vector<NetworkAdapter>> ListNetworkAdapters() {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return std::nullopt;
  std::vector<NetworkAdapter> adapters;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    NetworkAdapter adapter;
    adapter.name = entry->ifa_name;
    adapter.isLoopback = (entry->ifa_flags & IFF_LOOPBACK) != 0 || link->sll_hatype == ARPHRD_LOOPBACK;
    adapter.address.assign(link->sll_addr, link->sll_addr + link->sll_halen);
    adapters.push_back(std::move(adapter));
  }
  ::freeifaddrs(list);
  return adapters;
}

}  // namespace platform
