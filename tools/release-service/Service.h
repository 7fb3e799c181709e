#pragma once

#include "tools/release-service/Options.h"

namespace release_service {

inline constexpr int kExitStopped = 0;
inline constexpr int kExitCannotStart = 1;
inline constexpr int kExitBadCommandLine = 2;

// Starts every listener, prints the service's URLs and "ready", serves until SIGTERM or SIGINT and
// returns the exit status. The two signals must already be blocked in every thread.
int RunService(const ServiceOptions& options);

}  // namespace release_service
