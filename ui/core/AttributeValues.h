#pragma once

#include <cstdint>
#include <string_view>

#include "ui/core/UiTypes.h"

namespace Vellum {

// Readers for the value syntax of skin attributes. None of them reads past the end of the text.

// Numbers of rectangle and size lists are kept within this many pixels either way, so that the
// geometry built from them (sums of a few) never overflows.
inline constexpr int kMaxCoordinate = 1 << 24;

// A leading, optionally signed decimal number after blanks, as wcstol base 10 reads it: returns
// the value (clamped to int) and sets end to the first character not read (the start when there is
// no number).
int ReadDecimal(std::wstring_view text, std::size_t start, std::size_t& end);

// count numbers, each read as ReadDecimal does, the next starting one character after the point
// where the previous one stopped (so any single character separates them, as in "0,36,115,72").
// Numbers beyond the end of the text read as 0; each is kept within kMaxCoordinate.
void ReadIntegers(std::wstring_view text, int* values, int count);
Rect ReadRect(std::wstring_view text);
Size ReadSize(std::wstring_view text);

// A hexadecimal colour as wcstoul base 16 reads it (blanks, sign and an "0x" allowed), after an
// optional "#"; values beyond 32 bits read as 0xFFFFFFFF.
ArgbColor ReadHexColor(std::wstring_view text);

// "true" in any letter case.
bool ReadBool(std::wstring_view text);

// Blanks are the characters up to and including the space.
inline bool IsBlank(wchar_t c) {
  return c <= L' ';
}

}  // namespace Vellum
