#include "platform/ProfileFile.h"

#include <glib.h>
#include <sys/stat.h>

#include <string_view>

#include "platform/Text.h"
#include "platform/posix/GLibOwners.h"

namespace platform {
namespace {

// A new file gets the permissions of an ordinary settings file (less the user's umask).
constexpr int kNewFileMode = 0666;

bool LoadKeepingEverything(GKeyFile* file, const std::string& path) {
  GError* error = nullptr;
  if (g_key_file_load_from_file(file, path.c_str(),
                                static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS),
                                &error)) {
    return true;
  }
  const bool missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
  g_error_free(error);
  return missing;
}

// The key file rejects names that would not read back as the same section and key.
bool IsSectionName(std::string_view name) {
  return !name.empty() && name.find_first_of("[]\r\n") == std::string_view::npos;
}

bool IsKeyName(std::string_view name) {
  return !name.empty() && name.front() != ' ' && name.back() != ' ' &&
         name.find_first_of("=[]\r\n") == std::string_view::npos;
}

int ModeToKeep(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return kNewFileMode;
  return static_cast<int>(info.st_mode & 07777);
}

}  // namespace

bool WriteProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  const std::string sectionName = WideToUtf8(section);
  const std::string keyName = WideToUtf8(key);
  if (!IsSectionName(sectionName) || !IsKeyName(keyName)) return false;
  const std::string native = NativePath(path);
  posix::KeyFile file(g_key_file_new());
  if (!LoadKeepingEverything(file.get(), native)) return false;
  g_key_file_set_string(file.get(), sectionName.c_str(), keyName.c_str(), WideToUtf8(value).c_str());
  gsize length = 0;
  const posix::GLibText data(g_key_file_to_data(file.get(), &length, nullptr));
  if (!data) return false;
  return g_file_set_contents_full(
      native.c_str(), data.get(), static_cast<gssize>(length),
      static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT | G_FILE_SET_CONTENTS_DURABLE),
      ModeToKeep(native), nullptr);
}

}  // namespace platform
