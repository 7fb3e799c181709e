// libFuzzer target for the skin markup parser: any bytes, in any of the three encodings, must
// parse or fail cleanly, and every text a parsed document hands out must lie inside it.

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/Text.h"
#include "ui/xml/SkinXml.h"

namespace {

// Reads every character of a text, so that the address sanitizer sees any read past its end.
std::size_t Touch(const wchar_t* text) {
  if (text == nullptr) __builtin_trap();
  return std::wcslen(text);
}

void Walk(const Vellum::CSkinXml& document) {
  std::vector<Vellum::CSkinXmlNode> pending;
  if (document.Root().IsValid()) pending.push_back(document.Root());
  while (!pending.empty()) {
    const Vellum::CSkinXmlNode node = pending.back();
    pending.pop_back();
    Touch(node.Name());
    const int count = node.AttributeCount();
    if (count < 0 || count > Vellum::MAX_NODE_ATTRIBUTES) __builtin_trap();
    for (int i = -1; i <= count; ++i) {
      Touch(node.AttributeName(i));
      Touch(node.AttributeValue(i));
    }
    wchar_t buffer[8] = {};
    if (count > 0) node.FindAttribute(node.AttributeName(0), buffer, 7);
    node.FindAttribute(L"name", buffer, 7);
    if (node.NextSibling().IsValid()) pending.push_back(node.NextSibling());
    if (node.FirstChild().IsValid()) pending.push_back(node.FirstChild());
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::InitProcessLocale();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the encoding; the rest is the document.
  const auto encoding = static_cast<Vellum::SkinTextEncoding>(data[0] % 3);
  Vellum::CSkinXml document;
  const bool parsed = document.ParseBytes({data + 1, size - 1}, encoding);
  if (!parsed && document.Root().IsValid()) __builtin_trap();
  if (document.ErrorMessage().size() > 99 || document.ErrorLocation().size() > 49) __builtin_trap();
  Walk(document);
  return 0;
}
