#include "platform/ClipRegion.h"

namespace platform {

ClipRegion ClipRegion::Intersect(const Rect& rect) const {
  ClipRegion result = *this;
  result.bounds_ = Intersection(bounds_, rect);
  if (result.bounds_.IsEmpty()) result.rounded_.clear();
  return result;
}

ClipRegion ClipRegion::Intersect(const RoundedRect& shape) const {
  ClipRegion result = Intersect(shape.rect);
  if (result.IsEmpty()) return result;
  if (shape.ellipseWidth > 0 && shape.ellipseHeight > 0) result.rounded_.push_back(shape);
  return result;
}

}  // namespace platform
