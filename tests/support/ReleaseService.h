#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace test {

// The local release service (tools/release-service) run as a child process for one test. By
// default on ports the system picks, so that tests run in parallel; with Ports::Fixed on the ports
// that test builds of the installer have built in (such tests take the CTest RESOURCE_LOCK
// "release_service_ports"). Its telemetry records go to a private folder that goes with the object.
class ReleaseService {
 public:
  enum class Ports { Ephemeral, Fixed };

  explicit ReleaseService(const std::vector<std::string>& arguments = {}, Ports ports = Ports::Ephemeral);
  ReleaseService(const ReleaseService&) = delete;
  ReleaseService& operator=(const ReleaseService&) = delete;
  ~ReleaseService();

  // True once the service printed "ready".
  bool ready() const { return ready_; }

  // A value the service printed on start ("version-endpoint-0", "release-base", "telemetry",
  // "control", "ca-file", ...); empty when it printed none.
  std::string Value(const std::string& name) const;
  std::string VersionEndpoint(int index) const { return Value("version-endpoint-" + std::to_string(index)); }
  std::string ReleaseBase() const { return Value("release-base"); }
  std::string TelemetryUrl() const { return Value("telemetry"); }
  std::string CaFile() const { return Value("ca-file"); }
  std::filesystem::path ReleaseFolder() const { return Value("release-folder"); }
  // Name and size of every "release-file" line.
  const std::map<std::string, long long>& ReleaseFiles() const { return releaseFiles_; }

  // Control endpoint: true when the service accepted the switch(es), one per line.
  bool AddFault(const std::string& switches);
  bool ClearFaults();
  std::vector<std::string> Faults();
  std::vector<std::string> Requests();
  bool ClearRequests();
  // The record file's lines.
  std::vector<std::string> TelemetryRecords() const;

  // SIGTERM; returns the exit status.
  int Stop();
  ChildProcess& process() { return *process_; }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ChildProcess> process_;
  std::map<std::string, std::string> values_;
  std::map<std::string, long long> releaseFiles_;
  bool ready_ = false;
};

// Path of the release-service program of this build.
std::string ReleaseServicePath();

}  // namespace test
