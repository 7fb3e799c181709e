#include "ui/render/MarkupLayout.h"

#include <algorithm>

#include "ui/manager/PaintManager.h"

namespace Vellum {
namespace {

constexpr ArgbColor kOpaque = 0xFF000000;

// The pen and the line height stay within this range, whatever numbers the tags carry, so that
// adding one to the other never overflows.
constexpr long long kMaxExtent = 1 << 29;

int Saturated(long long value) {
  return static_cast<int>(std::clamp(value, -kMaxExtent, kMaxExtent));
}

bool IsLatinLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

}  // namespace

MarkupLayout::MarkupLayout(platform::Canvas& canvas, CPaintManagerUI& manager, Rect& rect, std::wstring_view text,
                           ArgbColor color, Links links, int fontIndex, unsigned style)
    : canvas_(canvas),
      manager_(manager),
      rect_(rect),
      text_(text),
      color_(color),
      links_(links),
      style_(style),
      draw_((style & DT_CALCRECT) == 0),
      singleLine_((style & DT_SINGLELINE) != 0),
      baseFont_(&manager.FontInfoById(fontIndex)) {}

int MarkupLayout::Run() {
  // The link under the mouse, from the rectangles of the previous paint.
  const Point mouse = manager_.LastMousePosition();
  for (int i = 0; i < links_.capacity; ++i) {
    if (!links_.rects[i].Contains(mouse)) continue;
    hoverLink_ = links_.texts[i];
    hasHoverLink_ = true;
    break;
  }
  pt_ = {rect_.left, rect_.top};
  lineHeight_ = FontLineHeight(CurrentFont());
  widest_ = rect_.left;
  imageBottom_ = rect_.top;
  linkStart_ = pt_;
  SaveLineStart();
  Scan();
  if (!draw_) {
    rect_.bottom = std::max(pt_.y + lineHeight_, imageBottom_);
    rect_.right = std::min(rect_.right, widest_);
  }
  return linkIndex_;
}

void MarkupLayout::Scan() {
  for (;;) {
    if (pos_ >= text_.size()) {
      const bool drawingPassFollows = draw_ && !drawPass_;
      EndText();
      if (drawingPassFollows) continue;
      return;
    }
    if (AtLineEnd()) {
      if (!EndLine()) return;
      continue;
    }
    const wchar_t c = text_[pos_];
    if (IsOpeningTag(pos_)) {
      OpeningTag();
    } else if (IsClosingTag(pos_)) {
      ClosingTag();
    } else if (IsEscape(pos_)) {
      PrintCharacter(text_[pos_ + 1]);
      widest_ = std::max(widest_, pt_.x);
      pos_ += 3;
    } else if (!raw_ && c == L' ') {
      PrintCharacter(c);
      ++pos_;
    } else {
      TextRun();
    }
  }
}

bool MarkupLayout::AtLineEnd() const {
  return pt_.x >= rect_.right || text_[pos_] == L'\n' || lineEndRequested_;
}

void MarkupLayout::CloseOpenLink(bool continueOnNextLine) {
  if (!linkOpen_ || linkIndex_ >= links_.capacity) return;
  if (!Drawing()) {
    links_.rects[linkIndex_] = {linkStart_.x, linkStart_.y, std::min(pt_.x, rect_.right), pt_.y + lineHeight_};
    if (continueOnNextLine && linkIndex_ + 1 < links_.capacity) {
      links_.texts[linkIndex_ + 1] = links_.texts[linkIndex_];
    }
  }
  ++linkIndex_;
}

bool MarkupLayout::EndLine() {
  if (text_[pos_] == L'\n') ++pos_;
  lineEndRequested_ = false;
  CloseOpenLink(true);
  if (!Drawing()) {
    for (int i = lineStart_.linkIndex; i < linkIndex_; ++i) links_.rects[i].bottom = pt_.y + lineHeight_;
  }
  const bool wasDrawPass = drawPass_;
  if (singleLine_ && (wasDrawPass || !draw_)) return false;
  if (draw_) drawPass_ = !drawPass_;
  pt_.x = rect_.left;
  if (!draw_ || wasDrawPass) pt_.y = Saturated(static_cast<long long>(pt_.y) + lineHeight_);
  if (draw_ && pt_.y > rect_.bottom) return false;
  linkStart_ = pt_;
  if (drawPass_) {
    // The drawing pass keeps the height the measuring pass found.
    RewindToLineStart();
  } else {
    lineHeight_ = FontLineHeight(CurrentFont());
    SaveLineStart();
  }
  return pt_.x < rect_.right;
}

void MarkupLayout::EndText() {
  CloseOpenLink(false);
  if (!Drawing()) {
    for (int i = lineStart_.linkIndex; i < linkIndex_; ++i) links_.rects[i].bottom = pt_.y + lineHeight_;
  }
  if (!draw_ || drawPass_) return;
  // The last line's measuring pass: its drawing pass follows.
  drawPass_ = true;
  pt_.x = rect_.left;
  linkStart_ = pt_;
  RewindToLineStart();
}

void MarkupLayout::SaveLineStart() {
  lineStart_ = {fonts_, colors_, paragraphs_, pos_, raw_, linkOpen_, selected_, linkIndex_};
}

void MarkupLayout::RewindToLineStart() {
  fonts_ = lineStart_.fonts;
  colors_ = lineStart_.colors;
  paragraphs_ = lineStart_.paragraphs;
  pos_ = lineStart_.position;
  raw_ = lineStart_.raw;
  linkOpen_ = lineStart_.linkOpen;
  selected_ = lineStart_.selected;
  linkIndex_ = lineStart_.linkIndex;
  lineEndRequested_ = false;
}

bool MarkupLayout::StartsRawEnd(std::size_t at) const {
  const std::wstring_view rest = text_.substr(at);
  return rest.starts_with(L"{/r}") || rest.starts_with(L"</r>");
}

void MarkupLayout::TextRun() {
  const std::size_t start = pos_;
  if (raw_ && StartsRawEnd(start)) {
    raw_ = false;
    return;
  }
  const int widestChar = CurrentFont().metrics().maxCharWidth;
  std::size_t count = 0;
  bool overflow = false;
  for (std::size_t end = start; end < text_.size(); ++end) {
    const wchar_t c = text_[end];
    if (end > start) {
      if (c == L'\n' || (!raw_ && (c == L'{' || c == L'<'))) break;
      if (raw_ && StartsRawEnd(end)) {
        raw_ = false;
        break;
      }
    }
    ++count;
    // Measured only once the estimate from the widest character reaches the edge.
    const long long estimate = pt_.x + static_cast<long long>(count) * widestChar;
    if (widestChar > 0 && estimate < rect_.right) continue;
    if (pt_.x + Measure(text_.substr(start, count)) > rect_.right) {
      overflow = true;
      break;
    }
  }
  bool ellipsis = false;
  if (overflow) {
    // The character that does not fit goes to the next line, unless it is the only one at the
    // line's start.
    const bool lineStart = pt_.x == rect_.left;
    if (!lineStart || count > 1) --count;
    if (style_ & DT_WORDBREAK) {
      for (std::size_t j = count; j > 0; --j) {
        if (IsLatinLetter(text_[start + j - 1])) continue;
        count = j;
        break;
      }
    }
    if ((style_ & DT_END_ELLIPSIS) && count > 0) {
      count -= count >= 2 ? 2 : 1;
      ellipsis = true;
    }
    lineEndRequested_ = true;
    if (count == 0 && lineStart) {
      // Not even one character fits: it is passed over, so that scanning moves on.
      pos_ = start + 1;
      return;
    }
  }
  const std::wstring_view run = text_.substr(start, count);
  const int width = Measure(run);
  if (Drawing()) PrintRun(run, ellipsis);
  pt_.x = ellipsis ? rect_.right : Saturated(static_cast<long long>(pt_.x) + width);
  widest_ = std::max(widest_, pt_.x);
  pos_ = start + count;
}

void MarkupLayout::PrintRun(std::wstring_view run, bool ellipsis) {
  const FontInfo& font = CurrentFont();
  if (!font.font) return;
  const int width = Measure(run);
  int x = pt_.x;
  if (!singleLine_) {
    if (style_ & DT_CENTER)
      x += (rect_.width() - width) / 2;
    else if (style_ & DT_RIGHT)
      x += rect_.width() - width;
  }
  const int y = pt_.y + lineHeight_ - font.metrics().height - font.metrics().externalLeading;
  const ArgbColor color = CurrentColor() | kOpaque;
  const auto out = [&](Point at, std::wstring_view text) {
    if (selected_)
      canvas_.TextOut(*font.font, at, text, color, manager_.DefaultSelectedBkColor() | kOpaque);
    else
      canvas_.TextOut(*font.font, at, text, color);
  };
  if (!run.empty()) out({x, y}, run);
  if (ellipsis) out({x + width, y}, L"...");
}

void MarkupLayout::PrintCharacter(wchar_t c) {
  const std::wstring_view text(&c, 1);
  const FontInfo& font = CurrentFont();
  if (Drawing() && font.font) {
    const int y = pt_.y + lineHeight_ - font.metrics().height - font.metrics().externalLeading;
    const ArgbColor color = CurrentColor() | kOpaque;
    if (selected_)
      canvas_.TextOut(*font.font, {pt_.x, y}, text, color, manager_.DefaultSelectedBkColor() | kOpaque);
    else
      canvas_.TextOut(*font.font, {pt_.x, y}, text, color);
  }
  pt_.x = Saturated(static_cast<long long>(pt_.x) + Measure(text));
}

const FontInfo& MarkupLayout::CurrentFont() const {
  return fonts_.empty() ? *baseFont_ : *fonts_.back();
}

ArgbColor MarkupLayout::CurrentColor() const {
  return colors_.empty() ? color_ : colors_.back();
}

int MarkupLayout::TopParagraph() const {
  return paragraphs_.empty() ? 0 : paragraphs_.back();
}

int MarkupLayout::FontLineHeight(const FontInfo& font) const {
  return Saturated(static_cast<long long>(font.metrics().height) + font.metrics().externalLeading + TopParagraph());
}

void MarkupLayout::MovePen(long long dx) {
  pt_.x = Saturated(pt_.x + dx);
}

void MarkupLayout::SetLineHeight(long long height) {
  if (!Drawing()) lineHeight_ = Saturated(height);
}

void MarkupLayout::GrowLineHeight(int height) {
  if (!Drawing() && height > lineHeight_) lineHeight_ = height;
}

void MarkupLayout::PushFont(const FontInfo& font) {
  fonts_.push_back(&font);
  GrowLineHeight(FontLineHeight(font));
}

void MarkupLayout::PopFont() {
  if (fonts_.empty()) return;
  const FontInfo& leaving = *fonts_.back();
  fonts_.pop_back();
  const FontInfo& now = CurrentFont();
  if (leaving.italic && !now.italic)
    pt_.x = Saturated(static_cast<long long>(pt_.x) + leaving.metrics().blankRightBearing / 2);
  GrowLineHeight(FontLineHeight(now));
}

const FontInfo& MarkupLayout::Variant(bool bold, bool underline, bool italic) {
  const FontInfo& current = CurrentFont();
  return manager_.FindOrAddFont(current.faceName, current.size, bold, underline, italic);
}

int MarkupLayout::Measure(std::wstring_view text) const {
  const FontInfo& font = CurrentFont();
  return font.font && !text.empty() ? font.font->MeasureText(text).cx : 0;
}

}  // namespace Vellum
