#include "tools/release-service/Service.h"

#include <signal.h>

#include <iostream>
#include <memory>

#include "tools/release-service/ControlEndpoint.h"
#include "tools/release-service/Listeners.h"
#include "tools/release-service/ServiceCertificate.h"
#include "tools/release-service/ServiceRoutes.h"
#include "tools/release-service/ServiceState.h"

namespace release_service {
namespace {

constexpr char kVersionPath[] = "/api/pt/latest-version";

int CannotStart(const std::string& why) {
  std::cerr << "release-service: " << why << std::endl;
  return kExitCannotStart;
}

std::string Origin(const char* scheme, const char* host, int port) {
  return std::string(scheme) + "://" + host + ":" + std::to_string(port);
}

bool ReadSwitches(const std::vector<std::string>& texts, FaultBoard& board, std::string& error) {
  std::vector<FaultSwitch> switches;
  for (const auto& text : texts) {
    const ParsedSwitch parsed = ParseFaultSwitch(text);
    if (!parsed.fault) {
      error = parsed.error;
      return false;
    }
    switches.push_back(*parsed.fault);
  }
  board.Add(switches);
  return true;
}

void AddRoutes(Listeners& listeners, ServiceState& state) {
  const auto& ports = listeners.ports();
  for (std::size_t index = 0; index < Listeners::kSecureHosts.size(); ++index) {
    const std::string origin = Origin("https", Listeners::kSecureHosts[index], ports.https);
    AddVersionRoutes(listeners.secure(index), state, static_cast<int>(index), origin);
    AddFileRoutes(listeners.secure(index), state, origin);
  }
  const std::string plainOrigin = Origin("http", Listeners::kPlainHost, ports.http);
  AddFileRoutes(listeners.plain(), state, plainOrigin);
  AddTelemetryRoutes(listeners.plain(), state, plainOrigin);
  AddControlRoutes(listeners.control(), state);
}

void PrintUrls(const Listeners& listeners, const ServiceState& state, const ServiceCertificate& certificate,
               const std::filesystem::path& records) {
  const auto& ports = listeners.ports();
  std::string text;
  for (std::size_t index = 0; index < Listeners::kSecureHosts.size(); ++index) {
    text += "version-endpoint-" + std::to_string(index) + " " +
            Origin("https", Listeners::kSecureHosts[index], ports.https) + kVersionPath + "\n";
  }
  const std::string plainOrigin = Origin("http", Listeners::kPlainHost, ports.http);
  text += "release-base " + state.releaseBase + "\n";
  text += "release-base-http " + plainOrigin + "/release/\n";
  text += "telemetry " + plainOrigin + "/log/common\n";
  text += "control " + Origin("http", Listeners::kPlainHost, ports.control) + "/\n";
  text += "ca-file " + certificate.authorityFile().string() + "\n";
  text += "telemetry-records " + records.string() + "\n";
  text += "release-folder " + state.release.folder().string() + "\n";
  for (const auto& [name, file] : state.release.files()) {
    text += "release-file " + name + " " + std::to_string(file.size) + "\n";
  }
  text += "ready\n";
  std::cout << text << std::flush;
}

void WaitForStopSignal() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  int received = 0;
  while (sigwait(&signals, &received) != 0) {
  }
}

}  // namespace

int RunService(const ServiceOptions& options) {
  std::string error;
  auto release = ReleaseFolder::Open(options.releaseFolder, error);
  if (!release) return CannotStart(error);
  auto state = std::make_unique<ServiceState>(std::move(*release));
  if (!ReadSwitches(options.faults, state->faults, error)) {
    std::cerr << "release-service: " << error << std::endl;
    return kExitBadCommandLine;
  }
  auto certificate = ServiceCertificate::Make(options.stateFolder, error);
  if (!certificate) return CannotStart(error);

  Listeners listeners;
  if (!listeners.Bind({options.httpsPort, options.httpPort, options.controlPort}, certificate->certificateFile(),
                      certificate->keyFile(), error)) {
    return CannotStart(error);
  }
  const auto records = std::filesystem::absolute(options.recordsFile.value_or(
      options.stateFolder / ("telemetry-" + std::to_string(listeners.ports().http) + ".log")));
  if (!state->telemetry.Open(records)) return CannotStart("cannot write the record file " + records.string());
  state->releaseBase = Origin("https", Listeners::kSecureHosts[0], listeners.ports().https) + "/release/";

  AddRoutes(listeners, *state);
  listeners.Start();
  PrintUrls(listeners, *state, *certificate, records);

  WaitForStopSignal();
  state->stop.Raise();
  listeners.Stop();
  std::cout << "stopped" << std::endl;
  return kExitStopped;
}

}  // namespace release_service
