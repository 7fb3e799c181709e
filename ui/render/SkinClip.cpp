#include "ui/render/SkinClip.h"

namespace Vellum {

SkinClip::SkinClip(platform::Canvas& canvas, const Rect& rect)
    : canvas_(&canvas), rect_(rect), outer_(canvas.Clip()), inner_(outer_.Intersect(rect)) {
  canvas_->SetClip(inner_);
}

SkinClip::SkinClip(platform::Canvas& canvas, const Rect& rect, const Rect& itemRect, int roundWidth, int roundHeight)
    : canvas_(&canvas),
      rect_(rect),
      outer_(canvas.Clip()),
      inner_(outer_.Intersect(rect).Intersect(platform::RoundedRect{itemRect, roundWidth, roundHeight})) {
  canvas_->SetClip(inner_);
}

SkinClip::~SkinClip() {
  End();
}

void SkinClip::UseOuter() {
  if (canvas_) canvas_->SetClip(outer_);
}

void SkinClip::UseInner() {
  if (canvas_) canvas_->SetClip(inner_);
}

void SkinClip::End() {
  if (!canvas_) return;
  canvas_->SetClip(outer_);
  canvas_ = nullptr;
}

}  // namespace Vellum
