#include "tools/release-service/ServiceRoutes.h"

#include <functional>
#include <limits>

#include "tools/release-service/Answer.h"
#include "tools/release-service/ByteRange.h"
#include "tools/release-service/Connection.h"
#include "tools/release-service/FileServer.h"
#include "tools/release-service/VersionEndpoint.h"

namespace release_service {
namespace {

constexpr char kVersionPath[] = "/api/pt/latest-version";
constexpr char kFilePattern[] = "/release/([^/]+)";
constexpr char kTelemetryPath[] = "/log/common";
constexpr char kHopParameter[] = "redirect-hop";
constexpr char kChainParameter[] = "redirect-of";
constexpr std::chrono::minutes kHoldLimit{10};

using AnswerMaker = std::function<Answer(const AppliedFaults&)>;

const char* ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 206:
      return "Partial Content";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 416:
      return "Range Not Satisfiable";
    case 429:
      return "Too Many Requests";
    case 500:
      return "Internal Server Error";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    default:
      return "Status";
  }
}

std::optional<long long> NumberParameter(const httplib::Request& request, const char* name) {
  if (!request.has_param(name)) return std::nullopt;
  try {
    return std::stoll(request.get_param_value(name));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string LogLine(const httplib::Request& request, const std::string& origin, const std::string& status,
                    const AppliedFaults& faults) {
  const std::string range = request.has_header("Range") ? request.get_header_value("Range") : "-";
  return request.method + " " + origin + request.target + " range=" + range + " status=" + status +
         " faults=" + faults.Names();
}

// Answers with the next redirect of a chain, when this request is one; true when it was.
bool AnswerRedirect(const httplib::Request& request, httplib::Response& response, const AppliedFaults& faults,
                    const std::string& origin, int& status) {
  long long hop = 0;
  long long chain = 0;
  if (request.has_param(kHopParameter)) {
    hop = NumberParameter(request, kHopParameter).value_or(0);
    chain = NumberParameter(request, kChainParameter).value_or(0);
  } else if (faults.Has(Fault::Redirect)) {
    chain = faults.Number(Fault::Redirect, 0);
  }
  if (hop >= chain) return false;
  const std::string location = origin + request.path + "?" + kHopParameter + "=" + std::to_string(hop + 1) + "&" +
                               kChainParameter + "=" + std::to_string(chain);
  status = request.method == "POST" ? 307 : 302;
  response.status = status;
  response.set_header("Location", location);
  response.set_content("", "text/plain");
  return true;
}

void ReplaceStatus(Answer& answer, const AppliedFaults& faults, TargetKind kind) {
  if (!faults.Has(Fault::Status)) return;
  const int status = static_cast<int>(faults.Number(Fault::Status, answer.status));
  if (kind == TargetKind::File) {
    answer = Answer::Text(status, std::to_string(status) + " " + ReasonOf(status) + "\n");
    return;
  }
  answer.status = status;
}

// Every request of the version, file and telemetry routes runs through here: the switches that
// match it are taken, the timing faults applied, the answer made and sent, the request logged.
void Serve(const httplib::Request& request, httplib::Response& response, ServiceState& state, const std::string& origin,
           RequestFacts facts, const AnswerMaker& makeAnswer) {
  // The service answers ranges itself; the HTTP layer would otherwise cut the body a second time.
  const_cast<httplib::Request&>(request).ranges.clear();
  facts.method = request.method;
  facts.redirectHop = request.has_param(kHopParameter);
  if (request.has_header("Range")) {
    facts.hasRange = true;
    const auto asked = ReadByteRange(request.get_header_value("Range"), std::numeric_limits<std::int64_t>::max());
    if (asked.askedFirst >= 0) facts.rangeFirst = asked.askedFirst;
  }
  const AppliedFaults faults = state.faults.Take(facts);

  if (faults.Has(Fault::Slow)) state.stop.WaitFor(std::chrono::milliseconds(faults.Number(Fault::Slow, 0)));
  if (faults.Has(Fault::Timeout)) {
    state.requests.Add(LogLine(request, origin, "-", faults));
    HoldWhileClientWaits(ConnectionSocket(request), state.stop, kHoldLimit);
    response.status = 504;
    response.set_content("504 Gateway Timeout\n", "text/plain");
    return;
  }
  int status = 0;
  if (AnswerRedirect(request, response, faults, origin, status)) {
    state.requests.Add(LogLine(request, origin, std::to_string(status), faults));
    return;
  }
  Answer answer = makeAnswer(faults);
  ReplaceStatus(answer, faults, facts.kind);
  state.requests.Add(LogLine(request, origin, std::to_string(answer.status), faults));
  SendAnswer(request, response, answer, faults, state.stop);
}

}  // namespace

void AddVersionRoutes(httplib::Server& server, ServiceState& state, int versionIndex, const std::string& origin) {
  auto handler = [&state, versionIndex, origin](const httplib::Request& request, httplib::Response& response) {
    RequestFacts facts;
    facts.kind = TargetKind::Version;
    facts.versionIndex = versionIndex;
    Serve(request, response, state, origin, facts, [&state](const AppliedFaults& faults) {
      return VersionAnswer(state.release.version(), state.releaseBase, faults);
    });
  };
  server.Post(kVersionPath, handler);
  server.Get(kVersionPath, handler);
}

void AddFileRoutes(httplib::Server& server, ServiceState& state, const std::string& origin) {
  server.Get(kFilePattern, [&state, origin](const httplib::Request& request, httplib::Response& response) {
    RequestFacts facts;
    facts.kind = TargetKind::File;
    facts.fileName = request.matches[1];
    Serve(request, response, state, origin, facts,
          [&](const AppliedFaults& faults) { return FileAnswer(state.release, facts.fileName, request, faults); });
  });
}

void AddTelemetryRoutes(httplib::Server& server, ServiceState& state, const std::string& origin) {
  server.Post(kTelemetryPath, [&state, origin](const httplib::Request& request, httplib::Response& response) {
    state.telemetry.Record(request.body);
    RequestFacts facts;
    facts.kind = TargetKind::Telemetry;
    Serve(request, response, state, origin, facts,
          [](const AppliedFaults&) { return Answer::Text(200, "ok", "text/plain"); });
  });
}

}  // namespace release_service
