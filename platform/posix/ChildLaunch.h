#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace platform::posix {

// Everything a new child needs to run a program, made before the fork: between fork and exec the
// child of a process with threads may only make async-signal-safe calls, so it allocates nothing.
class LaunchPlan {
 public:
  // argv[0] is the program as given; the arguments follow it unchanged.
  LaunchPlan(std::string program, std::vector<std::string> arguments);
  LaunchPlan(const LaunchPlan&) = delete;
  LaunchPlan& operator=(const LaunchPlan&) = delete;

  const std::string& program() const { return words_.front(); }
  const char* path() const { return words_.front().c_str(); }
  char* const* argv() const { return argv_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> argv_;
};

enum class Detach { No, Yes };

struct LaunchOutcome {
  // The child's process id when it runs and is this process's child (Detach::No); 0 when a
  // detached program runs; -1 when it did not start.
  pid_t processId = -1;
  // The error that stopped the start (errno of fork or exec), 0 when it started.
  int error = 0;
};

// Forks and executes the plan's program. With Detach::Yes the program runs in a new session as a
// grandchild whose parent has already ended, so this process never has to wait for it. Returns once
// the program's exec has succeeded or failed; a failed exec is reported through a close-on-exec pipe.
LaunchOutcome Launch(const LaunchPlan& plan, Detach detach);

}  // namespace platform::posix
