#pragma once

#include <chrono>
#include <span>

namespace platform {

// One socket that a library (such as a resolver) owns and wants to be told about.
struct SocketInterest {
  int socket = -1;
  bool wantRead = false;
  bool wantWrite = false;
  // Filled by WaitForSockets.
  bool readable = false;
  bool writable = false;
};

enum class SocketWaitResult { Ready, TimedOut, Failed };

// Waits until at least one of the sockets is ready for what is wanted, or until the timeout has
// passed. An interrupted wait is resumed with the time that is left.
SocketWaitResult WaitForSockets(std::span<SocketInterest> sockets, std::chrono::milliseconds timeout);

}  // namespace platform
