#include "ui/render/NinePart.h"

#include <algorithm>

namespace Vellum {
namespace {

// Covers the middle with tiles of the source middle's size, left to right and top to bottom; the
// last column and row are cut, and their source shrinks by the same amount. Along an axis that is
// not tiled one tile stretches over the whole middle.
void AddTiles(std::vector<BlitPart>& parts, const Rect& middle, const Rect& source, bool xtiled, bool ytiled,
              const Rect& paintRect) {
  const int tileWidth = xtiled ? source.width() : middle.width();
  const int tileHeight = ytiled ? source.height() : middle.height();
  if (tileWidth <= 0 || tileHeight <= 0) return;
  const Rect visible = Intersection(middle, paintRect);
  if (visible.IsEmpty()) return;
  // The first column and row that reach into the visible part.
  const int firstX = middle.left + (visible.left - middle.left) / tileWidth * tileWidth;
  const int firstY = middle.top + (visible.top - middle.top) / tileHeight * tileHeight;
  for (int y = firstY; y < visible.bottom; y += tileHeight) {
    const int height = std::min(tileHeight, middle.bottom - y);
    for (int x = firstX; x < visible.right; x += tileWidth) {
      const int width = std::min(tileWidth, middle.right - x);
      const Rect dest{x, y, x + width, y + height};
      const Rect from{source.left, source.top, xtiled ? source.left + width : source.right,
                      ytiled ? source.top + height : source.bottom};
      parts.push_back({dest, from});
    }
  }
}

}  // namespace

std::vector<BlitPart> NineParts(const Rect& d, const Rect& s, const Rect& c, bool hole, bool xtiled, bool ytiled,
                                const Rect& paintRect) {
  std::vector<BlitPart> parts;
  if (!hole) {
    const Rect middle{d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom};
    const Rect middleSource{s.left + c.left, s.top + c.top, s.right - c.right, s.bottom - c.bottom};
    if (xtiled || ytiled)
      AddTiles(parts, middle, middleSource, xtiled, ytiled, paintRect);
    else
      parts.push_back({middle, middleSource});
  }
  const auto add = [&](bool when, Rect dest, Rect source) {
    if (when) parts.push_back({dest, source});
  };
  add(c.left > 0 && c.top > 0, {d.left, d.top, d.left + c.left, d.top + c.top},
      {s.left, s.top, s.left + c.left, s.top + c.top});
  add(c.top > 0, {d.left + c.left, d.top, d.right - c.right, d.top + c.top},
      {s.left + c.left, s.top, s.right - c.right, s.top + c.top});
  add(c.right > 0 && c.top > 0, {d.right - c.right, d.top, d.right, d.top + c.top},
      {s.right - c.right, s.top, s.right, s.top + c.top});
  add(c.left > 0, {d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom},
      {s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom});
  add(c.right > 0, {d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom},
      {s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom});
  add(c.left > 0 && c.bottom > 0, {d.left, d.bottom - c.bottom, d.left + c.left, d.bottom},
      {s.left, s.bottom - c.bottom, s.left + c.left, s.bottom});
  add(c.bottom > 0, {d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom},
      {s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom});
  add(c.right > 0 && c.bottom > 0, {d.right - c.right, d.bottom - c.bottom, d.right, d.bottom},
      {s.right - c.right, s.bottom - c.bottom, s.right, s.bottom});
  return parts;
}

}  // namespace Vellum
