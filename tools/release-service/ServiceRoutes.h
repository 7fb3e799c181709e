#pragma once

#include <string>

#include <httplib.h>

#include "tools/release-service/ServiceState.h"

namespace release_service {

// origin is the listener's "scheme://address:port", used in redirects and in the request log.

// "/api/pt/latest-version" (POST and GET) as version endpoint versionIndex.
void AddVersionRoutes(httplib::Server& server, ServiceState& state, int versionIndex, const std::string& origin);

// "/release/NAME" (GET and HEAD).
void AddFileRoutes(httplib::Server& server, ServiceState& state, const std::string& origin);

// "/log/common" (POST): records the form.
void AddTelemetryRoutes(httplib::Server& server, ServiceState& state, const std::string& origin);

}  // namespace release_service
