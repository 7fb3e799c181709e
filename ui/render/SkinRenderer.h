#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Module.h"
#include "ui/render/SkinImageAttribute.h"
#include "ui/core/UiTypes.h"

namespace Vellum {

class CPaintManagerUI;

// The drawing operations every control paints with: fills, lines and rectangles, skin images
// described by the image attribute language, plain text with DrawText-style flags and markup text.
// Stateless; pictures, fonts and default colours come from the manager.
class CSkinRenderer {
 public:
  CSkinRenderer() = delete;

  // Reads an image attribute text and then the modify text (whose items win). With a manager the
  // rectangles are scaled, and at a scale other than 100 the image name becomes the name of the
  // picture drawn for that scale ("btn.png" at 150: "btn@150.png").
  static SkinImageSpec ParseImageSpec(std::wstring_view imageText, std::wstring_view modifyText,
                                      const CPaintManagerUI* manager);

  // Draws the image the two texts describe, parsed once and kept by the manager. False when nothing
  // could be drawn.
  static bool DrawImageText(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                            const Rect& paintRect, std::wstring_view imageText, std::wstring_view modifyText,
                            const platform::Module* instance);
  static bool DrawImageSpec(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                            const Rect& paintRect, const SkinImageSpec* spec, const platform::Module* instance);
  static bool DrawImageFile(platform::Canvas& canvas, CPaintManagerUI* manager, const Rect& itemRect,
                            const Rect& paintRect, std::wstring_view name, std::wstring_view type, const Rect& dest,
                            const Rect& source, const Rect& corner, ArgbColor mask, std::uint8_t fade, bool hole,
                            bool xtiled, bool ytiled, const platform::Module* instance);
  // Nine-part drawing of source onto dest: corners copied at their size, edges and middle
  // stretched (or the middle tiled); only parts that meet paintRect are drawn.
  static void BlitImage(platform::Canvas& canvas, const platform::Bitmap* bitmap, const Rect& dest,
                        const Rect& paintRect, const Rect& source, const Rect& corner, bool alpha, std::uint8_t fade,
                        bool hole, bool xtiled, bool ytiled);

  static void FillColor(platform::Canvas& canvas, const Rect& rect, ArgbColor color);
  static void FillGradient(platform::Canvas& canvas, const Rect& rect, ArgbColor color1, ArgbColor color2,
                           bool vertical, int steps);
  static void DrawLine(platform::Canvas& canvas, const Rect& rect, int width, ArgbColor color, int penStyle);
  static void DrawRect(platform::Canvas& canvas, const Rect& rect, int width, ArgbColor color, int penStyle);
  static void DrawRoundRect(platform::Canvas& canvas, const Rect& rect, int width, int cornerWidth, int cornerHeight,
                            ArgbColor color, int penStyle);

  // With DT_CALCRECT the rectangle becomes the text's extent and nothing is drawn.
  static void DrawPlainText(platform::Canvas& canvas, CPaintManagerUI* manager, Rect& rect, std::wstring_view text,
                            ArgbColor color, int fontIndex, unsigned style);
  // Text with inline tags; see MarkupText.cpp. linkCount is the capacity of the two arrays on entry
  // and the number of links found on return; rect may change (alignment, DT_CALCRECT).
  static void DrawMarkupText(platform::Canvas& canvas, CPaintManagerUI* manager, Rect& rect, std::wstring_view text,
                             ArgbColor color, Rect* linkRects, std::wstring* linkTexts, int& linkCount, int fontIndex,
                             unsigned style);
  // The one-line extent of the whole text in that font; zero without text or manager.
  static Size GetTextSize(CPaintManagerUI* manager, std::wstring_view text, int fontIndex);

  // Shifts hue by hue - 180 degrees and scales saturation and lightness by percent; alpha is kept.
  static ArgbColor AdjustColor(ArgbColor color, int hue, int saturation, int lightness);
};

}  // namespace Vellum
