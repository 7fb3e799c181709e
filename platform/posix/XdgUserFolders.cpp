#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace platform {
namespace {

std::optional<std::string> AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  std::string path = value;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::optional<std::string> XdgFolder(const char* variable, const char* homeRelative) {
  if (auto path = AbsoluteEnv(variable)) return path;
  if (auto home = AbsoluteEnv("HOME")) return *home + "/" + homeRelative;
  return std::nullopt;
}

std::optional<std::string> NativeFolder(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::ProgramFiles:
      return XdgFolder("XDG_DATA_HOME", ".local/share");
    case SpecialFolder::RoamingAppData:
      return XdgFolder("XDG_CONFIG_HOME", ".config");
    case SpecialFolder::LocalAppData:
      return XdgFolder("XDG_CACHE_HOME", ".cache");
    case SpecialFolder::Autostart:
      if (auto config = XdgFolder("XDG_CONFIG_HOME", ".config")) return *config + "/autostart";
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> GetSpecialFolder(SpecialFolder folder) {
  const auto native = NativeFolder(folder);
  if (!native) return std::nullopt;
  std::error_code error;
  std::filesystem::create_directories(*native, error);
  if (!std::filesystem::is_directory(*native, error)) return std::nullopt;
  return PathFromNative(*native);
}

}  // namespace platform
