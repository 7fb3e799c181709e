#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <httplib.h>

#include "tools/release-service/FaultBoard.h"
#include "tools/release-service/StopSignal.h"

namespace release_service {

// An answer as its endpoint makes it, before the transfer faults shape how it is sent.
struct Answer {
  int status = 200;
  std::string contentType = "text/plain";
  std::vector<std::pair<std::string, std::string>> headers;

  // The body: these bytes, or, when file is set, length bytes of the file from offset.
  std::string bytes;
  std::filesystem::path file;
  std::int64_t offset = 0;
  std::int64_t length = 0;

  static Answer Text(int status, std::string text, std::string contentType = "text/plain");
};

// Sends the answer through the response, applying the faults that shape its transfer (stall, reset,
// cut) and the HEAD length faults. Returns the status sent.
int SendAnswer(const httplib::Request& request, httplib::Response& response, const Answer& answer,
               const AppliedFaults& faults, const StopSignal& stop);

}  // namespace release_service
