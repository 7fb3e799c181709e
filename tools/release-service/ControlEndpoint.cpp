#include "tools/release-service/ControlEndpoint.h"

#include <sstream>
#include <string>
#include <vector>

namespace release_service {
namespace {

constexpr char kTextType[] = "text/plain";

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

void AnswerOk(httplib::Response& response) {
  response.set_content("ok\n", kTextType);
}

// Adds every switch of the body, one per line, or none when a line is not a switch.
void AddSwitches(const httplib::Request& request, httplib::Response& response, FaultBoard& faults) {
  std::vector<FaultSwitch> parsed;
  std::istringstream lines(request.body);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const ParsedSwitch result = ParseFaultSwitch(line);
    if (!result.fault) {
      response.status = 400;
      response.set_content("release-service: " + result.error + "\n", kTextType);
      return;
    }
    parsed.push_back(*result.fault);
  }
  faults.Add(parsed);
  AnswerOk(response);
}

}  // namespace

void AddControlRoutes(httplib::Server& server, ServiceState& state) {
  server.Get("/faults", [&state](const httplib::Request&, httplib::Response& response) {
    std::vector<std::string> lines;
    for (const auto& faultSwitch : state.faults.List()) lines.push_back(FormatFaultSwitch(faultSwitch));
    response.set_content(JoinLines(lines), kTextType);
  });
  server.Post("/faults", [&state](const httplib::Request& request, httplib::Response& response) {
    AddSwitches(request, response, state.faults);
  });
  server.Delete("/faults", [&state](const httplib::Request&, httplib::Response& response) {
    state.faults.Clear();
    AnswerOk(response);
  });
  server.Get("/requests", [&state](const httplib::Request&, httplib::Response& response) {
    response.set_content(JoinLines(state.requests.Lines()), kTextType);
  });
  server.Delete("/requests", [&state](const httplib::Request&, httplib::Response& response) {
    state.requests.Clear();
    AnswerOk(response);
  });
  server.Get("/telemetry", [&state](const httplib::Request&, httplib::Response& response) {
    response.set_content(JoinLines(state.telemetry.Lines()), kTextType);
  });
}

}  // namespace release_service
