#pragma once

#include <string>
#include <vector>

namespace test {

// Runs a program with the test's environment, waits for it and returns its exit status
// (128 + signal number when a signal ended it, -1 when it could not be started).
int RunProgram(const std::string& path, const std::vector<std::string>& arguments = {});

}  // namespace test
