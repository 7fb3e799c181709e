#include <algorithm>

#include "ui/render/NinePart.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinImage.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

bool Contains(std::wstring_view text, std::wstring_view word) {
  return text.find(word) != std::wstring_view::npos;
}

// A fixed-size picture placed in the item by its align words, then moved by the padding.
Rect AlignedDestination(const Rect& item, Rect dest, const SkinImageSpec& spec) {
  const Size size = spec.size;
  if (Contains(spec.align, L"left")) {
    dest.left = item.left;
    dest.right = dest.left + size.cx;
  } else if (Contains(spec.align, L"center")) {
    dest.left = item.left + (item.width() - size.cx) / 2;
    dest.right = dest.left + size.cx;
  } else if (Contains(spec.align, L"right")) {
    dest.left = item.right - size.cx;
    dest.right = dest.left + size.cx;
  }
  if (Contains(spec.align, L"top")) {
    dest.top = item.top;
    dest.bottom = dest.top + size.cy;
  } else if (Contains(spec.align, L"vcenter")) {
    dest.top = item.top + (item.height() - size.cy) / 2;
    dest.bottom = dest.top + size.cy;
  } else if (Contains(spec.align, L"bottom")) {
    dest.top = item.bottom - size.cy;
    dest.bottom = dest.top + size.cy;
  }
  dest.left += spec.padding.left;
  dest.top += spec.padding.top;
  dest.right -= spec.padding.right;
  dest.bottom -= spec.padding.bottom;
  dest.right = std::min(dest.right, item.right);
  dest.bottom = std::min(dest.bottom, item.bottom);
  return dest;
}

}  // namespace

bool CSkinRenderer::DrawImageText(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                                  const Rect& paintRect, std::wstring_view imageText, std::wstring_view modifyText,
                                  const platform::Module* instance) {
  if (!manager) return false;
  return DrawImageSpec(canvas, manager, itemRect, paintRect, manager->ImageSpecFor(imageText, modifyText), instance);
}

bool CSkinRenderer::DrawImageSpec(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                                  const Rect& paintRect, const SkinImageSpec* spec, const platform::Module* instance) {
  if (!manager || !spec) return false;
  Rect dest = itemRect;
  if (!spec->dest.IsZero()) {
    dest = {itemRect.left + spec->dest.left, itemRect.top + spec->dest.top,
            std::min(itemRect.left + spec->dest.right, itemRect.right),
            std::min(itemRect.top + spec->dest.bottom, itemRect.bottom)};
  }
  if (spec->size.cx > 0 && spec->size.cy > 0) dest = AlignedDestination(itemRect, dest, *spec);
  return DrawImageFile(canvas, manager, itemRect, paintRect, spec->imageName, spec->resourceType, dest, spec->source,
                       spec->corner, spec->mask, spec->fade, spec->hole, spec->xtiled, spec->ytiled, instance);
}

bool CSkinRenderer::DrawImageFile(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                                  const Rect& paintRect, std::wstring_view name, std::wstring_view type,
                                  const Rect& dest, const Rect& source, const Rect& corner, ArgbColor mask,
                                  std::uint8_t fade, bool hole, bool xtiled, bool ytiled,
                                  const platform::Module* instance) {
  if (!manager || name.empty()) return false;
  const ImageInfo* image = manager->FindOrLoadImage(name, type, mask, false, instance);
  if (!image) return false;
  Rect from = source.IsZero() ? Rect{0, 0, image->width, image->height} : source;
  from.right = std::min(from.right, image->width);
  from.bottom = std::min(from.bottom, image->height);
  if (!Intersects(dest, itemRect) || !Intersects(dest, paintRect)) return true;
  BlitImage(canvas, &image->bitmap, dest, paintRect, from, corner, manager->IsLayered() || image->hasAlpha, fade, hole,
            xtiled, ytiled);
  return true;
}

void CSkinRenderer::BlitImage(platform::Canvas& canvas, const platform::Bitmap* bitmap, const Rect& dest,
                              const Rect& paintRect, const Rect& source, const Rect& corner, bool alpha,
                              std::uint8_t fade, bool hole, bool xtiled, bool ytiled) {
  if (!bitmap) return;
  const bool blend = alpha || fade != 255;
  if (!blend && dest.width() == source.width() && dest.height() == source.height() && corner.IsZero()) {
    canvas.Blit(*bitmap, source, dest, platform::BlitMode::Copy, 255);
    return;
  }
  const platform::BlitMode mode = blend ? platform::BlitMode::Blend : platform::BlitMode::Copy;
  for (const BlitPart& part : NineParts(dest, source, corner, hole, xtiled, ytiled, paintRect)) {
    if (!Intersects(part.dest, paintRect)) continue;
    canvas.Blit(*bitmap, part.source, part.dest, mode, blend ? fade : 255);
  }
}

}  // namespace Vellum
