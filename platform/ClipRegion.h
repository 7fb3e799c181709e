#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace platform {

// A rectangle whose corners are quarter ellipses ellipseWidth wide and ellipseHeight high.
struct RoundedRect {
  Rect rect;
  int ellipseWidth = 0;
  int ellipseHeight = 0;
  friend bool operator==(const RoundedRect&, const RoundedRect&) = default;
};

// The area drawing is allowed in: a rectangle, narrowed by any number of rounded rectangles. Regions
// are values, so a caller can keep one and select it again later.
class ClipRegion {
 public:
  ClipRegion() = default;
  explicit ClipRegion(const Rect& bounds) : bounds_(bounds.IsEmpty() ? Rect{} : bounds) {}

  // The bounding box; drawing outside it never shows.
  const Rect& Box() const { return bounds_; }
  const std::vector<RoundedRect>& rounded() const { return rounded_; }
  bool IsEmpty() const { return bounds_.IsEmpty(); }

  ClipRegion Intersect(const Rect& rect) const;
  ClipRegion Intersect(const RoundedRect& shape) const;

  friend bool operator==(const ClipRegion&, const ClipRegion&) = default;

 private:
  Rect bounds_;
  std::vector<RoundedRect> rounded_;
};

}  // namespace platform
