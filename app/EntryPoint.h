#pragma once

#include "platform/ComRuntime.h"
#include "platform/Module.h"

// Runs the installer process from start to exit and returns its exit code. A second instance
// returns 0 at once, before writing anything.
int RunInstaller(const platform::Module& program, platform::ComRuntime& com);
