#include "log/SetupLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/SystemUtilities.h"
#include "log/LogRotation.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/UserFolders.h"
#include "platform/Text.h"

namespace {

// Sizes of the formatting buffers, terminator included.
constexpr size_t kMessageBufferBytes = 4096;
constexpr size_t kWideMessageBufferChars = 4096;
constexpr size_t kLineBufferBytes = 4096;
constexpr char kLineEnd[] = "\r\n";

struct LogState {
  std::wstring path;
  platform::File file;
  std::uint32_t processId = 0;
};

std::mutex logMutex;
std::unique_ptr<LogState> logState;  // guarded by logMutex; empty while the log is closed

std::optional<LogState> OpenLog() {
  const platform::LocalTime now = platform::GetLocalTime();
  const auto roaming = platform::GetSpecialFolder(platform::SpecialFolder::RoamingAppData);
  if (!roaming) return std::nullopt;

  const std::wstring folder = *roaming + L"/lumogame/setupLogs/";
  CreateDirectoryTree(folder);
  RotateLogFolder(folder);

  wchar_t name[32];
  std::swprintf(name, std::size(name), L"setup_log_%04hu%02hu%02hu.log", now.year, now.month, now.day);
  const std::wstring path = folder + name;
  if (path.size() >= kMaxPathChars) return std::nullopt;

  auto file = platform::File::Open(path, platform::FileOpen::OpenAlways);
  if (!file) return std::nullopt;
  return LogState{path, std::move(*file), platform::CurrentProcessId()};
}

// Caller holds logMutex.
bool EnsureOpen() {
  if (logState) return true;
  auto opened = OpenLog();
  if (!opened) return false;
  logState = std::make_unique<LogState>(std::move(*opened));
  return true;
}

// Caller holds logMutex and the log is open.
void AppendLine(std::string_view message) {
  const platform::LocalTime now = platform::GetLocalTime();
  char prefix[96];
  const int prefixLength = std::snprintf(
      prefix, sizeof prefix, "%04hu-%02hu-%02hu_%02hu:%02hu:%02hu:%03hu [LGC_SETUP:%lu] ", now.year, now.month, now.day,
      now.hour, now.minute, now.second, now.millisecond, static_cast<unsigned long>(logState->processId));
  // The whole line, line end included, fits the line buffer; a longer message is cut before a
  // character so the line still ends properly.
  const size_t room = kLineBufferBytes - 1 - static_cast<size_t>(prefixLength) - (sizeof kLineEnd - 1);
  message = message.substr(0, platform::MultiByteCharacterBoundary(message, room));

  std::string line;
  line.reserve(static_cast<size_t>(prefixLength) + message.size() + 2);
  line.append(prefix, static_cast<size_t>(prefixLength)).append(message).append(kLineEnd);
  logState->file.Append(line);
}

void WriteMessage(std::string_view message) {
  std::lock_guard lock(logMutex);
  if (!EnsureOpen()) return;
  AppendLine(message);
}

}  // namespace

void WriteLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string message;
  if (length > 0) {
    message.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(message.data(), message.size(), format, args);
    message.resize(static_cast<size_t>(length));
  }
  va_end(args);
  if (length < 0) return;
  message.resize(platform::MultiByteCharacterBoundary(message, kMessageBufferBytes - 1));
  WriteMessage(message);
}

void WriteLogW(const wchar_t* format, ...) {
  wchar_t buffer[kWideMessageBufferChars] = {};
  va_list args;
  va_start(args, format);
  // An over-long message makes vswprintf report failure but leaves the leading part, terminated,
  // in the buffer: that part is what the log keeps.
  std::vswprintf(buffer, std::size(buffer), format, args);
  va_end(args);
  buffer[std::size(buffer) - 1] = L'\0';
  WriteMessage(WideToAnsi(buffer));
}

void CloseLog() {
  std::lock_guard lock(logMutex);
  logState.reset();
}
