#pragma once

#include <cstdint>
#include <string>

#include "ui/core/UiTypes.h"

namespace Vellum {

// An image attribute text in parsed form, such as
// "file='picRes\btn_blue.png' dest='0,0,115,36' source='0,36,115,72'". A bare file name is a valid
// image text: it is the image name.
struct SkinImageSpec {
  std::wstring drawText;    // the image text
  std::wstring modifyText;  // the modify text, whose items win
  std::wstring imageName;   // "file" or "res"; the whole image text by default
  std::wstring resourceType;
  Rect dest;    // relative to the control, cut at its right and bottom edges; all zero: the control
  Rect source;  // all zero: the whole picture
  Rect corner;  // nine-part margins
  ArgbColor mask = 0;
  std::uint8_t fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
  bool hsl = false;
  Size size;  // with align: a fixed-size picture placed in the control
  std::wstring align;
  Rect padding;
};

}  // namespace Vellum
