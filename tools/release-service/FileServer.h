#pragma once

#include <string>

#include <httplib.h>

#include "tools/release-service/Answer.h"
#include "tools/release-service/FaultBoard.h"
#include "tools/release-service/ReleaseFolder.h"

namespace release_service {

// The answer for GET or HEAD "/release/NAME": the file, a byte range of it, or an error, shaped by
// the file faults (ignore-range, short-range).
Answer FileAnswer(const ReleaseFolder& release, const std::string& name, const httplib::Request& request,
                  const AppliedFaults& faults);

}  // namespace release_service
