#include <cwctype>

#include "ui/xml/SkinXml.h"

namespace Vellum {
namespace {

bool IsBlank(wchar_t c) {
  return static_cast<std::uint32_t>(c) - 1u < 32u;  // 1 .. 32: control characters and space
}

bool IsNameCharacter(wchar_t c) {
  return c == L'_' || c == L':' || std::iswalnum(static_cast<wint_t>(c));
}

struct Entity {
  std::wstring_view name;  // with its semicolon
  wchar_t character;
};
constexpr Entity kEntities[] = {
    {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
};

// Compares character by character, so it never reads past the text's terminator.
bool StartsWith(const wchar_t* text, std::wstring_view prefix) {
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (text[i] != prefix[i]) return false;
  }
  return true;
}

}  // namespace

// One pass over the document's text. Nested elements are kept on an explicit stack instead of
// the call stack, so that no input can exhaust it however deep it nests.
class SkinXmlParser {
 public:
  SkinXmlParser(CSkinXml& document, wchar_t* text) : document_(document), base_(text), p_(text) {}

  bool Run();

 private:
  // An element whose content is being parsed, waiting for its end tag.
  struct OpenElement {
    std::uint32_t row;
    wchar_t* nameEnd;
    wchar_t* dataEnd;
  };

  bool AtEnd() const { return *p_ == L'\0'; }
  // first is never the terminator, so p_[1] is inside the text whenever p_[0] matches.
  bool At(wchar_t first, wchar_t second) const { return p_[0] == first && p_[1] == second; }
  void SkipBlanks() {
    while (IsBlank(*p_)) ++p_;
  }
  void SkipName() {
    while (IsNameCharacter(*p_)) ++p_;
  }
  std::uint32_t Offset(const wchar_t* at) const { return static_cast<std::uint32_t>(at - base_); }
  SkinXmlElement& Element(std::uint32_t row) { return document_.elements_[row]; }

  std::uint32_t StartElement(std::uint32_t parent, std::uint32_t& previous);
  void SkipMarkupDeclaration();
  bool ParseAttributes();
  wchar_t* ParseCharacterData(wchar_t end);
  void DecodeEntity(wchar_t*& destination);
  bool ParseEndTag(std::uint32_t row, const wchar_t* nameEnd, wchar_t* dataEnd);
  bool Fail(std::wstring_view message, const wchar_t* location) { return document_.Fail(message, location); }

  CSkinXml& document_;
  wchar_t* base_;
  wchar_t* p_;
  std::vector<OpenElement> open_;
};

bool SkinXmlParser::Run() {
  document_.AddElement();  // row 0 is never used
  std::uint32_t parent = 0;
  std::uint32_t previous = 0;
  for (;;) {
    // One step of the element sequence of parent: the end of the sequence, or one element.
    bool sequenceEnded = false;
    SkipBlanks();
    if (AtEnd() && parent <= 1) {
      // The end tags of the top-level element and of the element of row 1 may be missing.
      sequenceEnded = true;
    } else if (*p_ != L'<') {
      return Fail(L"Expected start tag", p_);
    } else if (p_[1] == L'/') {
      sequenceEnded = true;
    } else {
      *p_ = L'\0';
      ++p_;
      SkipBlanks();
      if (*p_ == L'!' || *p_ == L'?') {
        SkipMarkupDeclaration();
        continue;
      }
      SkipBlanks();
      const std::uint32_t row = StartElement(parent, previous);
      SkipName();
      wchar_t* nameEnd = p_;
      if (AtEnd()) return Fail(L"Error parsing element name", p_);
      if (!ParseAttributes()) return false;
      SkipBlanks();
      if (At(L'/', L'>')) {
        Element(row).dataStart = Offset(p_);
        *p_ = L'\0';
        p_ += 2;
      } else {
        if (*p_ != L'>') return Fail(L"Expected start-tag closing", p_);
        ++p_;
        Element(row).dataStart = Offset(p_);
        wchar_t* dataEnd = ParseCharacterData(L'<');
        if (AtEnd() && parent <= 1) {
          *nameEnd = L'\0';
          sequenceEnded = true;
        } else if (*p_ != L'<') {
          return Fail(L"Expected end-tag start", p_);
        } else if (p_[1] != L'/') {
          open_.push_back({row, nameEnd, dataEnd});
          parent = row;
          previous = 0;
          continue;
        } else if (!ParseEndTag(row, nameEnd, dataEnd)) {
          return false;
        }
      }
      if (!sequenceEnded) {
        *nameEnd = L'\0';
        SkipBlanks();
        continue;
      }
    }

    // The sequence of parent has ended: back to the element that holds it.
    if (open_.empty()) return true;
    const OpenElement open = open_.back();
    open_.pop_back();
    parent = Element(open.row).parent;
    previous = open.row;
    if (At(L'<', L'/') && !ParseEndTag(open.row, open.nameEnd, open.dataEnd)) return false;
    *open.nameEnd = L'\0';
    SkipBlanks();
  }
}

std::uint32_t SkinXmlParser::StartElement(std::uint32_t parent, std::uint32_t& previous) {
  const std::uint32_t row = document_.AddElement();
  SkinXmlElement& element = Element(row);
  element.nameStart = Offset(p_);
  element.parent = parent;
  if (previous != 0) {
    Element(previous).nextSibling = row;
  } else if (parent > 0) {
    Element(parent).firstChild = row;
  }
  previous = row;
  return row;
}

// Comments and declarations: "<!" runs to the next "->", "<?" to the next "?>".
void SkinXmlParser::SkipMarkupDeclaration() {
  const wchar_t closing = *p_ == L'!' ? L'-' : L'?';
  while (!AtEnd() && !At(closing, L'>')) ++p_;
  if (!AtEnd()) p_ += 2;
}

bool SkinXmlParser::ParseAttributes() {
  if (At(L'/', L'>') || *p_ == L'>') return true;
  *p_ = L'\0';  // ends the element name
  for (;;) {
    ++p_;
    SkipBlanks();
    if (AtEnd() || *p_ == L'>' || *p_ == L'/') return true;
    SkipName();
    wchar_t* nameEnd = p_;
    SkipBlanks();
    if (*p_ != L'=') return Fail(L"Error while parsing attributes", p_);
    *p_ = L' ';
    ++p_;
    *nameEnd = L'\0';
    SkipBlanks();
    const wchar_t quote = *p_;
    if (quote != L'\0') ++p_;
    if (quote != L'"') return Fail(L"Expected attribute value", p_);
    wchar_t* valueEnd = ParseCharacterData(L'"');
    if (AtEnd()) return Fail(L"Error while parsing attribute string", p_);
    *valueEnd = L'\0';
    if (p_ != valueEnd) *p_ = L' ';
  }
}

// Copies the characters up to end (or the end of the text) onto themselves, decoding entities;
// returns where the copy ends. What the decoding freed becomes blanks, so that nothing stale is
// left between the copy and the source position.
wchar_t* SkinXmlParser::ParseCharacterData(wchar_t end) {
  wchar_t* destination = p_;
  while (!AtEnd() && *p_ != end) {
    if (*p_ == L'&') {
      while (*p_ == L'&') {
        ++p_;
        DecodeEntity(destination);
      }
      if (*p_ == end) break;
      continue;
    }
    *destination++ = *p_++;
  }
  for (wchar_t* q = destination + 1; q < p_; ++q) *q = L' ';
  return destination;
}

// Just after an ampersand: the entity spelled exactly, or the ampersand itself.
void SkinXmlParser::DecodeEntity(wchar_t*& destination) {
  for (const Entity& entity : kEntities) {
    if (StartsWith(p_, entity.name)) {
      *destination++ = entity.character;
      p_ += entity.name.size();
      return;
    }
  }
  *destination++ = L'&';
}

// At "</": the end tag must repeat the element's name exactly, letter case included.
bool SkinXmlParser::ParseEndTag(std::uint32_t row, const wchar_t* nameEnd, wchar_t* dataEnd) {
  *dataEnd = L'\0';
  *p_ = L'\0';
  p_ += 2;
  SkipBlanks();
  const wchar_t* name = base_ + Element(row).nameStart;
  if (!StartsWith(p_, std::wstring_view(name, static_cast<std::size_t>(nameEnd - name)))) {
    return Fail(L"Unmatched closing tag", p_);
  }
  p_ += nameEnd - name;
  SkipBlanks();
  if (*p_ != L'>') return Fail(L"Unmatched closing tag", AtEnd() ? p_ : p_ + 1);
  ++p_;
  return true;
}

bool CSkinXml::Parse() {
  errorMessage_.clear();
  errorLocation_.clear();
  elements_.clear();
  elementCount_ = 0;
  SkinXmlParser parser(*this, text_.data());
  return parser.Run();
}

}  // namespace Vellum
