#include "platform/fake/RecordingCanvas.h"

#include <algorithm>

namespace platform::fake {

void RecordingCanvas::DrawText(const Font& font, Rect& rect, std::wstring_view text, Color color, unsigned format) {
  if ((format & text_format::kCalcRect) == 0) {
    calls_.push_back(DrawTextCall{font.spec(), rect, std::wstring(text), color, format});
    return;
  }
  int widest = 0;
  int lines = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L'\n', start), text.size());
    widest = std::max(widest, font.MeasureText(text.substr(start, end - start)).cx);
    ++lines;
    start = end + 1;
  }
  rect.right = rect.left + widest;
  rect.bottom = rect.top + (text.empty() ? 0 : lines * font.metrics().height);
}

}  // namespace platform::fake
