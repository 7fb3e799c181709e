#include <cwctype>

#include "ui/xml/SkinXml.h"

namespace Vellum {
namespace {

bool IsBlank(wchar_t c) {
  return static_cast<std::uint32_t>(c) - 1u < 32u;
}

bool EqualsIgnoringCase(const wchar_t* text, std::wstring_view other) {
  std::size_t i = 0;
  for (; i < other.size(); ++i) {
    if (text[i] == L'\0' ||
        std::towlower(static_cast<wint_t>(text[i])) != std::towlower(static_cast<wint_t>(other[i]))) {
      return false;
    }
  }
  return text[i] == L'\0';
}

}  // namespace

// A node of a document that has since been cleared or parsed anew may point past its table.
const SkinXmlElement* CSkinXmlNode::Element() const {
  if (owner_ == nullptr || row_ <= 0 || static_cast<std::uint32_t>(row_) >= owner_->elementCount_) return nullptr;
  return &owner_->elements_[static_cast<std::size_t>(row_)];
}

const wchar_t* CSkinXmlNode::Name() const {
  const SkinXmlElement* element = Element();
  return element != nullptr ? owner_->text_.data() + element->nameStart : nullptr;
}

CSkinXmlNode CSkinXmlNode::FirstChild() const {
  const SkinXmlElement* element = Element();
  if (element == nullptr || element->firstChild == 0) return {};
  return CSkinXmlNode(owner_, element->firstChild);
}

CSkinXmlNode CSkinXmlNode::NextSibling() const {
  const SkinXmlElement* element = Element();
  if (element == nullptr || element->nextSibling == 0) return {};
  return CSkinXmlNode(owner_, element->nextSibling);
}

bool CSkinXmlNode::HasChildren() const {
  const SkinXmlElement* element = Element();
  return element != nullptr && element->firstChild != 0;
}

int CSkinXmlNode::AttributeCount() const {
  MapAttributes();
  return attributeCount_;
}

const wchar_t* CSkinXmlNode::AttributeName(int index) const {
  if (Element() == nullptr) return nullptr;
  MapAttributes();
  if (index < 0 || index >= attributeCount_) return L"";
  return owner_->text_.data() + attributes_[static_cast<std::size_t>(index)].first;
}

const wchar_t* CSkinXmlNode::AttributeValue(int index) const {
  if (Element() == nullptr) return nullptr;
  MapAttributes();
  if (index < 0 || index >= attributeCount_) return L"";
  return owner_->text_.data() + attributes_[static_cast<std::size_t>(index)].second;
}

bool CSkinXmlNode::FindAttribute(std::wstring_view name, wchar_t* buffer, std::size_t capacity) const {
  if (Element() == nullptr) return false;
  MapAttributes();
  const wchar_t* text = owner_->text_.data();
  for (int i = 0; i < attributeCount_; ++i) {
    const auto [nameOffset, valueOffset] = attributes_[static_cast<std::size_t>(i)];
    if (!EqualsIgnoringCase(text + nameOffset, name)) continue;
    const wchar_t* value = text + valueOffset;
    std::size_t n = 0;
    for (; n < capacity && value[n] != L'\0'; ++n) buffer[n] = value[n];
    if (n < capacity) buffer[n] = L'\0';
    return true;
  }
  return false;
}

// Walks the parsed start tag from the end of the name to the data start: each attribute is a
// terminated name, blanks, a quote and a terminated value. Every step stays inside the tag.
void CSkinXmlNode::MapAttributes() const {
  const SkinXmlElement* element = Element();
  if (element == nullptr || attributeCount_ > 0) return;
  const wchar_t* text = owner_->text_.data();
  const wchar_t* end = text + element->dataStart;
  const wchar_t* p = text + element->nameStart;
  while (p < end && *p != L'\0') ++p;
  ++p;
  int count = 0;
  while (p < end) {
    while (p < end && IsBlank(*p)) ++p;
    const wchar_t* name = p;
    while (p < end && *p != L'\0') ++p;
    if (p >= end) break;
    ++p;
    while (p < end && IsBlank(*p)) ++p;
    if (p >= end || *p != L'"') break;
    ++p;
    attributes_[static_cast<std::size_t>(count)] = {static_cast<std::uint32_t>(name - text),
                                                    static_cast<std::uint32_t>(p - text)};
    if (++count == MAX_NODE_ATTRIBUTES) break;
    while (p < end && *p != L'\0') ++p;
    ++p;
  }
  attributeCount_ = count;
}

}  // namespace Vellum
