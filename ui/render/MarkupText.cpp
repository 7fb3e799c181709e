#include "ui/render/MarkupLayout.h"
#include "ui/manager/PaintManager.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

// Where an aligned text is measured before it is drawn.
constexpr Rect kMeasureRect{0, 0, 9999, 100};

// Narrows rect to the measured text for the alignment flags.
void Align(Rect& rect, const Rect& measured, unsigned style) {
  if (style & DT_SINGLELINE) {
    if (style & DT_CENTER) {
      rect.left += rect.width() / 2 - measured.width() / 2;
      rect.right = rect.left + measured.width();
    } else if (style & DT_RIGHT) {
      rect.left = rect.right - measured.width();
    }
  }
  if (style & DT_VCENTER) {
    rect.top += rect.height() / 2 - measured.height() / 2;
    rect.bottom = rect.top + measured.height();
  } else if (style & DT_BOTTOM) {
    rect.top = rect.bottom - measured.height();
  }
}

}  // namespace

void CSkinRenderer::DrawMarkupText(platform::Canvas& canvas, CPaintManagerUI* manager, Rect& rect,
                                   std::wstring_view text, ArgbColor color, Rect* linkRects, std::wstring* linkTexts,
                                   int& linkCount, int fontIndex, unsigned style) {
  if (text.empty() || !manager || rect.IsEmpty()) return;
  const bool draw = (style & DT_CALCRECT) == 0;
  const platform::ClipRegion saved = canvas.Clip();
  if (draw) canvas.IntersectClip(rect);
  if (draw && (style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM))) {
    Rect measured = kMeasureRect;
    int noLinks = 0;
    DrawMarkupText(canvas, manager, measured, text, color, nullptr, nullptr, noLinks, fontIndex, style | DT_CALCRECT);
    Align(rect, measured, style);
  }
  const bool hasLinks = linkRects && linkTexts && linkCount > 0;
  const MarkupLayout::Links links{linkRects, linkTexts, hasLinks ? linkCount : 0};
  linkCount = MarkupLayout(canvas, *manager, rect, text, color, links, fontIndex, style).Run();
  if (draw) canvas.SetClip(saved);
}

}  // namespace Vellum
