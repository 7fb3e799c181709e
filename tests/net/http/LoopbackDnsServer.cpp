#include "tests/net/http/LoopbackDnsServer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "net/http/AresChannel.h"

extern char** environ;

namespace test {
namespace {

constexpr char kDnsmasq[] = "/usr/sbin/dnsmasq";
// Readiness is probed this many times, each probe waiting at most kProbeBudget for an answer.
constexpr int kReadinessProbes = 100;
constexpr auto kProbeBudget = std::chrono::milliseconds(100);

std::vector<std::string> Arguments(const std::string& address, int port,
                                   const std::vector<LoopbackDnsServer::Record>& records) {
  std::vector<std::string> arguments = {kDnsmasq,
                                        "--keep-in-foreground",
                                        "--conf-file=/dev/null",
                                        "--no-resolv",
                                        "--no-hosts",
                                        "--bind-interfaces",
                                        "--pid-file=",
                                        "--log-facility=/dev/null",
                                        "--listen-address=" + address,
                                        "--port=" + std::to_string(port)};
  if (::geteuid() == 0) arguments.push_back("--user=root");
  for (const auto& [name, ip] : records) arguments.push_back("--host-record=" + name + "," + ip);
  return arguments;
}

bool Answers(const std::string& server, const std::string& name) {
  nbt::AresChannel channel;
  return channel.UseServers(server) && channel.LookUp(name, kProbeBudget).error.empty();
}

bool HasExited(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

std::pair<std::string, int> SplitServerAddress(const std::string& server) {
  const auto colon = server.rfind(':');
  if (colon == std::string::npos) return {server, 53};
  return {server.substr(0, colon), std::stoi(server.substr(colon + 1))};
}

std::unique_ptr<LoopbackDnsServer> LoopbackDnsServer::Start(const std::string& address, int port,
                                                            const std::vector<Record>& records) {
  const auto arguments = Arguments(address, port, records);
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, kDnsmasq, nullptr, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", kDnsmasq);
    return nullptr;
  }
  std::unique_ptr<LoopbackDnsServer> server(new LoopbackDnsServer(pid));
  const std::string where = address + ":" + std::to_string(port);
  for (int probe = 0; probe < kReadinessProbes; ++probe) {
    if (records.empty() || Answers(where, records.front().first)) return server;
    if (HasExited(pid)) {
      server->pid_ = 0;
      std::fprintf(stderr, "dnsmasq ended at once (is %s in use?)\n", where.c_str());
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::fprintf(stderr, "dnsmasq does not answer at %s\n", where.c_str());
  return nullptr;
}

LoopbackDnsServer::~LoopbackDnsServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

}  // namespace test
