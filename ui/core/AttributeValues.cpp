#include "ui/core/AttributeValues.h"

#include <algorithm>
#include <cwctype>
#include <limits>

namespace Vellum {
namespace {

// wcstol skips what iswspace calls a blank.
std::size_t SkipSpace(std::wstring_view text, std::size_t i) {
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  return i;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

int ReadDecimal(std::wstring_view text, std::size_t start, std::size_t& end) {
  end = start;
  std::size_t i = SkipSpace(text, start);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i >= text.size() || text[i] < L'0' || text[i] > L'9') return 0;
  long long value = 0;
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - L'0');
  }
  end = i;
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

void ReadIntegers(std::wstring_view text, int* values, int count) {
  std::size_t position = 0;
  for (int k = 0; k < count; ++k) {
    if (position > text.size()) {
      values[k] = 0;
      continue;
    }
    std::size_t end = position;
    values[k] = std::clamp(ReadDecimal(text, position, end), -kMaxCoordinate, kMaxCoordinate);
    position = end + 1;
  }
}

Rect ReadRect(std::wstring_view text) {
  int v[4] = {};
  ReadIntegers(text, v, 4);
  return {v[0], v[1], v[2], v[3]};
}

Size ReadSize(std::wstring_view text) {
  int v[2] = {};
  ReadIntegers(text, v, 2);
  return {v[0], v[1]};
}

ArgbColor ReadHexColor(std::wstring_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == L'#') ++i;
  i = SkipSpace(text, i);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const bool prefixed = i + 2 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X');
  if (prefixed && HexDigit(text[i + 2]) >= 0) i += 2;
  std::uint64_t value = 0;
  bool overflow = false;
  for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
    value = value * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;
    }
  }
  if (overflow) return 0xFFFFFFFFu;
  const auto result = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

bool ReadBool(std::wstring_view text) {
  constexpr std::wstring_view kTrue = L"true";
  if (text.size() != kTrue.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(kTrue[i])) return false;
  }
  return true;
}

}  // namespace Vellum
