#include "tests/support/ReleaseService.h"

#include <httplib.h>
#include <stdlib.h>

#include <sstream>

#include "tests/support/TempHome.h"

namespace test {
namespace {

constexpr std::chrono::seconds kStartLimit{30};
constexpr char kReadyLine[] = "ready";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::filesystem::path MakeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumo-service-XXXXXX").string();
  return ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

// The control endpoint's host and port from its printed URL "http://127.0.0.1:PORT/".
httplib::Client ControlClient(const std::string& url) {
  httplib::Client client(url.substr(0, url.size() - 1));
  client.set_connection_timeout(std::chrono::seconds(10));
  return client;
}

}  // namespace

std::string ReleaseServicePath() {
  return LUMO_RELEASE_SERVICE_PATH;
}

ReleaseService::ReleaseService(const std::vector<std::string>& arguments, Ports ports) : folder_(MakeFolder()) {
  std::vector<std::string> all;
  if (ports == Ports::Ephemeral) all.push_back("--ephemeral");
  all.insert(all.end(), {"--records", (folder_ / "telemetry.log").string()});
  all.insert(all.end(), arguments.begin(), arguments.end());
  process_ = std::make_unique<ChildProcess>(ReleaseServicePath(), all);
  ready_ = process_->WaitForLine(kReadyLine, kStartLimit).has_value();
  for (const auto& line : process_->Lines()) {
    const auto space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string name = line.substr(0, space);
    const std::string value = line.substr(space + 1);
    if (name == "release-file") {
      const auto split = value.rfind(' ');
      releaseFiles_[value.substr(0, split)] = std::stoll(value.substr(split + 1));
      continue;
    }
    values_[name] = value;
  }
}

ReleaseService::~ReleaseService() {
  process_.reset();
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string ReleaseService::Value(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? "" : found->second;
}

bool ReleaseService::AddFault(const std::string& switches) {
  auto client = ControlClient(Value("control"));
  const auto result = client.Post("/faults", switches, "text/plain");
  return result && result->status == 200;
}

bool ReleaseService::ClearFaults() {
  auto client = ControlClient(Value("control"));
  const auto result = client.Delete("/faults");
  return result && result->status == 200;
}

std::vector<std::string> ReleaseService::Faults() {
  auto client = ControlClient(Value("control"));
  const auto result = client.Get("/faults");
  return result ? SplitLines(result->body) : std::vector<std::string>{};
}

std::vector<std::string> ReleaseService::Requests() {
  auto client = ControlClient(Value("control"));
  const auto result = client.Get("/requests");
  return result ? SplitLines(result->body) : std::vector<std::string>{};
}

bool ReleaseService::ClearRequests() {
  auto client = ControlClient(Value("control"));
  const auto result = client.Delete("/requests");
  return result && result->status == 200;
}

std::vector<std::string> ReleaseService::TelemetryRecords() const {
  return SplitLines(ReadFile(Value("telemetry-records")));
}

int ReleaseService::Stop() {
  return process_->Stop();
}

}  // namespace test
