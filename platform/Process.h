#pragma once

#include <cstdint>
#include <string>

namespace platform {

std::uint32_t CurrentProcessId();

// Makes a write to a connection the peer has closed fail with an error instead of ending the
// process: transfers run on several threads, and each must see the failure as its own.
void IgnoreBrokenPipes();

// Full path of the running program file.
std::wstring ExecutablePath();

}  // namespace platform
