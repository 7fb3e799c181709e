#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test {

// What a loopback server received.
struct SeenRequest {
  std::string method;
  std::string path;
  std::string body;
  std::multimap<std::string, std::string> headers;

  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

struct Reply {
  int status = 200;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

using Handler = std::function<Reply(const SeenRequest&)>;

struct TlsFiles {
  std::filesystem::path certificateFile;
  std::filesystem::path keyFile;
};

// An in-process HTTP or HTTPS server on a loopback address, answering every method and path
// through one handler and recording each request it got. It listens from the moment Start
// returns until it is destroyed.
class LoopbackHttpServer {
 public:
  // Port 0 picks a free port. Empty when the address cannot be bound.
  static std::unique_ptr<LoopbackHttpServer> Start(Handler handler, const std::string& address = "127.0.0.1",
                                                   int port = 0, const std::optional<TlsFiles>& tls = std::nullopt);
  ~LoopbackHttpServer();

  int port() const { return port_; }
  std::vector<SeenRequest> Requests() const;

 private:
  struct Impl;
  explicit LoopbackHttpServer(std::unique_ptr<Impl> impl, int port);

  std::unique_ptr<Impl> impl_;
  int port_ = 0;
};

}  // namespace test
