#include <algorithm>
#include <cwctype>
#include <string>

#include "ui/core/AttributeValues.h"
#include "ui/render/ImageItems.h"
#include "ui/render/MarkupLayout.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinImage.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

constexpr int kDefaultFontTagSize = 10;

bool IsTagLetter(wchar_t c) {
  return c >= L'a' && c <= L'z';
}

bool IsTagEnd(wchar_t c) {
  return c == L'}' || c == L'>';
}

bool IsBracket(wchar_t c) {
  return c == L'{' || c == L'<';
}

std::wstring Lowered(std::wstring_view text) {
  std::wstring lowered(text);
  for (wchar_t& c : lowered) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return lowered;
}

}  // namespace

bool MarkupLayout::IsOpeningTag(std::size_t at) const {
  if (raw_ || at + 2 >= text_.size()) return false;
  const wchar_t after = text_[at + 2];
  return IsBracket(text_[at]) && IsTagLetter(text_[at + 1]) && (after == L' ' || IsTagEnd(after));
}

bool MarkupLayout::IsClosingTag(std::size_t at) const {
  if (raw_ || at + 2 >= text_.size()) return false;
  return IsBracket(text_[at]) && text_[at + 1] == L'/' && IsTagLetter(text_[at + 2]);
}

// "<{>" and "<}>" print a brace, "{<}" and "{>}" an angle bracket.
bool MarkupLayout::IsEscape(std::size_t at) const {
  if (raw_ || at + 2 >= text_.size()) return false;
  const wchar_t open = text_[at];
  const wchar_t middle = text_[at + 1];
  const wchar_t close = text_[at + 2];
  if (open == L'<' && close == L'>') return middle == L'{' || middle == L'}';
  if (open == L'{' && close == L'}') return middle == L'<' || middle == L'>';
  return false;
}

void MarkupLayout::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

void MarkupLayout::SkipTagEnd() {
  while (pos_ < text_.size() && !IsTagEnd(text_[pos_])) ++pos_;
  if (pos_ < text_.size()) ++pos_;
}

int MarkupLayout::ReadNumberAfterBlanks() {
  SkipBlanks();
  std::size_t end = pos_;
  const int value = ReadDecimal(text_, pos_, end);
  pos_ = end;
  return value;
}

std::wstring_view MarkupLayout::ReadWord() {
  SkipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !IsBlank(text_[pos_]) && !IsTagEnd(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

void MarkupLayout::OpeningTag() {
  const std::size_t tagStart = pos_;
  const wchar_t letter = text_[pos_ + 1];
  pos_ += 2;
  const FontInfo& font = CurrentFont();
  switch (letter) {
    case L'a':
      LinkTag();
      break;
    case L'b':
      if (!font.bold) PushFont(Variant(true, font.underline, font.italic));
      break;
    case L'c': {
      SkipBlanks();
      const std::size_t start = pos_;
      while (pos_ < text_.size() && !IsTagEnd(text_[pos_])) ++pos_;
      colors_.push_back(ReadHexColor(text_.substr(start, pos_ - start)));
      break;
    }
    case L'f':
      FontTag();
      break;
    case L'i':
      SkipBlanks();
      if (pos_ >= text_.size() || IsTagEnd(text_[pos_])) {
        if (!font.italic) PushFont(Variant(font.bold, font.underline, true));
        break;
      }
      ImageTag(tagStart);
      if (pos_ == tagStart) return;  // read again on the next line
      break;
    case L'n':
      if (!singleLine_) lineEndRequested_ = true;
      break;
    case L'p': {
      if (pt_.x > rect_.left) lineEndRequested_ = true;
      const int extra = ReadNumberAfterBlanks();
      paragraphs_.push_back(extra);
      GrowLineHeight(FontLineHeight(CurrentFont()));
      break;
    }
    case L'r':
      raw_ = true;
      break;
    case L's':
      selected_ = !selected_;
      break;
    case L'u':
      if (!font.underline) PushFont(Variant(font.bold, true, font.italic));
      break;
    case L'x':
      MovePen(ReadNumberAfterBlanks());
      break;
    case L'y':
      SetLineHeight(ReadNumberAfterBlanks());
      break;
    default:
      break;
  }
  SkipTagEnd();
}

void MarkupLayout::LinkTag() {
  SkipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !IsTagEnd(text_[pos_])) ++pos_;
  const std::wstring_view target = text_.substr(start, pos_ - start);
  const bool hasSlot = linkIndex_ < links_.capacity;
  if (hasSlot && !Drawing()) links_.texts[linkIndex_] = target;
  ArgbColor color = color_ != 0 ? color_ : manager_.DefaultLinkColor();
  if (hasHoverLink_ && hasSlot && links_.texts[linkIndex_] == hoverLink_) color = manager_.DefaultLinkHoverColor();
  colors_.push_back(color);
  const FontInfo& font = CurrentFont();
  if (!font.underline) PushFont(Variant(font.bold, true, font.italic));
  linkStart_ = pt_;
  linkOpen_ = true;
}

// {f n} takes the manager's font n; {f name size words} the font of that face and size with the
// styles the words name.
void MarkupLayout::FontTag() {
  SkipBlanks();
  std::size_t end = pos_;
  const int index = ReadDecimal(text_, pos_, end);
  if (end != pos_) {
    pos_ = end;
    PushFont(manager_.FontInfoById(index));
    return;
  }
  const std::wstring_view face = ReadWord();
  SkipBlanks();
  int size = kDefaultFontTagSize;
  if (pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'9') size = ReadDecimal(text_, pos_, pos_);
  const std::size_t restStart = pos_;
  while (pos_ < text_.size() && !IsTagEnd(text_[pos_])) ++pos_;
  const std::wstring words = Lowered(text_.substr(restStart, pos_ - restStart));
  const bool bold = words.find(L"bold") != std::wstring::npos;
  const bool underline = words.find(L"underline") != std::wstring::npos;
  const bool italic = words.find(L"italic") != std::wstring::npos;
  PushFont(manager_.FindOrAddFont(face, size, bold, underline, italic));
}

// {i name count index}: cell index of a picture cut into count cells side by side. The name may
// also be given as image items (file='…' restype='…').
void MarkupLayout::ImageTag(std::size_t tagStart) {
  const std::size_t nameStart = pos_;
  std::wstring name(ReadWord());
  const int count = std::max(ReadNumberAfterBlanks(), 1);
  int index = ReadNumberAfterBlanks();
  if (index < 0 || index >= count) index = 0;
  std::wstring type;
  const std::wstring_view rest = text_.substr(nameStart);
  if (rest.find(L"file='") != std::wstring_view::npos || rest.find(L"res='") != std::wstring_view::npos) {
    ScanImageItems(rest, [&](std::wstring_view keyword, std::wstring_view value) {
      if (value.empty()) return;
      if (keyword == L"file" || keyword == L"res")
        name = value;
      else if (keyword == L"restype")
        type = value;
    });
  }
  const ImageInfo* image = manager_.FindOrLoadImage(name, type, 0, false, nullptr);
  if (!image) return;
  const int cellWidth = count > 1 ? image->width / count : image->width;
  const int cellHeight = image->height;
  if (pt_.x + cellWidth > rect_.right && pt_.x > rect_.left && !singleLine_) {
    lineEndRequested_ = true;
    pos_ = tagStart;
    return;
  }
  if (Drawing()) {
    int top = pt_.y + lineHeight_ - cellHeight;
    if (cellHeight < lineHeight_) top = pt_.y + (lineHeight_ - cellHeight) / 2;
    const Rect dest{pt_.x, top, pt_.x + cellWidth, top + cellHeight};
    const Rect source{cellWidth * index, 0, cellWidth * (index + 1), cellHeight};
    CSkinRenderer::BlitImage(canvas_, &image->bitmap, dest, rect_, source, Rect{}, image->hasAlpha, 255, false, false,
                             false);
  }
  GrowLineHeight(cellHeight);
  imageBottom_ = std::max(imageBottom_, pt_.y + cellHeight);
  MovePen(cellWidth);
  widest_ = std::max(widest_, pt_.x);
}

void MarkupLayout::ClosingTag() {
  const wchar_t letter = text_[pos_ + 2];
  pos_ += 3;
  switch (letter) {
    case L'a': {
      // A close without an open link records nothing: there is no link text for it.
      if (linkOpen_ && linkIndex_ < links_.capacity) {
        const FontInfo& font = CurrentFont();
        if (!Drawing()) {
          links_.rects[linkIndex_] = {linkStart_.x, linkStart_.y, pt_.x,
                                      pt_.y + font.metrics().height + font.metrics().externalLeading};
        }
        ++linkIndex_;
      }
      if (!colors_.empty()) colors_.pop_back();
      linkOpen_ = false;
      PopFont();
      break;
    }
    case L'b':
    case L'f':
    case L'i':
    case L'u':
      PopFont();
      break;
    case L'c':
      if (!colors_.empty()) colors_.pop_back();
      break;
    case L'p':
      if (pt_.x > rect_.left) lineEndRequested_ = true;
      if (!paragraphs_.empty()) paragraphs_.pop_back();
      GrowLineHeight(FontLineHeight(CurrentFont()));
      break;
    case L's':
      selected_ = !selected_;
      break;
    default:
      break;
  }
  SkipTagEnd();
}

}  // namespace Vellum
