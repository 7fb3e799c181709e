// Test double for the skin picture loader, which comes with the skin resources: reads PNG files by
// their path. Goes when the real loader is merged.
#include <cairo.h>

#include <cstring>

#include "platform/Text.h"
#include "ui/SkinImage.h"

namespace Vellum {

std::unique_ptr<ImageInfo> LoadSkinImage(std::wstring_view name, std::uint32_t mask) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(platform::WideToUtf8(name).c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  auto image = std::make_unique<ImageInfo>();
  image->bitmap = platform::Bitmap(width, height);
  image->width = width;
  image->height = height;
  image->mask = mask;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image->bitmap.pixels() + static_cast<std::size_t>(y) * width,
                data + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface),
                static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) image->hasAlpha = image->hasAlpha || (image->bitmap.at(x, y) >> 24) != 0xFF;
  }
  cairo_surface_destroy(surface);
  return image;
}

std::unique_ptr<ImageInfo> LoadSkinImage(unsigned, std::wstring_view, std::uint32_t, const platform::Module*) {
  return nullptr;
}

}  // namespace Vellum
