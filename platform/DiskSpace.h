#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The free bytes of the file system that holds path: all of its free space, not only the share
// this user may fill. A path that does not exist yet is measured on its nearest existing ancestor.
// Empty when path is not absolute (it names no file system) or nothing on the way can be measured.
std::optional<std::uint64_t> TotalFreeBytes(const std::wstring& path);

}  // namespace platform
