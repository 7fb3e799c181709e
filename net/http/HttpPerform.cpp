#include "net/http/HttpPerform.h"

namespace nbt {
namespace {

// The request's fields must fit the sizes its callers rely on; a request that does not fit is
// refused whole rather than sent cut short.
bool FitsFieldSizes(const HttpRequest& request, std::string& why) {
  if (request.url.size() >= HttpRequest::kUrlCapacity) {
    why = "URL longer than " + std::to_string(HttpRequest::kUrlCapacity - 1) + " bytes";
    return false;
  }
  if (request.body.size() >= HttpRequest::kBodyCapacity) {
    why = "body longer than " + std::to_string(HttpRequest::kBodyCapacity - 1) + " bytes";
    return false;
  }
  return true;
}

}  // namespace

void Perform(const AttemptSettings& settings, const std::vector<std::string>& backupDnsServers, HttpRequest& request,
             HttpResponse& response) {
  response.statusCode = -1;
  response.succeeded = false;
  if (!FitsFieldSizes(request, response.errorText)) return;

  std::vector<std::string> attempts{""};
  for (const auto& servers : backupDnsServers) {
    if (servers.size() < HttpRequest::kDnsServersCapacity) attempts.push_back(servers);
  }

  std::int32_t statusCode = -1;
  bool succeeded = false;
  for (const auto& servers : attempts) {
    request.dnsServers = servers;
    response.body.clear();
    response.headers.clear();
    succeeded = RunAttempt(settings, request, response, statusCode);
    if (succeeded) break;
  }

  response.statusCode = statusCode;
  response.succeeded = succeeded;
  response.errorText = succeeded ? "" : settings.errorBuffer;
}

}  // namespace nbt
