#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Vellum {

enum class SkinTextEncoding {
  Utf8 = 0,
  Utf16 = 1,  // with a byte-order mark, either byte order
  Ansi = 2,   // the locale's multibyte encoding
};

// One element of a parsed skin document. Every field is an offset in characters into the
// document's text, or a row of its element table; 0 means none.
struct SkinXmlElement {
  std::uint32_t nameStart = 0;
  std::uint32_t firstChild = 0;
  std::uint32_t nextSibling = 0;
  std::uint32_t parent = 0;
  // For an element closed with "/>" the position of the '/', otherwise just after the '>' of the
  // start tag; the attributes lie between the end of the name and here.
  std::uint32_t dataStart = 0;
};

// Attributes beyond this many on one element are invisible.
inline constexpr int MAX_NODE_ATTRIBUTES = 64;

class CSkinXml;

// A handle to one element of a CSkinXml; a small value, freely copied. Its attributes are found
// on the first query. Texts it hands out point into the document and stay valid until the
// document is cleared or destroyed.
class CSkinXmlNode {
 public:
  CSkinXmlNode() = default;

  bool IsValid() const { return owner_ != nullptr; }
  // Null for an invalid node.
  const wchar_t* Name() const;
  CSkinXmlNode FirstChild() const;
  CSkinXmlNode NextSibling() const;
  bool HasChildren() const;

  int AttributeCount() const;
  bool HasAttributes() const { return AttributeCount() > 0; }
  // Null for an invalid node; the empty text for an index outside 0 .. count - 1.
  const wchar_t* AttributeName(int index) const;
  const wchar_t* AttributeValue(int index) const;
  // Finds the first attribute whose name equals name ignoring case and copies at most capacity
  // characters of its value into buffer, stopping after the value's terminator. A value of
  // capacity characters or more leaves the buffer unterminated: pass a zeroed buffer and a
  // capacity one less than its size.
  bool FindAttribute(std::wstring_view name, wchar_t* buffer, std::size_t capacity) const;

 private:
  friend class CSkinXml;
  CSkinXmlNode(const CSkinXml* owner, std::uint32_t row) : row_(static_cast<int>(row)), owner_(owner) {}
  const SkinXmlElement* Element() const;
  void MapAttributes() const;

  int row_ = 0;
  mutable int attributeCount_ = 0;  // 0 until mapped
  mutable std::array<std::pair<std::uint32_t, std::uint32_t>, MAX_NODE_ATTRIBUTES> attributes_{};
  const CSkinXml* owner_ = nullptr;
};

// A skin document: a small subset of XML parsed in place. The parser cuts names and values out of
// one copy of the text by writing terminators into it, decodes the five named entities in place and
// records every element as offsets. Attribute values must be in double quotes; there is no
// namespace, DTD, CDATA or numeric character reference support. Whitespace is always kept.
class CSkinXml {
 public:
  CSkinXml() = default;
  explicit CSkinXml(std::wstring_view text) { ParseText(text); }
  CSkinXml(const CSkinXml&) = delete;
  CSkinXml& operator=(const CSkinXml&) = delete;
  ~CSkinXml() { Clear(); }

  bool ParseText(std::wstring_view text);
  bool ParseBytes(std::span<const std::uint8_t> bytes, SkinTextEncoding encoding);
  // Reads the named file from the skin folder or the skin archive (at most 4 MiB), then parses it.
  bool ParseSkinFile(std::wstring_view name, SkinTextEncoding encoding);
  void Clear();

  // The first element; an invalid node when the document holds none.
  CSkinXmlNode Root() const;
  // The last failure: its message, and the text at the point of failure (empty when none).
  const std::wstring& ErrorMessage() const { return errorMessage_; }
  const std::wstring& ErrorLocation() const { return errorLocation_; }

  // Rows in use, the unused row 0 included, and rows allocated.
  std::uint32_t ElementCount() const { return elementCount_; }
  std::uint32_t ReservedRows() const { return reservedRows_; }

 private:
  friend class CSkinXmlNode;
  friend class SkinXmlParser;

  bool Parse();
  std::uint32_t AddElement();
  bool Fail(std::wstring_view message, const wchar_t* location);

  std::vector<wchar_t> text_;  // NUL-terminated
  std::vector<SkinXmlElement> elements_;
  std::uint32_t elementCount_ = 0;
  std::uint32_t reservedRows_ = 0;
  std::wstring errorMessage_;
  std::wstring errorLocation_;
};

}  // namespace Vellum
