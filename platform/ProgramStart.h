#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Results of starting a program or opening a target, in the values the Windows shell's start call
// gives, which the installer reports as they are: 32 or more means started, a smaller value says
// why not.
inline constexpr int kStartSucceeded = 42;
inline constexpr int kStartOutOfResources = 0;
inline constexpr int kStartFileNotFound = 2;
inline constexpr int kStartPathNotFound = 3;
inline constexpr int kStartAccessDenied = 5;
inline constexpr int kStartOutOfMemory = 8;
inline constexpr int kStartBadFormat = 11;
inline constexpr int kStartSharingViolation = 26;
inline constexpr int kStartNoAssociation = 31;

inline constexpr bool IsStarted(int result) {
  return result >= 32;
}

// A program that StartProcess started: a child of this process that can be waited for. Moves, does
// not copy. Letting it go does not stop the program.
class StartedProcess {
 public:
  explicit StartedProcess(int processId) : processId_(processId) {}
  StartedProcess(StartedProcess&& other) noexcept;
  StartedProcess& operator=(StartedProcess&& other) noexcept;
  StartedProcess(const StartedProcess&) = delete;
  StartedProcess& operator=(const StartedProcess&) = delete;
  ~StartedProcess();

  int processId() const { return processId_; }

  // Waits, without a time limit, until the program has ended and gives its exit code; 128 + the
  // signal number when a signal ended it. Later calls give the same value. Empty when the program
  // cannot be waited for.
  std::optional<int> Wait();

 private:
  void ReapIfEnded();

  int processId_ = -1;
  std::optional<int> exitCode_;
};

struct ProcessStart {
  int result = kStartOutOfResources;
  std::optional<StartedProcess> process;  // set exactly when IsStarted(result)
};

// Every start below runs the program file itself: never a shell, never a search of PATH for the
// program. The program gets this process's environment and current folder and the standard input,
// output and error, but no other open file, and signals as a new program has them (none ignored,
// none blocked).

// Starts the program that the command line names first with the arguments that follow it, both
// split by the Windows rules (SplitCommandLine).
ProcessStart StartProcess(std::wstring_view commandLine);

// Starts program with the given arguments, each passed on as one argument exactly as it is.
ProcessStart StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments);

// Starts program so that it lives on its own: in a session of its own and no child of this process,
// never waited for and never left behind as a zombie. Returns once the program runs or has failed
// to start.
int StartDetachedProgram(const std::wstring& program, const std::vector<std::wstring>& arguments);

// Opens a web address or a document with the desktop's handler for it (xdg-open, found on PATH),
// detached as above; the handler's own success is not waited for. kStartNoAssociation when there is
// no handler.
int OpenWithDesktopHandler(const std::wstring& target);

// The shell's "open" on target: a program file (a regular file this user may execute) is started
// detached with parameters split by the Windows rules; a web address (a text that begins with a
// scheme such as "https:"), another file or a folder is opened with the desktop's handler, and the
// parameters are not used. A target that does not exist gives kStartFileNotFound, or
// kStartPathNotFound when its folder does not exist either.
int ShellOpen(const std::wstring& target, std::wstring_view parameters = {});

}  // namespace platform
