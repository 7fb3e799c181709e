#pragma once

#include <cstddef>
#include <string>

#include "base/SystemUtilities.h"

// The install folder, the programs inside it and the folder the release is downloaded into. The
// window keeps the install folder as the text of its folder label; these functions only turn texts
// into texts.

inline constexpr wchar_t kInstallFolderName[] = L"lumogame";
inline constexpr wchar_t kMainExeFile[] = L"lumogame.exe";
inline constexpr wchar_t kLauncherFile[] = L"lumogc_launcher.exe";
inline constexpr wchar_t kUpdaterFile[] = L"agent/lgc_auto_updater.exe";
inline constexpr wchar_t kManifestFile[] = L"latest.yml";

// The longest install folder whose program paths (folder + "/" + the longest file part) still fit a
// path of kMaxPathChars characters, terminator included.
inline constexpr std::size_t kMaxInstallFolderChars =
    kMaxPathChars - 1 - (1 + std::char_traits<wchar_t>::length(kUpdaterFile));

// The folder shown when the window starts: the user's program folder + "/lumogame". When that
// folder cannot be had (or the result would be too long) the failure is logged and the text is
// "/lumogame".
std::wstring DefaultInstallFolder();

enum class PickedFolderVerdict {
  Accepted,  // installFolder holds the new install folder
  NoPath,    // the picker gave no path: nothing changes
  TooLong,   // the install folder would be too long: nothing changes (logged)
};

struct PickedFolder {
  PickedFolderVerdict verdict = PickedFolderVerdict::NoPath;
  std::wstring installFolder;
};

// The install folder for a folder the user picked: "/lumogame" is always appended (to "/" as to any
// other folder, and also when the picked folder already ends in "lumogame"), so the picked folder is
// the parent of the install folder.
PickedFolder InstallFolderFromPicked(const std::wstring& picked);

struct ProgramPaths {
  std::wstring mainExePath;
  std::wstring launcherPath;
  std::wstring updaterPath;
};

ProgramPaths MakeProgramPaths(const std::wstring& installFolder);

struct DownloadPaths {
  std::wstring tempFolder;  // ends with "/"; made by the downloader, not here
  std::wstring manifestPath;
};

// The local data folder + "/lumogame-updater/temp/" and the manifest in it. When the local data
// folder cannot be had, the failure is logged and the paths begin at "/lumogame-updater/", where a
// user cannot write, so the downloads fail instead of writing somewhere unexpected.
DownloadPaths MakeDownloadPaths();
