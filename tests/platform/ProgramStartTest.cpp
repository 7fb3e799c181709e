#include "platform/ProgramStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ExecutePermission.h"
#include "platform/Text.h"
#include "tests/platform/ProbeReport.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) {
  return platform::PathFromNative(path.string());
}

using test::ScopedVariable;

class ProgramStartTest : public testing::Test {
 protected:
  ProgramStartTest() : report_("LUMO_PROBE_REPORT", (home_.root() / "report").string()) {}

  fs::path Report() const { return home_.root() / "report"; }
  // The probe, copied to a folder whose name has a blank and another script.
  fs::path Probe() {
    const fs::path folder = home_.root() / "程序 folder";
    fs::create_directories(folder);
    const fs::path probe = folder / "probe";
    if (!fs::exists(probe)) fs::copy_file(LUMO_START_PROBE_PATH, probe);
    return probe;
  }
  fs::path Write(const std::string& name, const std::string& content, fs::perms permissions) {
    const fs::path path = home_.root() / name;
    test::WriteFile(path, content);
    fs::permissions(path, permissions);
    return path;
  }

  test::TempHome home_{test::TempHome::Environment::Keep};
  ScopedVariable report_;
};

TEST_F(ProgramStartTest, PassesEachArgumentUnchangedAndGivesTheExitCode) {
  const ScopedVariable exitCode("LUMO_PROBE_EXIT", "7");
  const std::vector<std::wstring> arguments = {L"plain",         L"two words",     L"",     L"\"quoted\"",
                                               L"$(touch x);|&", L"back\\slash\\", L"游戏", L"line\nbreak"};
  auto start = platform::StartProgram(Wide(Probe()), arguments);
  ASSERT_EQ(start.result, platform::kStartSucceeded);
  ASSERT_TRUE(start.process);
  EXPECT_EQ(start.process->Wait(), 7);
  EXPECT_EQ(start.process->Wait(), 7) << "a second wait gives the same code";

  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  ASSERT_EQ(report->arguments.size(), arguments.size() + 1);
  EXPECT_EQ(report->arguments[0], Probe().string());
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    EXPECT_EQ(report->arguments[i + 1], platform::WideToUtf8(arguments[i]));
  }
  EXPECT_FALSE(fs::exists(home_.root() / "x")) << "no shell read the arguments";
}

TEST_F(ProgramStartTest, CommandLineIsSplitByTheWindowsRules) {
  const std::wstring commandLine = L"\"" + Wide(Probe()) + L"\" /S \"/D=/tmp/My Games/游戏/lumogame\" a\\\\\"b c\"";
  auto start = platform::StartProcess(commandLine);
  ASSERT_TRUE(platform::IsStarted(start.result));
  EXPECT_EQ(start.process->Wait(), 0);
  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  const std::vector<std::string> expected = {Probe().string(), "/S", "/D=/tmp/My Games/游戏/lumogame", "a\\b c"};
  EXPECT_EQ(report->arguments, expected);
}

// The program starts as a new program would: none of this process's descriptors, no signal
// ignored or blocked, even though this process ignores broken pipes and blocks a signal.
TEST_F(ProgramStartTest, ProgramGetsNoDescriptorsAndDefaultSignals) {
  const int leaked = ::open("/dev/null", O_RDONLY);  // deliberately without close-on-exec
  ASSERT_GE(leaked, 3);
  ::signal(SIGXFSZ, SIG_IGN);
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGUSR1);
  ::pthread_sigmask(SIG_BLOCK, &blocked, nullptr);

  auto start = platform::StartProgram(Wide(Probe()), {});
  ::pthread_sigmask(SIG_UNBLOCK, &blocked, nullptr);
  ::signal(SIGXFSZ, SIG_DFL);
  ::close(leaked);
  ASSERT_TRUE(start.process);
  EXPECT_EQ(start.process->Wait(), 0);

  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->descriptors, std::vector<int>{});
  EXPECT_EQ(report->sigpipe, "default");
  EXPECT_EQ(report->sigxfsz, "default");
  EXPECT_EQ(report->blockedSignals, 0);
  EXPECT_EQ(report->session, ::getsid(0)) << "a waited-for program stays in this session";
  EXPECT_EQ(report->parent, ::getpid());
}

TEST_F(ProgramStartTest, SignalEndGivesOneHundredTwentyEightPlusTheSignal) {
  const ScopedVariable raise("LUMO_PROBE_RAISE", std::to_string(SIGTERM));
  auto start = platform::StartProgram(Wide(Probe()), {});
  ASSERT_TRUE(start.process);
  EXPECT_EQ(start.process->Wait(), 128 + SIGTERM);
}

TEST_F(ProgramStartTest, FailuresGiveTheShellsCodes) {
  const auto text = fs::perms::owner_read | fs::perms::owner_write;
  const auto runnable = text | fs::perms::owner_exec;
  const fs::path folder = home_.root() / "folder";
  fs::create_directories(folder);
  struct Case {
    const char* what;
    fs::path program;
    int result;
  };
  const Case cases[] = {
      {"missing file", home_.root() / "missing", platform::kStartFileNotFound},
      {"missing folder", home_.root() / "no folder" / "program", platform::kStartPathNotFound},
      {"folder", folder, platform::kStartAccessDenied},
      {"not executable",
       Write("text",
             "\x7f"
             "ELF",
             text),
       platform::kStartAccessDenied},
      {"no program format", Write("garbage", "LUMO: no program\n", runnable), platform::kStartBadFormat},
      {"script without interpreter line", Write("script", "echo hi > shell-ran\n", runnable),
       platform::kStartBadFormat},
      {"interpreter missing", Write("lost", "#!/no/such/interpreter\n", runnable), platform::kStartBadFormat},
  };
  for (const auto& [what, program, result] : cases) {
    const auto start = platform::StartProgram(Wide(program), {});
    EXPECT_EQ(start.result, result) << what;
    EXPECT_FALSE(start.process) << what;
    EXPECT_EQ(platform::StartDetachedProgram(Wide(program), {}), result) << what << ", detached";
  }
  EXPECT_EQ(platform::StartProcess(L"").result, platform::kStartFileNotFound);
  EXPECT_EQ(platform::StartProcess(L"   ").result, platform::kStartFileNotFound);
  EXPECT_FALSE(fs::exists(fs::current_path() / "shell-ran")) << "a script without #! is never given to a shell";
}

TEST_F(ProgramStartTest, AllowOwnerToExecuteMakesADownloadedFileRunnable) {
  const fs::path downloaded = home_.root() / "downloaded";
  fs::copy_file(LUMO_START_PROBE_PATH, downloaded);
  fs::permissions(downloaded, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(platform::StartProgram(Wide(downloaded), {}).result, platform::kStartAccessDenied);

  ASSERT_TRUE(platform::AllowOwnerToExecute(Wide(downloaded)));
  EXPECT_EQ(fs::status(downloaded).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec | fs::perms::group_read);
  auto start = platform::StartProgram(Wide(downloaded), {});
  ASSERT_TRUE(start.process);
  EXPECT_EQ(start.process->Wait(), 0);
  EXPECT_FALSE(platform::AllowOwnerToExecute(Wide(home_.root() / "missing")));
}

// The call returns while the program still waits for the gate the test opens only afterwards; the
// program runs in a session of its own, and its parent is gone, so it never becomes our zombie.
TEST_F(ProgramStartTest, DetachedProgramIsNeverWaitedFor) {
  const fs::path gate = home_.root() / "gate";
  const ScopedVariable gateVariable("LUMO_PROBE_GATE", gate.string());
  EXPECT_EQ(platform::StartDetachedProgram(Wide(Probe()), {L"a b"}), platform::kStartSucceeded);
  test::WriteFile(gate, "");
  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->gate, "opened");
  EXPECT_EQ(report->arguments, (std::vector<std::string>{Probe().string(), "a b"}));
  EXPECT_NE(report->session, ::getsid(0));
  EXPECT_NE(report->parent, ::getpid());
  EXPECT_EQ(report->descriptors, std::vector<int>{});
}

class ShellOpenTest : public ProgramStartTest {
 protected:
  // A stand-in for the desktop's handler, first on PATH: the probe named xdg-open.
  void InstallOpener() {
    const fs::path bin = home_.root() / "bin";
    fs::create_directories(bin);
    fs::copy_file(LUMO_START_PROBE_PATH, bin / "xdg-open");
    path_.emplace("PATH", bin.string());
  }
  std::optional<ScopedVariable> path_;
};

TEST_F(ShellOpenTest, ProgramFileStartsDetachedWithItsParameters) {
  EXPECT_EQ(platform::ShellOpen(Wide(Probe()), L"one \"two words\""), platform::kStartSucceeded);
  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->arguments, (std::vector<std::string>{Probe().string(), "one", "two words"}));
  EXPECT_NE(report->session, ::getsid(0));
}

TEST_F(ShellOpenTest, AddressGoesToTheDesktopHandlerAsOneArgument) {
  InstallOpener();
  const std::wstring address = L"https://www.lumogame.example/agreement?a=1&b=$(touch x);c 'd\"";
  EXPECT_EQ(platform::ShellOpen(address), platform::kStartSucceeded);
  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  ASSERT_EQ(report->arguments.size(), 2u);
  EXPECT_EQ(report->arguments[0], (home_.root() / "bin" / "xdg-open").string());
  EXPECT_EQ(report->arguments[1], platform::WideToUtf8(address));
  EXPECT_NE(report->session, ::getsid(0));
  EXPECT_FALSE(fs::exists(fs::current_path() / "x"));
}

TEST_F(ShellOpenTest, DocumentGoesToTheDesktopHandler) {
  InstallOpener();
  const fs::path document = Write("read me.txt", "text", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(platform::ShellOpen(Wide(document), L"ignored"), platform::kStartSucceeded);
  const auto report = test::WaitForProbeReport(Report());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->arguments.back(), document.string());
  EXPECT_EQ(report->arguments.size(), 2u);
}

TEST_F(ShellOpenTest, MissingTargetsAndMissingHandler) {
  InstallOpener();
  EXPECT_EQ(platform::ShellOpen(L""), platform::kStartFileNotFound);
  EXPECT_EQ(platform::ShellOpen(Wide(home_.root() / "lumogame.exe")), platform::kStartFileNotFound);
  EXPECT_EQ(platform::ShellOpen(Wide(home_.root() / "agent" / "x.exe")), platform::kStartPathNotFound);

  const fs::path empty = home_.root() / "empty";
  fs::create_directories(empty);
  path_.reset();
  path_.emplace("PATH", empty.string());
  EXPECT_EQ(platform::ShellOpen(L"https://www.lumogame.example/"), platform::kStartNoAssociation);
  EXPECT_EQ(platform::OpenWithDesktopHandler(L"https://www.lumogame.example/"), platform::kStartNoAssociation);
  EXPECT_FALSE(fs::exists(Report()));
}

}  // namespace
