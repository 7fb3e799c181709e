#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits a command line the way Windows programs read theirs, so that a command line written for
// them means the same here:
// - the program name, first, ends at the first blank (space or tab) outside double quotes; its
//   quotes only group and are dropped, and a backslash in it is an ordinary character;
// - the arguments after it are separated by blanks outside double quotes; a quote opens or closes
//   a quoted part, and "" inside a quoted part is one literal quote;
// - 2n backslashes before a quote give n backslashes and the quote keeps its meaning; 2n + 1 give n
//   backslashes and a literal quote; backslashes before anything else are literal;
// - a quoted part that the line leaves open runs to the end of the line.
// An empty or all-blank line gives no words at all.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The same rules for a text of arguments only (no program name first), as a start call's
// parameter text is read.
std::vector<std::wstring> SplitArguments(std::wstring_view arguments);

}  // namespace platform
