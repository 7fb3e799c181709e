#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

// The Exec value of a desktop entry that runs one program file with no arguments, by the
// desktop-entry rules: "%" is written "%%", and a path holding a blank or another reserved
// character is enclosed in double quotes with '"', '`', '$' and '\' escaped by a backslash.
// (The key file adds its own escapes when the value is stored.)
std::string ExecOfProgram(std::string_view programPath);

// The program path of an Exec value that ExecOfProgram could have made (quoted or bare, one word,
// no field codes other than "%%"); empty for anything else.
std::optional<std::string> ProgramOfExec(std::string_view exec);

}  // namespace platform::posix
