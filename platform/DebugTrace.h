#pragma once

#include <string_view>

namespace platform {

// A trace for a developer watching the process (the debugger output of other systems); it goes to
// standard error and never into the setup log.
void DebugTrace(std::string_view text);
void DebugTrace(std::wstring_view text);

}  // namespace platform
