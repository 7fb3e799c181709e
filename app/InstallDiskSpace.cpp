#include "app/InstallDiskSpace.h"

#include <cwchar>
#include <limits>

#include "platform/DiskSpace.h"

namespace {

// The label switches from MB to GB above this figure.
constexpr std::int32_t kLargestMBFigure = 1024;
constexpr std::size_t kLabelCapacity = 260;

// Whole MB; a figure beyond what the signed 32-bit member holds stays at its largest value
// instead of wrapping round to a small or negative one.
std::int32_t MegabytesOf(std::uint64_t bytes) {
  const std::uint64_t megabytes = bytes >> 20;
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(megabytes > kLargest ? kLargest : megabytes);
}

}  // namespace

std::wstring DiskSpaceLabel(std::int32_t freeSpaceMB) {
  wchar_t text[kLabelCapacity];
  if (freeSpaceMB > kLargestMBFigure) {
    std::swprintf(text, kLabelCapacity, L"安装大约需要%dMB,当前可用空间%dGB", kRequiredSpaceMB, freeSpaceMB / 1024);
  } else {
    std::swprintf(text, kLabelCapacity, L"安装大约需要%dMB,当前可用空间%dMB", kRequiredSpaceMB, freeSpaceMB);
  }
  return text;
}

bool HasRequiredSpace(std::int32_t freeSpaceMB) {
  return freeSpaceMB >= kRequiredSpaceMB;
}

std::optional<DiskSpaceReading> MeasureDiskSpace(const std::wstring& installFolder, const FreeBytesSource& freeBytes) {
  // Only an absolute path names a file system, as only a path with a drive does elsewhere.
  if (installFolder.empty() || installFolder.front() != L'/') return std::nullopt;
  const auto bytes = freeBytes(installFolder);
  if (!bytes) return std::nullopt;
  DiskSpaceReading reading;
  reading.freeSpaceMB = MegabytesOf(*bytes);
  reading.label = DiskSpaceLabel(reading.freeSpaceMB);
  return reading;
}

std::optional<DiskSpaceReading> MeasureDiskSpace(const std::wstring& installFolder) {
  return MeasureDiskSpace(installFolder, platform::TotalFreeBytes);
}
