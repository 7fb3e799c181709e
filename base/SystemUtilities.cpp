#include "base/SystemUtilities.h"

#include <algorithm>
#include <cstdio>

#include "platform/Files.h"
#include "platform/Text.h"

std::string WideToAnsi(std::wstring_view text) {
  return platform::WideToMultiByte(text);
}

std::wstring Utf8ToWide(std::string_view text) {
  return platform::Utf8ToWideText(text);
}

bool CreateDirectoryTree(const std::wstring& path) {
  if (path.empty()) return false;
  if (platform::PathExists(path)) return true;
  // The walk works on the path plus one appended separator, all of which must fit the caller's
  // fixed buffer with its terminator.
  if (path.size() + 2 > kMaxPathChars) return false;

  const std::wstring walk = path + platform::kPathSeparator;
  for (size_t position = 0; position < walk.size(); ++position) {
    if (walk[position] != platform::kPathSeparator) continue;
    // The empty prefix before a leading separator is the file-system root, which always exists.
    if (position == 0) continue;
    const std::wstring prefix = walk.substr(0, position);
    if (!platform::PathExists(prefix) && !platform::MakeDirectory(prefix)) return false;
  }
  return true;
}

namespace {

constexpr size_t kHardwareAddressLength = 6;

bool Qualifies(const platform::NetworkAdapter& adapter) {
  if (adapter.isLoopback || adapter.address.size() != kHardwareAddressLength) return false;
  return std::any_of(adapter.address.begin(), adapter.address.end(), [](auto byte) { return byte != 0; });
}

}  // namespace

bool MakeClientId(std::string& out, const std::vector<platform::NetworkAdapter>& adapters) {
  const auto found = std::find_if(adapters.begin(), adapters.end(), Qualifies);
  if (found == adapters.end()) return false;
  std::string id;
  for (const auto byte : found->address) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", byte);
    id += digits;
  }
  out = id;
  return true;
}

bool MakeClientId(std::string& out) {
  const auto adapters = platform::ListNetworkAdapters();
  return adapters && MakeClientId(out, *adapters);
}
