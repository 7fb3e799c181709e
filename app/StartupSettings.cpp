#include "app/StartupSettings.h"

#include <optional>

#include "base/SystemUtilities.h"
#include "platform/ProfileFile.h"
#include "platform/StartupEntries.h"
#include "platform/UserFolders.h"

namespace {

constexpr wchar_t kLauncherEntry[] = L"lumogame";
constexpr wchar_t kUpdaterEntry[] = L"lgc_updater";
constexpr wchar_t kConfigFolder[] = L"/lumogame";
constexpr wchar_t kConfigFile[] = L"/setup_config.ini";
constexpr wchar_t kConfigSection[] = L"CONFIG";
constexpr wchar_t kQuietUpdateKey[] = L"updaterAutoStart";

// On: an entry that already runs exactly this path (letter case included) is left untouched; any
// other entry, or none, is written. Off: an entry in the plain form is removed; one that cannot be
// read is left in place.
void SetStartupEntry(const std::wstring& name, bool on, const std::wstring& programPath) {
  const auto entries = platform::StartupEntries::Open();
  if (!entries) return;
  const auto current = entries->Read(name);
  if (on) {
    if (current && *current == programPath) return;
    entries->Write(name, programPath);
    return;
  }
  if (current) entries->Remove(name);
}

void WriteQuietUpdateFlag(bool on) {
  const auto settings = platform::GetSpecialFolder(platform::SpecialFolder::RoamingAppData);
  if (!settings) return;
  const std::wstring folder = *settings + kConfigFolder;
  // The setup log's folder lives here too and is normally there already.
  if (!CreateDirectoryTree(folder)) return;
  platform::WriteProfileString(folder + kConfigFile, kConfigSection, kQuietUpdateKey, on ? L"1" : L"0");
}

}  // namespace

void SetRunAtStartup(bool on, const std::wstring& launcherPath) {
  SetStartupEntry(kLauncherEntry, on, launcherPath);
}

void SetQuietUpdate(bool on, const std::wstring& updaterPath) {
  SetStartupEntry(kUpdaterEntry, on, updaterPath);
  WriteQuietUpdateFlag(on);
}
