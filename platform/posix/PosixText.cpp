#include "platform/Text.h"

#include <langinfo.h>
#include <algorithm>
#include <climits>
#include <clocale>
#include <cstring>
#include <cwchar>

namespace platform {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsCharacter(char32_t c) {
  return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (!IsCharacter(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i past it. Overlong forms, surrogates and
// truncated sequences decode as U+FFFD and consume one byte, so decoding always moves on.
char32_t DecodeUtf8(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || !IsCharacter(c)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return c;
}

}  // namespace

std::string WideToMultiByte(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (wchar_t c : text) {
    const size_t n = std::wcrtomb(bytes, c, &state);
    if (n == static_cast<size_t>(-1)) {
      out += '?';
      state = {};
      continue;
    }
    out.append(bytes, n);
  }
  return out;
}

std::wstring MultiByteToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  std::mbstate_t state{};
  size_t i = 0;
  while (i < text.size()) {
    wchar_t c = 0;
    const size_t n = std::mbrtowc(&c, text.data() + i, text.size() - i, &state);
    if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
      out += kReplacement;
      state = {};
      ++i;
      continue;
    }
    out += c;
    i += n == 0 ? 1 : n;
  }
  return out;
}

std::wstring Utf8ToWideText(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) out += static_cast<wchar_t>(DecodeUtf8(text, i));
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

void InitProcessLocale() {
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  if (codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0) return;
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace platform

namespace platform {

std::size_t MultiByteCharacterBoundary(std::string_view text, std::size_t limit) {
  limit = std::min(limit, text.size());
  std::mbstate_t state{};
  size_t position = 0;
  while (position < limit) {
    size_t n = std::mbrlen(text.data() + position, text.size() - position, &state);
    if (n == static_cast<size_t>(-2)) break;  // the text ends inside a character
    // A byte that starts no valid character counts as one character of its own.
    if (n == static_cast<size_t>(-1) || n == 0) {
      n = 1;
      state = {};
    }
    if (position + n > limit) break;
    position += n;
  }
  return position;
}

}  // namespace platform
