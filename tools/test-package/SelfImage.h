#pragma once

#include <optional>
#include <string>

namespace test_package {

// The path of the running program file.
std::string SelfPath();

// The bytes of the running program without a package's padding and trailer: what is installed as
// each of the package's programs. Empty when the file cannot be read.
std::optional<std::string> SelfProgramBytes();

}  // namespace test_package
