#pragma once

#include <string>

#include "tools/release-service/FaultBoard.h"
#include "tools/release-service/ReleaseFolder.h"
#include "tools/release-service/RequestLog.h"
#include "tools/release-service/StopSignal.h"
#include "tools/release-service/TelemetryRecords.h"

namespace release_service {

// What every listener shares while the service runs.
struct ServiceState {
  explicit ServiceState(ReleaseFolder served) : release(std::move(served)) {}

  const ReleaseFolder release;
  std::string releaseBase;  // the URL the version answers name, ending in "/"
  FaultBoard faults;
  RequestLog requests;
  TelemetryRecords telemetry;
  StopSignal stop;
};

}  // namespace release_service
