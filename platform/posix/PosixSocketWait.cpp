#include "platform/SocketWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace platform {

SocketWaitResult WaitForSockets(std::span<SocketInterest> sockets, std::chrono::milliseconds timeout) {
  std::vector<pollfd> entries;
  entries.reserve(sockets.size());
  for (const auto& interest : sockets) {
    short events = 0;
    if (interest.wantRead) events |= POLLIN;
    if (interest.wantWrite) events |= POLLOUT;
    entries.push_back(pollfd{interest.socket, events, 0});
  }

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const int count = ::poll(entries.data(), entries.size(), static_cast<int>(std::max<long long>(left.count(), 0)));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return SocketWaitResult::Failed;
    if (count == 0) return SocketWaitResult::TimedOut;
    break;
  }

  for (std::size_t i = 0; i < sockets.size(); ++i) {
    // An error or hang-up is reported as readable, so that the owner reads and sees the failure.
    const short seen = entries[i].revents;
    sockets[i].readable = (seen & (POLLIN | POLLERR | POLLHUP)) != 0;
    sockets[i].writable = (seen & POLLOUT) != 0;
  }
  return SocketWaitResult::Ready;
}

}  // namespace platform
