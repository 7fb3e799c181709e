#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace test {

// A program started in the background with the test's environment. Its standard output is read
// line by line on a thread of its own (so it never blocks on a full pipe); standard error goes to
// the test's. The destructor stops it if it still runs.
class ChildProcess {
 public:
  ChildProcess(const std::string& path, const std::vector<std::string>& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // Waits for an output line that the predicate accepts and returns it; empty when the output
  // ended first (the program exited) or the limit passed.
  std::optional<std::string> WaitForLine(const std::function<bool(const std::string&)>& accepts,
                                         std::chrono::milliseconds limit);
  std::optional<std::string> WaitForLine(const std::string& line, std::chrono::milliseconds limit);

  // Every output line so far.
  std::vector<std::string> Lines() const;

  // Sends SIGTERM and waits for the end (SIGKILL after the grace); returns the exit status, 128 +
  // signal number when a signal ended it. Later calls return the same status.
  int Stop(std::chrono::milliseconds grace = std::chrono::seconds(30));

  // Waits for the program to end by itself; returns its exit status as Stop does.
  int Wait();

 private:
  void ReadOutput(int pipe);
  int Reap(int options);
  void JoinReader();

  pid_t pid_ = -1;
  std::optional<int> status_;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  bool outputEnded_ = false;
};

}  // namespace test
