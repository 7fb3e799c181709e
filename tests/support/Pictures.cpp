#include "tests/support/Pictures.h"

#include <cairo.h>

#include <cstdlib>
#include <iomanip>

namespace test {

Argb Unpack(std::uint32_t pixel) {
  return {static_cast<int>(pixel >> 24), static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
          static_cast<int>(pixel & 0xFF)};
}

std::ostream& operator<<(std::ostream& out, const Argb& p) {
  return out << "argb(" << p.a << ", " << p.r << ", " << p.g << ", " << p.b << ")";
}

bool Near(const Argb& a, const Argb& b, int tolerance) {
  return std::abs(a.a - b.a) <= tolerance && std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

platform::Bitmap SolidBitmap(int width, int height, std::uint32_t pixel) {
  platform::Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.at(x, y) = pixel;
  }
  return bitmap;
}

bool WritePng(const platform::Bitmap& bitmap, const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.pixels())),
                                          CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.stride());
  const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

std::filesystem::path ArtifactFolder() {
  return std::filesystem::path(LUMO_TEST_ARTIFACTS);
}

}  // namespace test
