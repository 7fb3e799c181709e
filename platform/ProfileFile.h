#pragma once

#include <string>

namespace platform {

// Sets key in section of the settings file (INI form: "[section]" lines and "key=value" lines) to
// value, keeping everything else in the file: other sections and keys, comments and their order.
// A missing file is made. The file is replaced in one step, so a failure never leaves half a file.
// False when the file cannot be written, or when it exists but cannot be read as such a file: it is
// then left exactly as it was.
bool WriteProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value);

}  // namespace platform
