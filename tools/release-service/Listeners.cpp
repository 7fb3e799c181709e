#include "tools/release-service/Listeners.h"

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace release_service {
namespace {

constexpr int kBindAttempts = 20;
constexpr std::size_t kWorkerThreads = 32;
constexpr time_t kKeepAliveSeconds = 1;
constexpr std::chrono::milliseconds kStartStep{1};

// Held answers (timeout, stall) keep a worker each, so every listener gets a generous pool; idle
// keep-alive connections are let go quickly so that stopping is quick too.
void Configure(httplib::Server& server) {
  server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  // The HTTP layer's own choice adds SO_REUSEPORT, with which a second service would share a port
  // that is in use instead of being refused.
  server.set_socket_options([](socket_t socket) {
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

int BindOne(httplib::Server& server, const char* host, int port) {
  if (port == 0) return server.bind_to_any_port(host);
  return server.bind_to_port(host, port) ? port : -1;
}

std::string CannotBind(const char* host, int port) {
  return std::string("cannot listen on ") + host + ":" + std::to_string(port) + " (in use?)";
}

}  // namespace

Listeners::~Listeners() {
  Stop();
}

bool Listeners::BindSecure(int wanted, const std::filesystem::path& certificate, const std::filesystem::path& key,
                           std::string& error) {
  for (int attempt = 0; attempt < kBindAttempts; ++attempt) {
    for (auto& server : secure_) abandoned_.push_back(std::move(server));
    secure_.clear();
    int port = wanted;
    bool bound = true;
    for (const char* host : kSecureHosts) {
      auto server = std::make_unique<httplib::SSLServer>(certificate.c_str(), key.c_str());
      if (!server->is_valid()) {
        error = "cannot load the server certificate " + certificate.string();
        return false;
      }
      Configure(*server);
      const int boundPort = BindOne(*server, host, port);
      secure_.push_back(std::move(server));
      if (boundPort <= 0) {
        bound = false;
        error = CannotBind(host, port);
        break;
      }
      port = boundPort;
    }
    if (bound) {
      ports_.https = port;
      return true;
    }
    // A fixed port is either free or not; a picked one may be taken on another host: pick again.
    if (wanted != 0) return false;
  }
  return false;
}

bool Listeners::Bind(const Ports& wanted, const std::filesystem::path& certificate, const std::filesystem::path& key,
                     std::string& error) {
  if (!BindSecure(wanted.https, certificate, key, error)) return false;
  plain_ = std::make_unique<httplib::Server>();
  control_ = std::make_unique<httplib::Server>();
  Configure(*plain_);
  Configure(*control_);
  ports_.http = BindOne(*plain_, kPlainHost, wanted.http);
  if (ports_.http <= 0) {
    error = CannotBind(kPlainHost, wanted.http);
    return false;
  }
  ports_.control = BindOne(*control_, kPlainHost, wanted.control);
  if (ports_.control <= 0) {
    error = CannotBind(kPlainHost, wanted.control);
    return false;
  }
  return true;
}

void Listeners::Start() {
  std::vector<httplib::Server*> servers;
  for (auto& server : secure_) servers.push_back(server.get());
  servers.push_back(plain_.get());
  servers.push_back(control_.get());
  std::vector<std::shared_ptr<std::atomic<bool>>> ended;
  for (auto* server : servers) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    ended.push_back(done);
    threads_.emplace_back([server, done] {
      server->listen_after_bind();
      *done = true;
    });
  }
  // A stop before a server runs would be lost, so Start returns only once every one runs (or has
  // already given up).
  for (std::size_t i = 0; i < servers.size(); ++i) {
    while (!servers[i]->is_running() && !*ended[i]) std::this_thread::sleep_for(kStartStep);
  }
}

void Listeners::Stop() {
  for (auto& server : secure_) server->stop();
  if (plain_) plain_->stop();
  if (control_) control_->stop();
  for (auto& thread : threads_) thread.join();
  threads_.clear();
}

}  // namespace release_service
