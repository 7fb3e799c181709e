#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The free space shown under the install folder, and the space an installation needs.

inline constexpr std::int32_t kRequiredSpaceMB = 300;
// The figure before the first measurement: below the required space, so that "继续" is refused
// until a measurement has succeeded.
inline constexpr std::int32_t kUnmeasuredFreeSpaceMB = 0;

struct DiskSpaceReading {
  std::int32_t freeSpaceMB = kUnmeasuredFreeSpaceMB;  // all free bytes of the file system ÷ 2^20
  std::wstring label;                                 // the text of the size label
};

// Gives the free bytes of the file system of a path; empty when it cannot be measured.
using FreeBytesSource = std::function<std::optional<std::uint64_t>(const std::wstring& path)>;

// Measures the file system that holds installFolder (or would hold it: a folder that does not
// exist yet is measured on its nearest existing ancestor). Empty when it cannot be measured, for
// example for a text that is no absolute path: the window then keeps its figure and label as they
// were.
std::optional<DiskSpaceReading> MeasureDiskSpace(const std::wstring& installFolder);
std::optional<DiskSpaceReading> MeasureDiskSpace(const std::wstring& installFolder, const FreeBytesSource& freeBytes);

// "安装大约需要300MB,当前可用空间…MB", or "…GB" (whole GB, rounded down) above 1024 MB.
std::wstring DiskSpaceLabel(std::int32_t freeSpaceMB);

// Whether an installation may go on with this much free space.
bool HasRequiredSpace(std::int32_t freeSpaceMB);
