#include "tests/net/http/LoopbackHttpServer.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <thread>

namespace test {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string SeenRequest::Header(const std::string& name) const {
  const auto found = headers.find(Lower(name));
  return found == headers.end() ? std::string() : found->second;
}

bool SeenRequest::HasHeader(const std::string& name) const {
  return headers.count(Lower(name)) > 0;
}

struct LoopbackHttpServer::Impl {
  std::unique_ptr<httplib::Server> server;
  std::thread listener;
  std::atomic<bool> finished{false};
  mutable std::mutex lock;
  std::vector<SeenRequest> seen;  // guarded by lock
  Handler handler;

  void Answer(const httplib::Request& request, httplib::Response& response) {
    SeenRequest copy{request.method, request.path, request.body, {}};
    for (const auto& [name, value] : request.headers) copy.headers.emplace(Lower(name), value);
    {
      std::lock_guard guard(lock);
      seen.push_back(copy);
    }
    const Reply reply = handler(copy);
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) response.set_header(name, value);
    response.set_content(reply.body, "text/plain");
  }
};

std::unique_ptr<LoopbackHttpServer> LoopbackHttpServer::Start(Handler handler, const std::string& address, int port,
                                                              const std::optional<TlsFiles>& tls) {
  auto impl = std::make_unique<Impl>();
  impl->handler = std::move(handler);
  if (tls) {
    impl->server = std::make_unique<httplib::SSLServer>(tls->certificateFile.c_str(), tls->keyFile.c_str());
  } else {
    impl->server = std::make_unique<httplib::Server>();
  }
  if (!impl->server->is_valid()) return nullptr;

  Impl* raw = impl.get();
  auto answer = [raw](const httplib::Request& request, httplib::Response& response) { raw->Answer(request, response); };
  impl->server->Get(".*", answer).Post(".*", answer).Put(".*", answer).Delete(".*", answer);

  if (port == 0) {
    port = impl->server->bind_to_any_port(address);
    if (port <= 0) return nullptr;
  } else if (!impl->server->bind_to_port(address, port)) {
    return nullptr;
  }
  // The socket listens already; the thread only accepts.
  impl->listener = std::thread([raw] {
    raw->server->listen_after_bind();
    raw->finished = true;
  });
  return std::unique_ptr<LoopbackHttpServer>(new LoopbackHttpServer(std::move(impl), port));
}

LoopbackHttpServer::LoopbackHttpServer(std::unique_ptr<Impl> impl, int port) : impl_(std::move(impl)), port_(port) {}

LoopbackHttpServer::~LoopbackHttpServer() {
  // stop() only takes effect once the accept loop runs, so it is repeated until the loop has ended.
  while (!impl_->finished) {
    impl_->server->stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  impl_->listener.join();
}

std::vector<SeenRequest> LoopbackHttpServer::Requests() const {
  std::lock_guard guard(impl_->lock);
  return impl_->seen;
}

}  // namespace test
