// The test installer package as the installer meets it: served as the default release, downloaded,
// made runnable and started with the installer's command line, installing the client's programs.

#include <openssl/evp.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ExecutePermission.h"
#include "platform/ProgramStart.h"
#include "platform/Text.h"
#include "tests/support/HttpFetch.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/Subprocess.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

constexpr char kPackageName[] = "lumogame-setup-1.0.0.bin";
constexpr std::size_t kCommandLineCapacity = 1024;

const fs::path kDefaultRelease = LUMO_DEFAULT_RELEASE_DIR;

std::wstring Wide(const fs::path& path) {
  return platform::PathFromNative(path.string());
}

// The installer's package command line: the quoted package path, " /S " and the quoted "/D=" folder.
std::wstring PackageCommandLine(const fs::path& package, const fs::path& installFolder) {
  wchar_t line[kCommandLineCapacity] = {};
  std::swprintf(line, kCommandLineCapacity, L"\"%ls\" /S \"/D=%ls\"", Wide(package).c_str(),
                Wide(installFolder).c_str());
  return line;
}

std::string Sha512Base64(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha512(), nullptr);
  std::string text(4 * ((size + 2) / 3) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), digest, static_cast<int>(size))));
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

using test::ScopedVariable;

class TestPackageTest : public testing::Test {
 protected:
  // Where the installer downloads to and where it installs, both with blanks and another script.
  fs::path TempFolder() const { return home_.root() / "my cache" / "lumogame-updater" / "temp"; }
  fs::path InstallFolder() const { return home_.root() / "My Games" / "露摩 游戏" / "lumogame"; }

  // The package as a download leaves it: an ordinary file, without execute permission.
  fs::path Download(const std::string& bytes) {
    const fs::path package = TempFolder() / kPackageName;
    test::WriteFile(package, bytes);
    fs::permissions(package,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    return package;
  }
  fs::path DownloadDefault() { return Download(test::ReadFile(kDefaultRelease / kPackageName)); }

  // Makes the downloaded package runnable and runs it as the installer does; its exit code.
  std::optional<int> Install(const fs::path& package) {
    EXPECT_TRUE(platform::AllowOwnerToExecute(Wide(package)));
    auto start = platform::StartProcess(PackageCommandLine(package, InstallFolder()));
    EXPECT_EQ(start.result, platform::kStartSucceeded);
    if (!start.process) return std::nullopt;
    return start.process->Wait();
  }

  std::string RanLog() const { return test::ReadFile(InstallFolder() / "ran.log"); }
  std::string PackageLog() const { return test::ReadFile(InstallFolder() / "lumogame-setup.log"); }

  test::TempHome home_{test::TempHome::Environment::Keep};
};

TEST_F(TestPackageTest, DefaultReleaseIsThePackageWithATrueManifest) {
  const std::string package = test::ReadFile(kDefaultRelease / kPackageName);
  ASSERT_EQ(package.size(), 2'500'000u);
  EXPECT_EQ(package.substr(0, 4),
            "\x7f"
            "ELF");
  EXPECT_EQ(package.substr(package.size() - 8), "LUMOPKG1");
  const std::string manifest = test::ReadFile(kDefaultRelease / "latest.yml");
  const std::string digest = Sha512Base64(package);
  EXPECT_NE(manifest.find("  - url: lumogame-setup-1.0.0.bin\n    sha512: " + digest + "\n    size: 2500000\n"),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("\npath: lumogame-setup-1.0.0.bin\nsha512: " + digest + "\n"), std::string::npos);
}

TEST_F(TestPackageTest, InstallsTheThreeProgramsWithVisibleSteps) {
  const auto began = std::chrono::steady_clock::now();
  EXPECT_EQ(Install(DownloadDefault()), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::seconds(1)) << "the install takes a second";

  for (const char* program : {"lumogame.exe", "lumogc_launcher.exe", "agent/lgc_auto_updater.exe"}) {
    const fs::path path = InstallFolder() / program;
    ASSERT_TRUE(fs::is_regular_file(path)) << program;
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << program;
    EXPECT_LT(fs::file_size(path), 1'000'000u) << "the padding is not installed";
  }
  const auto steps = Lines(PackageLog());
  ASSERT_EQ(steps.size(), 5u) << PackageLog();
  EXPECT_TRUE(steps[0].ends_with("installing into " + InstallFolder().string()));
  EXPECT_TRUE(steps[1].ends_with("extracting lumogame.exe"));
  EXPECT_TRUE(steps[2].ends_with("extracting lumogc_launcher.exe"));
  EXPECT_TRUE(steps[3].ends_with("extracting agent/lgc_auto_updater.exe"));
  EXPECT_TRUE(steps[4].ends_with("done"));
  EXPECT_EQ(RanLog(), "") << "installing runs none of the programs";
}

TEST_F(TestPackageTest, InstalledProgramsWriteTheirNameAndArgumentsToRanLog) {
  ASSERT_EQ(Install(DownloadDefault()), 0);
  auto client = platform::StartProgram(Wide(InstallFolder() / "lumogame.exe"), {});
  ASSERT_TRUE(client.process);
  EXPECT_EQ(client.process->Wait(), 0);
  auto updater = platform::StartProgram(Wide(InstallFolder() / "agent" / "lgc_auto_updater.exe"), {L"--silent", L"x"});
  ASSERT_TRUE(updater.process);
  EXPECT_EQ(updater.process->Wait(), 0);
  // Started as the finish button starts the launcher: through the shell's "open", never waited for.
  EXPECT_EQ(platform::ShellOpen(Wide(InstallFolder() / "lumogc_launcher.exe")), platform::kStartSucceeded);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (Lines(RanLog()).size() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(Lines(RanLog()),
            (std::vector<std::string>{"lumogame.exe", "lgc_auto_updater.exe --silent x", "lumogc_launcher.exe"}));
}

TEST_F(TestPackageTest, RefusesToRunWithoutSilentSwitchOrFolder) {
  const fs::path package = DownloadDefault();
  ASSERT_TRUE(platform::AllowOwnerToExecute(Wide(package)));
  const std::wstring quoted = L"\"" + Wide(package) + L"\"";
  const std::wstring lines[] = {
      quoted,
      quoted + L" \"/D=" + Wide(InstallFolder()) + L"\"",
      quoted + L" /S",
      quoted + L" /S /D=",
      quoted + L" /S /D=relative/lumogame",
      quoted + L" /s \"/D=" + Wide(InstallFolder()) + L"\"",
  };
  for (const auto& line : lines) {
    auto start = platform::StartProcess(line);
    ASSERT_TRUE(start.process);
    EXPECT_EQ(start.process->Wait(), 2) << platform::WideToUtf8(line);
  }
  EXPECT_FALSE(fs::exists(InstallFolder()));
}

TEST_F(TestPackageTest, SwitchFailsWithTheGivenExitCodeAndInstallsNothing) {
  const ScopedVariable fail("LUMO_TEST_PACKAGE_EXIT_CODE", "3");
  const ScopedVariable quick("LUMO_TEST_PACKAGE_DURATION_MS", "0");
  EXPECT_EQ(Install(DownloadDefault()), 3);
  EXPECT_FALSE(fs::exists(InstallFolder() / "lumogame.exe"));
  EXPECT_TRUE(Lines(PackageLog()).back().ends_with("failing on purpose with exit code 3"));
}

TEST_F(TestPackageTest, SwitchRunsForTheGivenTime) {
  const ScopedVariable slow("LUMO_TEST_PACKAGE_DURATION_MS", "2500");
  const auto began = std::chrono::steady_clock::now();
  EXPECT_EQ(Install(DownloadDefault()), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(2500));
  EXPECT_TRUE(fs::exists(InstallFolder() / "agent" / "lgc_auto_updater.exe"));
}

TEST_F(TestPackageTest, SwitchInstallsProgramsThatTheSystemRefusesToRun) {
  const ScopedVariable broken("LUMO_TEST_PACKAGE_UNRUNNABLE", "lumogame.exe");
  const ScopedVariable quick("LUMO_TEST_PACKAGE_DURATION_MS", "0");
  ASSERT_EQ(Install(DownloadDefault()), 0);
  EXPECT_EQ(platform::ShellOpen(Wide(InstallFolder() / "lumogame.exe")), platform::kStartBadFormat);
  auto launcher = platform::StartProgram(Wide(InstallFolder() / "lumogc_launcher.exe"), {});
  ASSERT_TRUE(launcher.process);
  EXPECT_EQ(launcher.process->Wait(), 0);
  EXPECT_EQ(RanLog(), "lumogc_launcher.exe\n");
}

TEST_F(TestPackageTest, UnrunnablePackageCannotBeStarted) {
  const fs::path release = home_.root() / "release";
  ASSERT_EQ(test::RunProgram(LUMO_TEST_RELEASE_MAKER_PATH, {"--unrunnable", release.string()}), 0);
  const std::string bytes = test::ReadFile(release / kPackageName);
  EXPECT_EQ(bytes.size(), 2'500'000u);
  EXPECT_NE(test::ReadFile(release / "latest.yml").find("sha512: " + Sha512Base64(bytes) + "\n"), std::string::npos);

  const fs::path package = Download(bytes);
  ASSERT_TRUE(platform::AllowOwnerToExecute(Wide(package)));
  const auto start = platform::StartProcess(PackageCommandLine(package, InstallFolder()));
  EXPECT_EQ(start.result, platform::kStartBadFormat);
  EXPECT_FALSE(start.process);
  EXPECT_FALSE(fs::exists(InstallFolder()));
}

// What the service sends is the package itself: downloaded, made runnable and run, it installs.
TEST_F(TestPackageTest, ServedPackageInstallsAfterItsDownload) {
  test::ReleaseService service;
  ASSERT_TRUE(service.ready());
  EXPECT_EQ(service.ReleaseFiles().at(kPackageName), 2'500'000);
  test::FetchRequest request;
  request.url = service.ReleaseBase() + kPackageName;
  request.caFile = service.CaFile();
  const auto answer = test::Fetch(request);
  ASSERT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body, test::ReadFile(kDefaultRelease / kPackageName));

  const fs::path package = Download(answer.body);
  EXPECT_EQ(platform::StartProcess(PackageCommandLine(package, InstallFolder())).result, platform::kStartAccessDenied)
      << "a download is not runnable until it is made so";
  EXPECT_EQ(Install(package), 0);
  EXPECT_TRUE(fs::exists(InstallFolder() / "lumogame.exe"));
}

}  // namespace
