#include "tools/test-package/PackageInstall.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/test-package/InstalledProgram.h"
#include "tools/test-package/SelfImage.h"

namespace test_package {
namespace {

constexpr char kLogFile[] = "lumogame-setup.log";
constexpr std::chrono::milliseconds kDefaultDuration{1000};
constexpr std::chrono::milliseconds kLongestDuration{std::chrono::minutes(10)};
// What an installed program that the system must refuse to run holds (it keeps its execute
// permission, so only its content makes it unrunnable).
constexpr char kUnrunnableProgram[] = "LUMO TEST PROGRAM: no program\n";

struct Request {
  bool silent = false;
  std::string folder;
  std::vector<std::string> ignored;
};

struct Switches {
  std::optional<int> exitCode;
  std::chrono::milliseconds duration = kDefaultDuration;
  std::vector<std::string> unrunnable;
};

Request ReadArguments(int argc, char** argv) {
  Request request;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "/S") {
      request.silent = true;
    } else if (argument.starts_with("/D=")) {
      request.folder = argument.substr(3);
    } else {
      request.ignored.push_back(argument);
    }
  }
  while (request.folder.size() > 1 && request.folder.back() == '/') request.folder.pop_back();
  return request;
}

std::optional<long> NumberIn(const char* variable) {
  const char* text = std::getenv(variable);
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value < 0) return std::nullopt;
  return value;
}

Switches ReadSwitches() {
  Switches switches;
  if (const auto code = NumberIn(kExitCodeVariable); code && *code >= 1 && *code <= 255) {
    switches.exitCode = static_cast<int>(*code);
  }
  if (const auto duration = NumberIn(kDurationVariable)) {
    switches.duration = std::min(std::chrono::milliseconds(*duration), kLongestDuration);
  }
  if (const char* list = std::getenv(kUnrunnableVariable)) {
    std::string names = list;
    for (std::size_t begin = 0; begin <= names.size();) {
      auto end = names.find(',', begin);
      if (end == std::string::npos) end = names.size();
      if (end > begin) switches.unrunnable.push_back(names.substr(begin, end - begin));
      begin = end + 1;
    }
  }
  return switches;
}

// The package's own log: one time-stamped line per step, in the install folder.
class StepLog {
 public:
  void OpenIn(const std::string& folder) {
    fd_ = ::open((folder + "/" + kLogFile).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }
  ~StepLog() {
    if (fd_ >= 0) ::close(fd_);
  }

  void Write(const std::string& text) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03ld ", local.tm_hour, local.tm_min, local.tm_sec,
                  now.tv_nsec / 1'000'000);
    const std::string line = stamp + text + "\n";
    if (fd_ >= 0 && ::write(fd_, line.data(), line.size()) < 0)
      std::fprintf(stderr, "test-package: log: %s", line.c_str());
  }

 private:
  int fd_ = -1;
};

bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// Writes the file next to its place and renames it there, so a program is either whole or absent.
bool InstallFile(const std::string& path, const std::string& bytes) {
  const std::string partial = path + ".partial";
  const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    done += static_cast<std::size_t>(count);
  }
  const bool whole = done == bytes.size() && ::fchmod(fd, 0755) == 0;
  ::close(fd);
  if (!whole || ::rename(partial.c_str(), path.c_str()) != 0) {
    ::unlink(partial.c_str());
    return false;
  }
  return true;
}

bool IsUnrunnable(const Switches& switches, const std::string& installedPath) {
  for (const auto& name : switches.unrunnable) {
    if (installedPath == name || installedPath.ends_with("/" + name)) return true;
  }
  return false;
}

int Fail(StepLog& log, const std::string& what) {
  log.Write("failed: " + what + ": " + std::strerror(errno));
  std::fprintf(stderr, "test-package: %s: %s\n", what.c_str(), std::strerror(errno));
  return kInstallFailed;
}

}  // namespace

int RunPackage(int argc, char** argv) {
  const Request request = ReadArguments(argc, argv);
  if (!request.silent || request.folder.empty() || request.folder.front() != '/') {
    std::fprintf(stderr, "usage: %s /S /D=FOLDER   (FOLDER absolute; the test package installs only silently)\n",
                 argc > 0 ? argv[0] : "test-package");
    return kUsage;
  }
  const Switches switches = ReadSwitches();
  // The steps share the run's time: making the folder, three programs, and finishing.
  const auto step = switches.duration / 5;

  StepLog log;
  if (!MakeFolders(request.folder + "/agent")) return Fail(log, "cannot make " + request.folder);
  log.OpenIn(request.folder);
  log.Write("installing into " + request.folder);
  for (const auto& argument : request.ignored) log.Write("ignoring argument " + argument);
  std::this_thread::sleep_for(step);

  if (switches.exitCode) {
    std::this_thread::sleep_for(step * 4);
    log.Write("failing on purpose with exit code " + std::to_string(*switches.exitCode));
    return *switches.exitCode;
  }

  const auto program = SelfProgramBytes();
  if (!program) return Fail(log, "cannot read the package");
  for (const char* installedPath : kInstalledPrograms) {
    const bool unrunnable = IsUnrunnable(switches, installedPath);
    log.Write(std::string("extracting ") + installedPath + (unrunnable ? " (unrunnable)" : ""));
    const std::string target = request.folder + "/" + installedPath;
    if (!InstallFile(target, unrunnable ? std::string(kUnrunnableProgram) : *program)) {
      return Fail(log, "cannot write " + target);
    }
    std::this_thread::sleep_for(step);
  }
  std::this_thread::sleep_for(step);
  log.Write("done");
  return kInstalled;
}

}  // namespace test_package
