#pragma once

#include "platform/Canvas.h"
#include "ui/core/UiTypes.h"

namespace Vellum {

// Narrows a canvas's clip for the life of the object and then restores the clip it found. The
// outer region is the clip found; the inner region is the outer one narrowed to the rectangle
// (and to the rounded item for a rounded clip).
class SkinClip {
 public:
  // Clip to rect.
  SkinClip(platform::Canvas& canvas, const Rect& rect);
  // Clip to rect and to the item rectangle with corners roundWidth wide and roundHeight high.
  SkinClip(platform::Canvas& canvas, const Rect& rect, const Rect& itemRect, int roundWidth, int roundHeight);
  ~SkinClip();
  SkinClip(const SkinClip&) = delete;
  SkinClip& operator=(const SkinClip&) = delete;

  void UseOuter();
  void UseInner();
  // Selects the outer region for good; the destructor then does nothing.
  void End();

  const Rect& rect() const { return rect_; }

 private:
  platform::Canvas* canvas_;
  Rect rect_;
  platform::ClipRegion outer_;
  platform::ClipRegion inner_;
};

}  // namespace Vellum
