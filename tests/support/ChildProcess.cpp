#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace test {
namespace {

constexpr std::chrono::milliseconds kReapStep{10};

int ExitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& path, const std::vector<std::string>& arguments) {
  int output[2];
  // Close-on-exec, so that programs other threads start meanwhile do not hold the pipe open.
  if (::pipe2(output, O_CLOEXEC) != 0) return;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  if (failed != 0) {
    ::close(output[0]);
    return;
  }
  pid_ = pid;
  reader_ = std::thread([this, pipe = output[0]] { ReadOutput(pipe); });
}

ChildProcess::~ChildProcess() {
  if (started()) Stop();
}

void ChildProcess::ReadOutput(int pipe) {
  std::string pending;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(pipe, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(count));
    std::lock_guard lock(mutex_);
    for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
      lines_.push_back(pending.substr(0, end));
      pending.erase(0, end + 1);
    }
    changed_.notify_all();
  }
  ::close(pipe);
  std::lock_guard lock(mutex_);
  if (!pending.empty()) lines_.push_back(pending);
  outputEnded_ = true;
  changed_.notify_all();
}

std::optional<std::string> ChildProcess::WaitForLine(const std::function<bool(const std::string&)>& accepts,
                                                     std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  std::size_t checked = 0;
  std::optional<std::string> found;
  changed_.wait_for(lock, limit, [&] {
    for (; checked < lines_.size(); ++checked) {
      if (accepts(lines_[checked])) {
        found = lines_[checked];
        return true;
      }
    }
    return outputEnded_;
  });
  return found;
}

std::optional<std::string> ChildProcess::WaitForLine(const std::string& line, std::chrono::milliseconds limit) {
  return WaitForLine([&line](const std::string& candidate) { return candidate == line; }, limit);
}

std::vector<std::string> ChildProcess::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

int ChildProcess::Reap(int options) {
  if (status_) return *status_;
  int status = 0;
  const pid_t reaped = ::waitpid(pid_, &status, options);
  if (reaped == pid_) status_ = ExitStatus(status);
  if (reaped < 0 && errno != EINTR) status_ = -1;
  return status_.value_or(-1);
}

void ChildProcess::JoinReader() {
  if (reader_.joinable()) reader_.join();
}

int ChildProcess::Stop(std::chrono::milliseconds grace) {
  if (!started()) return -1;
  if (!status_) {
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (!status_ && std::chrono::steady_clock::now() < deadline) {
      Reap(WNOHANG);
      if (!status_) std::this_thread::sleep_for(kReapStep);
    }
    if (!status_) {
      ::kill(pid_, SIGKILL);
      while (!status_) Reap(0);
    }
  }
  JoinReader();
  return *status_;
}

int ChildProcess::Wait() {
  if (!started()) return -1;
  while (!status_) Reap(0);
  JoinReader();
  return *status_;
}

}  // namespace test
