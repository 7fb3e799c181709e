#include <string>

#include "ui/core/AttributeValues.h"
#include "ui/manager/PaintManager.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

namespace tf = platform::text_format;

constexpr std::wstring_view kCharacterReference = L"&#x";
constexpr std::size_t kMaxReferenceDigits = 4;

// "&#x" and up to four hexadecimal digits name the one character to draw (an icon-font glyph, say);
// a trailing blank and then a trailing ";" are not part of the number. 0 when no number is there.
wchar_t ReferencedCharacter(std::wstring_view text, std::size_t at) {
  std::wstring_view digits = text.substr(at + kCharacterReference.size(), kMaxReferenceDigits);
  if (!digits.empty() && digits.back() == L' ') digits.remove_suffix(1);
  if (!digits.empty() && digits.back() == L';') digits.remove_suffix(1);
  unsigned code = 0;
  for (wchar_t c : digits) {
    int digit = -1;
    if (c >= L'0' && c <= L'9')
      digit = c - L'0';
    else if (c >= L'a' && c <= L'f')
      digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
      digit = c - L'A' + 10;
    if (digit < 0) break;
    code = code * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<wchar_t>(code);
}

// The typographic text path: wrapping unless single-line, alignment on both axes, no prefixes.
unsigned TypographicFormat(unsigned style) {
  unsigned format = tf::kNoPrefix;
  format |= (style & DT_SINGLELINE) ? tf::kSingleLine : tf::kWordBreak;
  if (style & DT_CENTER)
    format |= tf::kCenter;
  else if (style & DT_RIGHT)
    format |= tf::kRight;
  if (style & DT_VCENTER)
    format |= tf::kVCenter;
  else if (style & DT_BOTTOM)
    format |= tf::kBottom;
  if (style & DT_END_ELLIPSIS) format |= tf::kEndEllipsis;
  if (style & DT_NOCLIP) format |= tf::kNoClip;
  return format;
}

void DrawTypographicText(platform::Canvas& canvas, const platform::Font& font, Rect& rect, std::wstring_view text,
                         ArgbColor color, unsigned style) {
  const unsigned format = TypographicFormat(style);
  if (style & DT_CALCRECT) {
    Rect measured = rect;
    canvas.DrawText(font, measured, text, color, format | tf::kCalcRect);
    rect.right = rect.left + measured.width() + 1;
    rect.bottom = rect.top + measured.height() + 1;
    return;
  }
  // This path draws with alpha 254 so that the text blends like the rest of a layered window.
  canvas.DrawText(font, rect, text, (color & 0x00FFFFFF) | 0xFE000000, format);
}

}  // namespace

void CSkinRenderer::DrawPlainText(platform::Canvas& canvas, CPaintManagerUI* manager, Rect& rect,
                                  std::wstring_view text, ArgbColor color, int fontIndex, unsigned style) {
  if (text.empty() || !manager) return;
  const platform::Font* font = manager->FontById(fontIndex);
  if (!font) return;
  if (manager->IsLayered() || manager->IsUseGdiplusText()) {
    DrawTypographicText(canvas, *font, rect, text, color, style);
    return;
  }
  const ArgbColor opaque = color | 0xFF000000;
  if (const std::size_t at = text.find(kCharacterReference); at != std::wstring_view::npos) {
    const wchar_t character = ReferencedCharacter(text, at);
    if (character != 0) canvas.DrawText(*font, rect, std::wstring_view(&character, 1), opaque, style);
    return;
  }
  canvas.DrawText(*font, rect, text, opaque, style);
}

Size CSkinRenderer::GetTextSize(CPaintManagerUI* manager, std::wstring_view text, int fontIndex) {
  if (text.empty() || !manager) return {};
  const platform::Font* font = manager->FontById(fontIndex);
  return font ? font->MeasureText(text) : Size{};
}

}  // namespace Vellum
