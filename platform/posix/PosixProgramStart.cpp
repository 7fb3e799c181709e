#include "platform/ProgramStart.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/CommandLine.h"
#include "platform/Text.h"
#include "platform/posix/ChildLaunch.h"

namespace platform {
namespace {

constexpr char kDesktopOpener[] = "xdg-open";
// Where programs are looked for when PATH is not set, as the C library does.
constexpr char kDefaultSearchPath[] = "/usr/local/bin:/usr/bin:/bin";

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The start call's answer to a failed exec of program.
int StartResultOf(int error, const std::string& program) {
  switch (error) {
    case ENOENT:
      // The file is there but its loader or interpreter is not.
      if (Exists(program)) return kStartBadFormat;
      return Exists(FolderOf(program)) ? kStartFileNotFound : kStartPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kStartPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kStartAccessDenied;
    case ENOEXEC:
    case ELIBBAD:
      return kStartBadFormat;
    case ENOMEM:
    case EAGAIN:
    case EMFILE:
    case ENFILE:
    case E2BIG:
      return kStartOutOfMemory;
    case ETXTBSY:
      return kStartSharingViolation;
    default:
      return kStartOutOfResources;
  }
}

std::vector<std::string> NativeArguments(const std::vector<std::wstring>& arguments) {
  std::vector<std::string> native;
  native.reserve(arguments.size());
  for (const auto& argument : arguments) native.push_back(WideToUtf8(argument));
  return native;
}

// Starts path detached, with argv[0] the path itself.
int StartDetached(std::string path, std::vector<std::string> arguments) {
  const posix::LaunchPlan plan(std::move(path), std::move(arguments));
  const auto outcome = posix::Launch(plan, posix::Detach::Yes);
  return outcome.error == 0 ? kStartSucceeded : StartResultOf(outcome.error, plan.program());
}

std::optional<std::string> FindOnSearchPath(std::string_view name) {
  const char* variable = std::getenv("PATH");
  const std::string_view searchPath = variable != nullptr ? variable : kDefaultSearchPath;
  std::size_t begin = 0;
  while (begin <= searchPath.size()) {
    auto end = searchPath.find(':', begin);
    if (end == std::string_view::npos) end = searchPath.size();
    // An empty entry means the current folder, which is never searched here.
    const auto folder = searchPath.substr(begin, end - begin);
    if (!folder.empty() && folder.front() == '/') {
      std::string candidate = std::string(folder) + "/" + std::string(name);
      struct stat info {};
      if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
    }
    begin = end + 1;
  }
  return std::nullopt;
}

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsSchemeCharacter(wchar_t c) {
  return IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
}

// A scheme is a letter followed by letters, digits, "+", "-" or "." and then ":".
bool BeginsWithScheme(std::wstring_view target) {
  const auto colon = target.find(L':');
  if (colon == std::wstring_view::npos || colon == 0 || !IsAsciiLetter(target[0])) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    if (!IsSchemeCharacter(target[i])) return false;
  }
  return true;
}

}  // namespace

ProcessStart StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  if (program.empty()) return {kStartFileNotFound, std::nullopt};
  const posix::LaunchPlan plan(NativePath(program), NativeArguments(arguments));
  const auto outcome = posix::Launch(plan, posix::Detach::No);
  if (outcome.error != 0) return {StartResultOf(outcome.error, plan.program()), std::nullopt};
  return {kStartSucceeded, StartedProcess(outcome.processId)};
}

ProcessStart StartProcess(std::wstring_view commandLine) {
  auto words = SplitCommandLine(commandLine);
  if (words.empty()) return {kStartFileNotFound, std::nullopt};
  const std::wstring program = std::move(words.front());
  words.erase(words.begin());
  return StartProgram(program, words);
}

int StartDetachedProgram(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  if (program.empty()) return kStartFileNotFound;
  return StartDetached(NativePath(program), NativeArguments(arguments));
}

int OpenWithDesktopHandler(const std::wstring& target) {
  if (target.empty()) return kStartFileNotFound;
  const auto opener = FindOnSearchPath(kDesktopOpener);
  if (!opener) return kStartNoAssociation;
  // A relative path that begins with "-" would read as an option of the opener.
  std::string argument = NativePath(target);
  if (argument.front() == '-') argument.insert(0, "./");
  return StartDetached(*opener, {std::move(argument)});
}

int ShellOpen(const std::wstring& target, std::wstring_view parameters) {
  if (target.empty()) return kStartFileNotFound;
  const std::string path = NativePath(target);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (target.front() != L'/' && BeginsWithScheme(target)) return OpenWithDesktopHandler(target);
    return StartResultOf(errno, path);
  }
  if (S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0) {
    return StartDetachedProgram(target, SplitArguments(parameters));
  }
  return OpenWithDesktopHandler(target);
}

StartedProcess::StartedProcess(StartedProcess&& other) noexcept
    : processId_(std::exchange(other.processId_, -1)), exitCode_(other.exitCode_) {}

StartedProcess& StartedProcess::operator=(StartedProcess&& other) noexcept {
  if (this != &other) {
    ReapIfEnded();
    processId_ = std::exchange(other.processId_, -1);
    exitCode_ = other.exitCode_;
  }
  return *this;
}

StartedProcess::~StartedProcess() {
  ReapIfEnded();
}

// A program that has already ended leaves no zombie behind; one that still runs is left alone.
void StartedProcess::ReapIfEnded() {
  if (processId_ > 0 && !exitCode_) ::waitpid(processId_, nullptr, WNOHANG);
}

std::optional<int> StartedProcess::Wait() {
  if (exitCode_) return exitCode_;
  if (processId_ <= 0) return std::nullopt;
  int status = 0;
  pid_t reaped = -1;
  do {
    reaped = ::waitpid(processId_, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  if (reaped != processId_) return std::nullopt;
  if (WIFEXITED(status)) {
    exitCode_ = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    exitCode_ = 128 + WTERMSIG(status);
  }
  return exitCode_;
}

}  // namespace platform
