#pragma once

#include <cstddef>

namespace nbt {

// libcurl write and header callback: appends the data to the std::string that target points to.
// Returns the number of bytes taken, or a different number (which libcurl takes as an error)
// when the target or the data is missing or the text cannot grow.
std::size_t AppendToString(char* data, std::size_t size, std::size_t count, void* target);

}  // namespace nbt
