#include "log/LogRotation.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <vector>

#include "platform/DebugTrace.h"
#include "platform/Files.h"

namespace {

struct ListedLog {
  std::uint64_t lastWriteSeconds = 0;
  std::wstring name;
};

// The "*.log" pattern, matched without regard to case: "SETUP_LOG_X.LOG" counts as a log file too.
bool HasLogExtension(const std::wstring& name) {
  static constexpr std::wstring_view kExtension = L".log";
  if (name.size() < kExtension.size()) return false;
  return std::equal(kExtension.begin(), kExtension.end(), name.end() - kExtension.size(), [](wchar_t a, wchar_t b) {
    return static_cast<wint_t>(a) == std::towlower(static_cast<wint_t>(b));
  });
}

}  // namespace

void RotateLogFolder(const std::wstring& folder) {
  const auto entries = platform::ListDirectory(folder);
  const bool anyMatch =
      entries && std::any_of(entries->begin(), entries->end(), [](const auto& e) { return HasLogExtension(e.name); });
  if (!anyMatch) {
    platform::DebugTrace("FindFirstFileW failed \n");
    return;
  }

  std::vector<ListedLog> logs;
  for (const auto& entry : *entries) {
    if (!HasLogExtension(entry.name)) continue;
    if (entry.isDirectory) {
      platform::DebugTrace("this is a directory so do noting just continue \n");
      continue;
    }
    logs.push_back({entry.lastWriteSeconds, entry.name});
  }
  platform::DebugTrace(L"all file has been list \n");

  if (logs.size() <= kKeptLogFiles) return;
  std::stable_sort(logs.begin(), logs.end(),
                   [](const auto& a, const auto& b) { return a.lastWriteSeconds < b.lastWriteSeconds; });
  const size_t excess = logs.size() - kKeptLogFiles;
  for (size_t i = 0; i < excess; ++i) {
    const std::wstring path = folder + logs[i].name;
    platform::ClearFileAttributes(path);
    platform::DeleteFileAt(path);
  }
}
