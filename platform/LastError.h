#pragma once

namespace platform {

// The error code of the last system call that failed on the calling thread, for log lines.
int LastErrorCode();

}  // namespace platform
