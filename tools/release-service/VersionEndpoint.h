#pragma once

#include <string>

#include "tools/release-service/Answer.h"
#include "tools/release-service/FaultBoard.h"

namespace release_service {

// The version service's answer: {"code":0,"msg":"ok","data":{"rel_ver":...,"url":...}}, or the
// broken document a body fault asks for.
Answer VersionAnswer(const std::string& releaseVersion, const std::string& releaseBase, const AppliedFaults& faults);

}  // namespace release_service
