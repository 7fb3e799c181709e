// A program the program-start tests run: it writes what it was started with (its arguments, the
// descriptors it holds, its signal state, its session and parent) as "key=value" lines into the file
// that LUMO_PROBE_REPORT names. LUMO_PROBE_GATE names a file to wait for (up to 20 s) before
// reporting; LUMO_PROBE_EXIT an exit code; LUMO_PROBE_RAISE a signal to end by.

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr auto kGateLimit = std::chrono::seconds(20);

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

const char* Disposition(int signal) {
  struct sigaction current {};
  ::sigaction(signal, nullptr, &current);
  return current.sa_handler == SIG_IGN ? "ignored" : current.sa_handler == SIG_DFL ? "default" : "handled";
}

int BlockedSignals() {
  sigset_t blocked;
  ::sigprocmask(SIG_SETMASK, nullptr, &blocked);
  int count = 0;
  for (int signal = 1; signal < NSIG; ++signal) count += ::sigismember(&blocked, signal) == 1 ? 1 : 0;
  return count;
}

std::string WaitForGate() {
  const char* gate = std::getenv("LUMO_PROBE_GATE");
  if (gate == nullptr) return "none";
  const auto deadline = std::chrono::steady_clock::now() + kGateLimit;
  while (!std::filesystem::exists(gate)) {
    if (std::chrono::steady_clock::now() > deadline) return "timeout";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "opened";
}

// Listed before the report file is opened, which would be one of them.
std::vector<int> OpenDescriptors() {
  std::vector<int> descriptors;
  DIR* folder = ::opendir("/proc/self/fd");
  if (folder == nullptr) return descriptors;
  while (const dirent* entry = ::readdir(folder)) {
    const int fd = std::atoi(entry->d_name);
    if (entry->d_name[0] == '.' || fd < 3 || fd == ::dirfd(folder)) continue;
    descriptors.push_back(fd);
  }
  ::closedir(folder);
  return descriptors;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string gate = WaitForGate();
  const char* report = std::getenv("LUMO_PROBE_REPORT");
  if (report == nullptr) return 100;
  const std::vector<int> descriptors = OpenDescriptors();
  const std::string partial = std::string(report) + ".partial";
  {
    std::ofstream out(partial, std::ios::binary);
    for (int i = 0; i < argc; ++i) out << "arg=" << Escaped(argv[i]) << "\n";
    for (const int fd : descriptors) out << "fd=" << fd << "\n";
    out << "sigpipe=" << Disposition(SIGPIPE) << "\n";
    out << "sigxfsz=" << Disposition(SIGXFSZ) << "\n";
    out << "blocked=" << BlockedSignals() << "\n";
    out << "session=" << ::getsid(0) << "\n";
    out << "parent=" << ::getppid() << "\n";
    out << "gate=" << gate << "\n";
  }
  // Whole or not at all, for the test that polls for it.
  std::rename(partial.c_str(), report);
  if (const char* raise = std::getenv("LUMO_PROBE_RAISE")) ::raise(std::atoi(raise));
  if (const char* code = std::getenv("LUMO_PROBE_EXIT")) return std::atoi(code);
  return 0;
}
