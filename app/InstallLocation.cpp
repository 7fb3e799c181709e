#include "app/InstallLocation.h"

#include <optional>

#include "log/SetupLog.h"
#include "platform/LastError.h"
#include "platform/UserFolders.h"

namespace {

constexpr char kLogSource[] = "DlgMain";

std::wstring InFolder(const std::wstring& folder, const wchar_t* name) {
  return folder + L"/" + name;
}

bool FitsInstallFolderLimit(const std::wstring& installFolder) {
  return installFolder.size() <= kMaxInstallFolderChars;
}

void LogTooLong(const std::wstring& installFolder) {
  LGC_LOGW(L" install folder too long (%zu characters, at most %zu): %ls", installFolder.size(), kMaxInstallFolderChars,
           installFolder.c_str());
}

}  // namespace

std::wstring DefaultInstallFolder() {
  const auto programs = platform::GetSpecialFolder(platform::SpecialFolder::ProgramFiles);
  if (!programs) {
    LGC_LOGW(L" SHGetSpecialFolderPathW CSIDL_PROGRAM_FILESX86 ERROR!");
    return InFolder(L"", kInstallFolderName);
  }
  std::wstring folder = InFolder(*programs, kInstallFolderName);
  if (FitsInstallFolderLimit(folder)) return folder;
  LogTooLong(folder);
  return InFolder(L"", kInstallFolderName);
}

PickedFolder InstallFolderFromPicked(const std::wstring& picked) {
  if (picked.empty()) return {PickedFolderVerdict::NoPath, {}};
  std::wstring parent = picked;
  // A picked root ("/") loses its separator, so the install folder is "/lumogame".
  if (parent.rfind(L'/') == parent.size() - 1) parent.pop_back();
  std::wstring folder = InFolder(parent, kInstallFolderName);
  if (!FitsInstallFolderLimit(folder)) {
    LogTooLong(folder);
    return {PickedFolderVerdict::TooLong, {}};
  }
  return {PickedFolderVerdict::Accepted, std::move(folder)};
}

ProgramPaths MakeProgramPaths(const std::wstring& installFolder) {
  return {InFolder(installFolder, kMainExeFile), InFolder(installFolder, kLauncherFile),
          InFolder(installFolder, kUpdaterFile)};
}

DownloadPaths MakeDownloadPaths() {
  std::wstring localData;
  if (auto folder = platform::GetSpecialFolder(platform::SpecialFolder::LocalAppData)) {
    localData = std::move(*folder);
  } else {
    LGC_LOG("Get CSIDL_LOCAL_APPDATA Failed LastErrorID:%u", static_cast<unsigned>(platform::LastErrorCode()));
  }
  DownloadPaths paths;
  paths.tempFolder = localData + L"/lumogame-updater/" + L"temp/";
  paths.manifestPath = paths.tempFolder + kManifestFile;
  return paths;
}
