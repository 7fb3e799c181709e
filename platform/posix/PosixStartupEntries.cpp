#include "platform/StartupEntries.h"

#include <glib.h>
#include <unistd.h>

#include "platform/Text.h"
#include "platform/UserFolders.h"
#include "platform/posix/DesktopEntryExec.h"
#include "platform/posix/GLibOwners.h"

namespace platform {
namespace {

constexpr char kGroup[] = "Desktop Entry";

using posix::KeyFile;
using GText = posix::GLibText;

GText StringOf(GKeyFile* file, const char* key) {
  return GText(g_key_file_get_string(file, kGroup, key, nullptr));
}

// True when the key is there and reads as the boolean value.
bool HasBoolean(GKeyFile* file, const char* key, bool value) {
  GError* error = nullptr;
  const bool read = g_key_file_get_boolean(file, kGroup, key, &error);
  if (error != nullptr) {
    const bool missing = g_error_matches(error, G_KEY_FILE_ERROR, G_KEY_FILE_ERROR_KEY_NOT_FOUND);
    g_error_free(error);
    // A value that is no boolean at all is not plain either way.
    return !missing;
  }
  return read == value;
}

bool IsFileName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find(L'/') == std::wstring::npos &&
         name.find(L'\0') == std::wstring::npos;
}

}  // namespace

std::optional<StartupEntries> StartupEntries::Open() {
  auto folder = GetSpecialFolder(SpecialFolder::Autostart);
  if (!folder) return std::nullopt;
  return StartupEntries(std::move(*folder));
}

std::optional<std::wstring> StartupEntries::EntryPath(const std::wstring& name) const {
  if (!IsFileName(name)) return std::nullopt;
  return folder_ + L"/" + name + L".desktop";
}

std::optional<std::wstring> StartupEntries::Read(const std::wstring& name) const {
  const auto path = EntryPath(name);
  if (!path) return std::nullopt;
  KeyFile file(g_key_file_new());
  if (!g_key_file_load_from_file(file.get(), NativePath(*path).c_str(), G_KEY_FILE_NONE, nullptr)) return std::nullopt;
  const GText type = StringOf(file.get(), "Type");
  if (!type || std::string_view(type.get()) != "Application") return std::nullopt;
  // Entries switched off by the desktop do not start their program.
  if (HasBoolean(file.get(), "Hidden", true) || HasBoolean(file.get(), "X-GNOME-Autostart-enabled", false)) {
    return std::nullopt;
  }
  const GText exec = StringOf(file.get(), "Exec");
  if (!exec) return std::nullopt;
  const auto program = posix::ProgramOfExec(exec.get());
  if (!program) return std::nullopt;
  return PathFromNative(*program);
}

bool StartupEntries::Write(const std::wstring& name, const std::wstring& programPath) const {
  const auto path = EntryPath(name);
  if (!path) return false;
  KeyFile file(g_key_file_new());
  g_key_file_set_string(file.get(), kGroup, "Type", "Application");
  g_key_file_set_string(file.get(), kGroup, "Name", WideToUtf8(name).c_str());
  g_key_file_set_string(file.get(), kGroup, "Exec", posix::ExecOfProgram(NativePath(programPath)).c_str());
  gsize length = 0;
  const GText data(g_key_file_to_data(file.get(), &length, nullptr));
  if (!data) return false;
  return g_file_set_contents(NativePath(*path).c_str(), data.get(), static_cast<gssize>(length), nullptr);
}

bool StartupEntries::Remove(const std::wstring& name) const {
  const auto path = EntryPath(name);
  return path && ::unlink(NativePath(*path).c_str()) == 0;
}

}  // namespace platform
