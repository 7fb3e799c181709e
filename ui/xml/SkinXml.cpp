#include "ui/xml/SkinXml.h"

#include <algorithm>

#include "ui/xml/SkinXmlText.h"

namespace Vellum {
namespace {

constexpr std::size_t kMaxMessageLength = 99;
constexpr std::size_t kMaxLocationLength = 49;
// Offsets into the text are 32-bit.
constexpr std::size_t kMaxTextLength = 0xFFFFFFFEu;

}  // namespace

bool CSkinXml::ParseText(std::wstring_view text) {
  Clear();
  if (text.size() > kMaxTextLength) return Fail(L"File too large", nullptr);
  text_.assign(text.begin(), text.end());
  text_.push_back(L'\0');
  if (Parse()) return true;
  Clear();
  return false;
}

bool CSkinXml::ParseBytes(std::span<const std::uint8_t> bytes, SkinTextEncoding encoding) {
  errorMessage_.clear();
  errorLocation_.clear();
  auto text = SkinBytesToText(bytes, encoding);
  if (!text) {
    Clear();
    return false;
  }
  if (text->size() > kMaxTextLength + 1) {
    Clear();
    return Fail(L"File too large", nullptr);
  }
  text_ = std::move(*text);
  if (Parse()) return true;
  Clear();
  return false;
}

void CSkinXml::Clear() {
  text_ = {};
  elements_ = {};
  elementCount_ = 0;
}

CSkinXmlNode CSkinXml::Root() const {
  if (elementCount_ < 2) return {};
  return CSkinXmlNode(this, 1);
}

// The table grows by half plus 500 rows, so the first allocation holds 500.
std::uint32_t CSkinXml::AddElement() {
  if (elementCount_ == 0) reservedRows_ = 0;
  if (elementCount_ >= reservedRows_) {
    reservedRows_ = reservedRows_ + reservedRows_ / 2 + 500;
    elements_.reserve(reservedRows_);
  }
  elements_.emplace_back();
  return elementCount_++;
}

bool CSkinXml::Fail(std::wstring_view message, const wchar_t* location) {
  errorMessage_ = message.substr(0, kMaxMessageLength);
  errorLocation_.clear();
  if (location != nullptr) {
    for (std::size_t i = 0; i < kMaxLocationLength && location[i] != L'\0'; ++i) errorLocation_ += location[i];
  }
  return false;
}

}  // namespace Vellum
