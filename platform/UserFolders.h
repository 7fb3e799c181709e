#pragma once

#include <optional>
#include <string>

namespace platform {

enum class SpecialFolder {
  ProgramFiles,    // where programs are installed: $XDG_DATA_HOME, else ~/.local/share
  RoamingAppData,  // the user's settings: $XDG_CONFIG_HOME, else ~/.config
  LocalAppData,    // machine-local data: $XDG_CACHE_HOME, else ~/.cache
  Autostart,       // log-on entries: the settings folder + "/autostart"
};

// The folder's path without a trailing separator, created with its parents when missing.
// Empty optional when neither the XDG variable nor HOME gives an absolute path, or when the
// folder cannot be created.
std::optional<std::wstring> GetSpecialFolder(SpecialFolder folder);

}  // namespace platform
