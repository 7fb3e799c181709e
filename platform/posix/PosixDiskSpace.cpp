#include "platform/DiskSpace.h"

#include <sys/statvfs.h>

#include <limits>

#include "platform/Text.h"

namespace platform {
namespace {

// "/a/b/" → "/a", "/a" → "/".
std::string LexicalParent(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const auto slash = path.rfind('/');
  path.erase(slash == 0 ? 1 : slash);
  return path;
}

std::uint64_t FreeBytes(const struct statvfs& info) {
  const std::uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
  const std::uint64_t blocks = info.f_bfree;
  if (unit != 0 && blocks > std::numeric_limits<std::uint64_t>::max() / unit) {
    return std::numeric_limits<std::uint64_t>::max();
  }
  return blocks * unit;
}

}  // namespace

std::optional<std::uint64_t> TotalFreeBytes(const std::wstring& path) {
  std::string native = NativePath(path);
  if (native.empty() || native.front() != '/') return std::nullopt;
  // Whatever stops a folder from being measured (it does not exist yet, a part of it is a file or
  // may not be looked into), its nearest ancestor that can be measured holds it.
  for (;;) {
    struct statvfs info {};
    if (::statvfs(native.c_str(), &info) == 0) return FreeBytes(info);
    if (native == "/") return std::nullopt;
    native = LexicalParent(std::move(native));
  }
}

}  // namespace platform
