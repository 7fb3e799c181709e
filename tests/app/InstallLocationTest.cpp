#include "app/InstallLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "app/InstallDiskSpace.h"
#include "log/SetupLog.h"
#include "platform/Text.h"
#include "tests/support/LogFiles.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) {
  return platform::PathFromNative(path.string());
}

std::string Narrow(const std::wstring& text) {
  return platform::WideToUtf8(text);
}

class InstallLocationTest : public testing::Test {
 protected:
  ~InstallLocationTest() override { CloseLog(); }

  // Takes a folder variable away, and HOME with it, so that the folder cannot be had.
  void Unset(const char* variable) {
    ::unsetenv(variable);
    ::unsetenv("HOME");
  }

  std::vector<std::string> LogMessages() {
    CloseLog();
    return test::LogMessages(test::TodaysLog(home_.config()));
  }

  test::TempHome home_;
};

TEST_F(InstallLocationTest, DefaultFolderIsTheUsersProgramFolderPlusLumogame) {
  EXPECT_EQ(DefaultInstallFolder(), Wide(home_.data() / "lumogame"));
  EXPECT_TRUE(fs::is_directory(home_.data()));
  EXPECT_FALSE(fs::exists(home_.data() / "lumogame")) << "the package makes the install folder";
}

TEST_F(InstallLocationTest, DefaultFolderThatCannotBeHadIsLoggedAndLeavesSlashLumogame) {
  Unset("XDG_DATA_HOME");
  EXPECT_EQ(DefaultInstallFolder(), L"/lumogame");
  const auto messages = LogMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(std::regex_match(messages[0],
                               std::regex(R"(\[DlgMain:\d+\] SHGetSpecialFolderPathW CSIDL_PROGRAM_FILESX86 ERROR!)")))
      << messages[0];
}

TEST_F(InstallLocationTest, PickedFolderIsTheParentOfTheInstallFolder) {
  struct Case {
    const wchar_t* picked;
    const wchar_t* installFolder;
  };
  const Case cases[] = {
      {L"/", L"/lumogame"},
      {L"/home/u/Games", L"/home/u/Games/lumogame"},
      {L"/home/u/Games/lumogame", L"/home/u/Games/lumogame/lumogame"},
      {L"/home/u/My Games/游戏/", L"/home/u/My Games/游戏/lumogame"},
  };
  for (const auto& [picked, installFolder] : cases) {
    const auto result = InstallFolderFromPicked(picked);
    EXPECT_EQ(result.verdict, PickedFolderVerdict::Accepted) << Narrow(picked);
    EXPECT_EQ(result.installFolder, installFolder) << Narrow(picked);
  }
  EXPECT_EQ(InstallFolderFromPicked(L"").verdict, PickedFolderVerdict::NoPath);
  EXPECT_TRUE(LogMessages().empty());
}

// The install folder with "/agent/lgc_auto_updater.exe" must fit 259 characters.
TEST_F(InstallLocationTest, PickedFolderTooLongIsRefusedAndLogged) {
  ASSERT_EQ(kMaxInstallFolderChars, 232u);
  const std::wstring longest =
      L"/" + std::wstring(kMaxInstallFolderChars - 1 - std::wstring(L"/lumogame").size(), L'游');
  const auto fits = InstallFolderFromPicked(longest);
  ASSERT_EQ(fits.verdict, PickedFolderVerdict::Accepted);
  EXPECT_EQ(fits.installFolder.size(), kMaxInstallFolderChars);
  EXPECT_EQ(MakeProgramPaths(fits.installFolder).updaterPath.size(), kMaxPathChars - 1);

  const auto refused = InstallFolderFromPicked(longest + L"x");
  EXPECT_EQ(refused.verdict, PickedFolderVerdict::TooLong);
  EXPECT_TRUE(refused.installFolder.empty());
  const auto messages = LogMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(std::regex_search(
      messages[0], std::regex(R"(^\[DlgMain:\d+\] install folder too long \(233 characters, at most 232\): /)")))
      << messages[0];
}

TEST_F(InstallLocationTest, ProgramPathsInsideTheInstallFolder) {
  const auto paths = MakeProgramPaths(L"/home/u/My Games/lumogame");
  EXPECT_EQ(paths.mainExePath, L"/home/u/My Games/lumogame/lumogame.exe");
  EXPECT_EQ(paths.launcherPath, L"/home/u/My Games/lumogame/lumogc_launcher.exe");
  EXPECT_EQ(paths.updaterPath, L"/home/u/My Games/lumogame/agent/lgc_auto_updater.exe");
}

TEST_F(InstallLocationTest, DownloadPathsInTheCacheFolderWhichIsNotMadeHere) {
  const auto paths = MakeDownloadPaths();
  EXPECT_EQ(paths.tempFolder, Wide(home_.cache()) + L"/lumogame-updater/temp/");
  EXPECT_EQ(paths.manifestPath, Wide(home_.cache()) + L"/lumogame-updater/temp/latest.yml");
  EXPECT_FALSE(fs::exists(home_.cache() / "lumogame-updater"));
}

TEST_F(InstallLocationTest, CacheFolderThatCannotBeHadIsLoggedWithTheErrorCode) {
  Unset("XDG_CACHE_HOME");
  const auto paths = MakeDownloadPaths();
  EXPECT_EQ(paths.tempFolder, L"/lumogame-updater/temp/");
  EXPECT_EQ(paths.manifestPath, L"/lumogame-updater/temp/latest.yml");
  const auto messages = LogMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(
      std::regex_match(messages[0], std::regex(R"(\[DlgMain:\d+\]Get CSIDL_LOCAL_APPDATA Failed LastErrorID:\d+)")))
      << messages[0];
}

// The figure and its label through a given number of free bytes.
std::optional<DiskSpaceReading> MeasureWith(std::uint64_t freeBytes, int* calls = nullptr) {
  return MeasureDiskSpace(L"/home/u/lumogame", [=](const std::wstring& path) -> std::optional<std::uint64_t> {
    EXPECT_EQ(path, L"/home/u/lumogame");
    if (calls) ++*calls;
    return freeBytes;
  });
}

constexpr std::uint64_t MB(std::uint64_t count) {
  return count << 20;
}

TEST(InstallDiskSpaceTest, LabelSwitchesToWholeGigabytesAbove1024MB) {
  struct Case {
    std::uint64_t freeBytes;
    std::int32_t freeSpaceMB;
    const wchar_t* label;
  };
  const Case cases[] = {
      {0, 0, L"安装大约需要300MB,当前可用空间0MB"},
      {MB(300) - 1, 299, L"安装大约需要300MB,当前可用空间299MB"},
      {MB(1024), 1024, L"安装大约需要300MB,当前可用空间1024MB"},
      {MB(1025) - 1, 1024, L"安装大约需要300MB,当前可用空间1024MB"},
      {MB(1025), 1025, L"安装大约需要300MB,当前可用空间1GB"},
      {MB(2047), 2047, L"安装大约需要300MB,当前可用空间1GB"},
      {MB(2048), 2048, L"安装大约需要300MB,当前可用空间2GB"},
      // More than the 32-bit figure holds stays at its largest value instead of wrapping round.
      {MB(1ull << 32) + MB(100), INT32_MAX, L"安装大约需要300MB,当前可用空间2097151GB"},
  };
  for (const auto& [freeBytes, freeSpaceMB, label] : cases) {
    const auto reading = MeasureWith(freeBytes);
    ASSERT_TRUE(reading) << freeBytes;
    EXPECT_EQ(reading->freeSpaceMB, freeSpaceMB) << freeBytes;
    EXPECT_EQ(reading->label, label) << freeBytes;
  }
}

TEST(InstallDiskSpaceTest, InstallationNeedsThreeHundredMB) {
  EXPECT_FALSE(HasRequiredSpace(MeasureWith(MB(300) - 1)->freeSpaceMB));
  EXPECT_TRUE(HasRequiredSpace(MeasureWith(MB(300))->freeSpaceMB));
  EXPECT_FALSE(HasRequiredSpace(kUnmeasuredFreeSpaceMB)) << "nothing measured yet refuses";
}

TEST(InstallDiskSpaceTest, WhatCannotBeMeasuredLeavesTheFigureAsItWas) {
  int calls = 0;
  const auto counted = [&](const std::wstring&) -> std::optional<std::uint64_t> {
    ++calls;
    return MB(5000);
  };
  EXPECT_FALSE(MeasureDiskSpace(L"lumogame", counted));
  EXPECT_FALSE(MeasureDiskSpace(L"", counted));
  EXPECT_EQ(calls, 0) << "a text that is no absolute path names no file system";
  EXPECT_FALSE(
      MeasureDiskSpace(L"/home/u/lumogame", [](const std::wstring&) { return std::optional<std::uint64_t>(); }));
}

TEST(InstallDiskSpaceTest, RealFolderNotMadeYetIsMeasuredOnItsFileSystem) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const auto reading = MeasureDiskSpace(Wide(home.root() / "Games" / "lumogame"));
  ASSERT_TRUE(reading);
  const auto direct = MeasureDiskSpace(Wide(home.root()));
  ASSERT_TRUE(direct);
  EXPECT_NEAR(reading->freeSpaceMB, direct->freeSpaceMB, 256);
  EXPECT_GT(reading->freeSpaceMB, 0);
}

}  // namespace
