#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// A picture in the layout every drawing surface of this platform uses: top-down rows of 32-bit
// pixels, premultiplied alpha, each pixel the native-endian value 0xAARRGGBB (bytes B, G, R, A in
// memory). A canvas can draw from it or into it in place, without converting or copying.
class Bitmap {
 public:
  Bitmap() = default;
  // A fully transparent picture. Negative sizes count as 0.
  Bitmap(int width, int height)
      : width_(width > 0 ? width : 0),
        height_(height > 0 ? height : 0),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes from one row to the next.
  int stride() const { return width_ * 4; }
  bool empty() const { return pixels_.empty(); }

  std::uint32_t* pixels() { return pixels_.data(); }
  const std::uint32_t* pixels() const { return pixels_.data(); }
  std::uint32_t& at(int x, int y) { return pixels_[Index(x, y)]; }
  std::uint32_t at(int x, int y) const { return pixels_[Index(x, y)]; }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace platform
