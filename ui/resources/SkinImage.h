#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Module.h"

namespace Vellum {

// One decoded skin picture, ready to blend: the bitmap is premultiplied 0xAARRGGBB, top-down,
// exactly the layout a drawing surface uses, so painting hands it over without converting.
struct ImageInfo {
  platform::Bitmap bitmap;
  int width = 0;
  int height = 0;
  // True when any pixel is not fully opaque or was cleared by the mask.
  bool hasAlpha = false;
  // Recorded for the caller; no recolouring takes place.
  bool useHsl = false;
  // The module resource type the picture came from; empty for skin items.
  std::wstring resourceType;
  // The mask colour (0xAARRGGBB) the picture was loaded with.
  std::uint32_t mask = 0;
};

// Decodes PNG, JPEG and the other formats of the picture decoder. Straight RGBA becomes
// premultiplied; a resulting pixel equal to mask (alpha included) becomes fully transparent.
// Null when the bytes hold no picture.
std::unique_ptr<ImageInfo> DecodeSkinImage(std::span<const std::uint8_t> bytes, std::uint32_t mask);

// The skin item of that name (see ReadSkinItem), decoded.
std::unique_ptr<ImageInfo> LoadSkinImage(std::wstring_view name, std::uint32_t mask);

// The module resource of that type and id, decoded; module null means the resource module.
std::unique_ptr<ImageInfo> LoadSkinImage(unsigned resourceId, std::wstring_view resourceType, std::uint32_t mask,
                                         const platform::Module* module);

}  // namespace Vellum
