#include "platform/Process.h"

#include <csignal>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace platform {

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

std::wstring ExecutablePath() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::wstring() : PathFromNative(path.string());
}

}  // namespace platform
