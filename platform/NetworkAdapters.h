#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct NetworkAdapter {
  std::string name;
  bool isLoopback = false;
  std::vector<std::uint8_t> address;  // link-layer (hardware) address; its length varies by type
};

// The link-layer entries of the network interfaces in the order the system lists them.
// Empty optional when the list cannot be read.
std::optional<std::vector<NetworkAdapter>> ListNetworkAdapters();

}  // namespace platform
