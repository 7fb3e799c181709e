#include "tools/release-service/Connection.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace release_service {
namespace {

constexpr std::chrono::milliseconds kHoldStep{50};
constexpr std::chrono::milliseconds kDeliveryStep{5};
constexpr std::chrono::seconds kDeliveryLimit{10};

struct Endpoint {
  std::string address;
  int port = -1;
};

Endpoint ToEndpoint(const sockaddr_storage& storage) {
  if (storage.ss_family != AF_INET) return {};
  const auto& in = reinterpret_cast<const sockaddr_in&>(storage);
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
  return {text, ntohs(in.sin_port)};
}

bool IsConnection(int socket, const httplib::Request& request) {
  sockaddr_storage local{};
  sockaddr_storage peer{};
  socklen_t localSize = sizeof local;
  socklen_t peerSize = sizeof peer;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &localSize) != 0) return false;
  if (::getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) return false;
  const Endpoint mine = ToEndpoint(local);
  const Endpoint theirs = ToEndpoint(peer);
  return mine.port == request.local_port && mine.address == request.local_addr && theirs.port == request.remote_port &&
         theirs.address == request.remote_addr;
}

}  // namespace

int ConnectionSocket(const httplib::Request& request) {
  if (request.ssl != nullptr) return ::SSL_get_fd(request.ssl);
  // A plain connection does not tell its socket; the one whose two ends match the request's is it.
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const int socket = std::atoi(entry.path().filename().c_str());
    if (IsConnection(socket, request)) return socket;
  }
  return -1;
}

void ResetNow(int socket) {
  if (socket < 0) return;
  // Connecting a TCP socket to AF_UNSPEC disconnects it, which sends a reset.
  sockaddr unspecified{};
  unspecified.sa_family = AF_UNSPEC;
  ::connect(socket, &unspecified, sizeof unspecified);
}

void CloseNow(int socket) {
  if (socket >= 0) ::shutdown(socket, SHUT_WR);
}

void WaitUntilDelivered(int socket, const StopSignal& stop) {
  if (socket < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + kDeliveryLimit;
  int pending = 0;
  while (::ioctl(socket, SIOCOUTQ, &pending) == 0 && pending > 0 && std::chrono::steady_clock::now() < deadline) {
    if (!stop.WaitFor(kDeliveryStep)) return;
  }
}

void HoldWhileClientWaits(int socket, const StopSignal& stop, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!stop.Raised() && std::chrono::steady_clock::now() < deadline) {
    if (socket < 0) {
      stop.WaitFor(kHoldStep);
      continue;
    }
    pollfd watch{socket, POLLIN | POLLRDHUP, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(kHoldStep.count()));
    if (ready != 0) return;
  }
}

}  // namespace release_service
