#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NetworkAdapters.h"

// The caller's fixed path buffers hold this many wide characters, terminator included.
inline constexpr std::size_t kMaxPathChars = 260;

// Wide text to the system's multibyte ("ANSI") encoding; unrepresentable characters become '?'.
std::string WideToAnsi(std::wstring_view text);

std::wstring Utf8ToWide(std::string_view text);

// Creates every missing folder of path, from the outside in. True when the whole path exists
// afterwards. Stops at the first folder it cannot make; the folders made before stay.
bool CreateDirectoryTree(const std::wstring& path);

// Fills out with the client identifier made from the first real adapter of the system's list
// (or of the given list). Leaves out untouched and returns false when no adapter qualifies.
bool MakeClientId(std::string& out);
bool MakeClientId(std::string& out, const std::vector<platform::NetworkAdapter>& adapters);
