#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

constexpr ArgbColor kOpaque = 0xFF000000;

platform::PenStyle PenStyleOf(int style) {
  if (style < 0 || style > static_cast<int>(platform::PenStyle::InsideFrame)) return platform::PenStyle::Solid;
  return static_cast<platform::PenStyle>(style);
}

}  // namespace

void CSkinRenderer::FillColor(platform::Canvas& canvas, const Rect& rect, ArgbColor color) {
  if (color <= 0x00FFFFFF) return;
  canvas.FillRect(rect, color);
}

// The platform's gradients are continuous, so steps (the band count of a banded fill) has nothing
// to choose.
void CSkinRenderer::FillGradient(platform::Canvas& canvas, const Rect& rect, ArgbColor color1, ArgbColor color2,
                                 bool vertical, int /*steps*/) {
  const unsigned alpha = ((color1 >> 24) + (color2 >> 24)) / 2;
  if (alpha == 0) return;
  canvas.FillGradient(rect, color1 | kOpaque, color2 | kOpaque,
                      vertical ? platform::GradientDirection::Vertical : platform::GradientDirection::Horizontal,
                      static_cast<std::uint8_t>(alpha));
}

// Lines take no alpha: the colour is drawn opaque.
void CSkinRenderer::DrawLine(platform::Canvas& canvas, const Rect& rect, int width, ArgbColor color, int penStyle) {
  canvas.DrawLine({rect.left, rect.top}, {rect.right, rect.bottom}, width, color | kOpaque, PenStyleOf(penStyle));
}

// The outline lies inside the rectangle; the pen style is not used.
void CSkinRenderer::DrawRect(platform::Canvas& canvas, const Rect& rect, int width, ArgbColor color, int /*penStyle*/) {
  canvas.DrawFrame(rect, width, color);
}

// Anti-aliased, not filled; the corners are circular with radius cornerWidth / 2.
void CSkinRenderer::DrawRoundRect(platform::Canvas& canvas, const Rect& rect, int width, int cornerWidth,
                                  int /*cornerHeight*/, ArgbColor color, int /*penStyle*/) {
  canvas.DrawRoundFrame(rect, width, cornerWidth / 2, color);
}

}  // namespace Vellum
