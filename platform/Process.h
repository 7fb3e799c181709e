#pragma once

#include <cstdint>
#include <string>

namespace platform {

std::uint32_t CurrentProcessId();

// Full path of the running program file.
std::wstring ExecutablePath();

}  // namespace platform
