#pragma once

#include <string>
#include <string_view>

namespace platform {

// Wide text to the locale's multibyte encoding (the platform's "ANSI" code page). Characters the
// encoding cannot hold become '?', as the code page's default character does on other systems.
std::string WideToMultiByte(std::wstring_view text);

// The locale's multibyte encoding to wide text; an invalid byte becomes U+FFFD.
std::wstring MultiByteToWide(std::string_view text);

// UTF-8 to wide text whatever the locale; invalid sequences become U+FFFD.
std::wstring Utf8ToWideText(std::string_view text);

// Wide text to UTF-8 whatever the locale; code points that are not characters become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// File names on this platform are UTF-8 bytes; these convert at the system-call boundary.
inline std::string NativePath(std::wstring_view path) {
  return WideToUtf8(path);
}
inline std::wstring PathFromNative(std::string_view path) {
  return Utf8ToWideText(path);
}

// Makes the process's character type follow the user's locale, falling back to C.UTF-8 where
// that locale is not UTF-8, so that wide texts survive the multibyte conversions above.
void InitProcessLocale();

}  // namespace platform

namespace platform {

// The largest length n <= limit such that text[0, n) ends on a whole character of the locale's
// multibyte encoding, for cutting a text without splitting a character.
std::size_t MultiByteCharacterBoundary(std::string_view text, std::size_t limit);

}  // namespace platform
