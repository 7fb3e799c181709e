#include "platform/posix/ChildLaunch.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

extern char** environ;

namespace platform::posix {
namespace {

// The most descriptors the fallback below walks when the kernel cannot mark them all at once.
constexpr long kMaxDescriptorWalk = 65536;

long DescriptorLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMaxDescriptorWalk;
  return static_cast<long>(std::min<rlim_t>(limit.rlim_cur, kMaxDescriptorWalk));
}

// Everything below until the exec runs in the child and is async-signal-safe.

[[noreturn]] void ReportAndExit(int report, int error) {
  while (::write(report, &error, sizeof error) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

// The program gets no descriptor of ours besides the standard three: every other one closes at exec.
void CloseOthersOnExec(long descriptorLimit) {
  if (::syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  for (int fd = 3; fd < descriptorLimit; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// A new program starts with every signal at its default and none blocked, whatever this process
// ignores (broken pipes, file-size limits) or blocks.
void ResetSignals() {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int signal = 1; signal < NSIG; ++signal) ::sigaction(signal, &standard, nullptr);
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

pid_t ForkInChild() {
#if defined(LUMO_HAVE_UNDERSCORE_FORK)
  return ::_Fork();
#else
  return ::fork();
#endif
}

[[noreturn]] void RunChild(const LaunchPlan& plan, Detach detach, int report, long descriptorLimit) {
  if (detach == Detach::Yes) {
    ::setsid();
    const pid_t grandchild = ForkInChild();
    if (grandchild < 0) ReportAndExit(report, errno);
    if (grandchild > 0) ::_exit(0);
  }
  CloseOthersOnExec(descriptorLimit);
  ResetSignals();
  ::execve(plan.path(), plan.argv(), environ);
  ReportAndExit(report, errno);
}

// Back in the parent.

int ReadReport(int report) {
  int error = 0;
  std::size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(&error);
  while (got < sizeof error) {
    const ssize_t count = ::read(report, bytes + got, sizeof error - got);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    got += static_cast<std::size_t>(count);
  }
  // A short report cannot happen (pipe writes of this size are whole); read it as "started" only
  // when nothing came at all.
  if (got == 0) return 0;
  return got == sizeof error && error != 0 ? error : EIO;
}

void Reap(pid_t child) {
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

LaunchPlan::LaunchPlan(std::string program, std::vector<std::string> arguments) {
  words_.reserve(arguments.size() + 1);
  words_.push_back(std::move(program));
  for (auto& argument : arguments) words_.push_back(std::move(argument));
  for (auto& word : words_) argv_.push_back(word.data());
  argv_.push_back(nullptr);
}

LaunchOutcome Launch(const LaunchPlan& plan, Detach detach) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return {-1, errno};
  const long descriptorLimit = DescriptorLimit();

  // With every signal blocked, no handler of ours can run in the child before its exec.
  sigset_t all;
  sigset_t previous;
  ::sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &previous);
  const pid_t child = ::fork();
  if (child == 0) RunChild(plan, detach, report[1], descriptorLimit);
  const int forkError = errno;
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ::close(report[1]);
  if (child < 0) {
    ::close(report[0]);
    return {-1, forkError};
  }

  const int error = ReadReport(report[0]);
  ::close(report[0]);
  if (detach == Detach::Yes) {
    // The intermediate child ends as soon as the grandchild exists.
    Reap(child);
    return {error == 0 ? 0 : -1, error};
  }
  if (error != 0) {
    Reap(child);
    return {-1, error};
  }
  return {child, 0};
}

}  // namespace platform::posix
