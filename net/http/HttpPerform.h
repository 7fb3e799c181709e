#pragma once

#include <string>
#include <vector>

#include "net/http/HttpAttempt.h"
#include "net/http/HttpRequest.h"
#include "net/http/HttpResponse.h"

namespace nbt {

// Runs the request's attempts until one succeeds: first with the system resolver, then once per
// entry of backupDnsServers, in order. The response keeps the body and headers of the final attempt,
// the status code of the last completed transfer (or -1) and, on failure, the final attempt's error.
void Perform(const AttemptSettings& settings, const std::vector<std::string>& backupDnsServers, HttpRequest& request,
             HttpResponse& response);

}  // namespace nbt
