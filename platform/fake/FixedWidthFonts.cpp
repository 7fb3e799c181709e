#include "platform/fake/FixedWidthFonts.h"

namespace platform::fake {

FixedWidthFont::FixedWidthFont(FontSpec spec, int charWidth, int externalLeading)
    : Font(std::move(spec)), charWidth_(charWidth) {
  const int size = this->spec().pixelSize;
  metrics_.height = size;
  metrics_.ascent = size - size / 4;
  metrics_.descent = size / 4;
  metrics_.externalLeading = externalLeading;
  metrics_.averageCharWidth = charWidth;
  metrics_.maxCharWidth = charWidth;
  metrics_.blankRightBearing = 2;
}

Size FixedWidthFont::MeasureText(std::wstring_view text) const {
  return {static_cast<int>(text.size()) * charWidth_, metrics_.height};
}

std::unique_ptr<Font> FixedWidthFonts::CreateFont(const FontSpec& spec) {
  created_.push_back(spec);
  if (spec.pixelSize <= 0 || spec.pixelSize > kMaxFontPixelSize) return nullptr;
  return std::make_unique<FixedWidthFont>(spec, charWidth_, externalLeading_);
}

}  // namespace platform::fake
