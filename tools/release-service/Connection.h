#pragma once

#include <chrono>

#include <httplib.h>

#include "tools/release-service/StopSignal.h"

namespace release_service {

// The socket a request arrived on, or -1 when it cannot be found.
int ConnectionSocket(const httplib::Request& request);

// Resets the connection (TCP RST) at once. The socket stays open for its owner, which closes it
// as usual; anything written later fails.
void ResetNow(int socket);

// Ends the connection's sending side at once with an orderly TCP close (FIN), so a TLS connection
// ends without its close_notify.
void CloseNow(int socket);

// Waits until the client's side has acknowledged every byte sent, so that a reset that follows
// cannot overtake them; at most a few seconds.
void WaitUntilDelivered(int socket, const StopSignal& stop);

// Waits while the client keeps the connection open and silent: ends when the client closes it (or
// sends more), when the service stops or when the limit has passed. Without a socket it waits for
// the stop or the limit.
void HoldWhileClientWaits(int socket, const StopSignal& stop, std::chrono::milliseconds limit);

}  // namespace release_service
