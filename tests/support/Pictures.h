#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "platform/Bitmap.h"

namespace test {

// A premultiplied pixel taken apart.
struct Argb {
  int a = 0;
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Argb&, const Argb&) = default;
};
Argb Unpack(std::uint32_t pixel);
std::ostream& operator<<(std::ostream& out, const Argb& p);
// Every channel within tolerance.
bool Near(const Argb& a, const Argb& b, int tolerance);

platform::Bitmap SolidBitmap(int width, int height, std::uint32_t pixel);
// Writes the picture as a PNG file; false on failure.
bool WritePng(const platform::Bitmap& bitmap, const std::filesystem::path& path);

// Where tests leave pictures for a person to look at.
std::filesystem::path ArtifactFolder();

}  // namespace test
