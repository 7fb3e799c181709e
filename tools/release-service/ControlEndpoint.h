#pragma once

#include <httplib.h>

#include "tools/release-service/ServiceState.h"

namespace release_service {

// The loopback control endpoint: /faults (GET, POST, DELETE), /requests (GET, DELETE), /telemetry
// (GET).
void AddControlRoutes(httplib::Server& server, ServiceState& state);

}  // namespace release_service
