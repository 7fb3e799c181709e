#include "ui/xml/SkinXmlText.h"

#include <string_view>

#include "platform/Text.h"

namespace Vellum {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

std::vector<wchar_t> Terminated(std::wstring_view text) {
  std::vector<wchar_t> result(text.begin(), text.end());
  result.push_back(L'\0');
  return result;
}

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool IsHighSurrogate(std::uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::optional<std::vector<wchar_t>> Utf16ToText(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2) return std::nullopt;
  const bool littleEndian = bytes[0] == 0xFF && bytes[1] == 0xFE;
  const bool bigEndian = bytes[0] == 0xFE && bytes[1] == 0xFF;
  if (!littleEndian && !bigEndian) return std::nullopt;

  const std::size_t count = bytes.size() / 2 - 1;
  const auto unitAt = [&](std::size_t i) -> std::uint32_t {
    const std::uint8_t first = bytes[2 + 2 * i], second = bytes[3 + 2 * i];
    return littleEndian ? (second << 8 | first) : (first << 8 | second);
  };
  std::vector<wchar_t> text;
  text.reserve(count + 1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
      text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00)));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      text.push_back(kReplacement);
    } else {
      text.push_back(static_cast<wchar_t>(unit));
    }
  }
  text.push_back(L'\0');
  return text;
}

}  // namespace

std::optional<std::vector<wchar_t>> SkinBytesToText(std::span<const std::uint8_t> bytes, SkinTextEncoding encoding) {
  switch (encoding) {
    case SkinTextEncoding::Utf8:
      if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes = bytes.subspan(3);
      return Terminated(platform::Utf8ToWideText(AsChars(bytes)));
    case SkinTextEncoding::Ansi:
      return Terminated(platform::MultiByteToWide(AsChars(bytes)));
    case SkinTextEncoding::Utf16:
      return Utf16ToText(bytes);
  }
  return std::nullopt;
}

}  // namespace Vellum
