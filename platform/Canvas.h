#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/ClipRegion.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

namespace platform {

// Line patterns, in the numbering the skin's border styles use.
enum class PenStyle : int {
  Solid = 0,
  Dash = 1,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Null = 5,
  InsideFrame = 6,
};

enum class GradientDirection { Horizontal, Vertical };

enum class BlitMode {
  Copy,   // the destination takes the source pixels, alpha included
  Blend,  // the premultiplied source is laid over the destination, scaled by a constant alpha
};

// Flags of DrawText, with the values the skin's text styles are written in.
namespace text_format {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVCenter = 0x4;  // single line only
inline constexpr unsigned kBottom = 0x8;   // single line only
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoClip = 0x100;
inline constexpr unsigned kCalcRect = 0x400;  // measure into the rectangle, draw nothing
inline constexpr unsigned kNoPrefix = 0x800;  // "&" is an ordinary character
inline constexpr unsigned kEditControl = 0x2000;
inline constexpr unsigned kEndEllipsis = 0x8000;
}  // namespace text_format

// A drawing surface. Coordinates are pixels of the surface, all drawing is cut by the current clip
// region. Fonts must come from the same platform's provider (SystemFonts) as the canvas.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual Size size() const = 0;

  // Fills rect; a translucent colour blends with what is there.
  virtual void FillRect(const Rect& rect, Color color) = 0;
  // A linear gradient from `from` at one edge to `to` at the other, both taken as opaque, laid over
  // the surface with the constant alpha.
  virtual void FillGradient(const Rect& rect, Color from, Color to, GradientDirection direction,
                            std::uint8_t alpha) = 0;
  // An aliased line from `from` up to, not including, `to`, centred on the pixels it passes.
  virtual void DrawLine(Point from, Point to, int width, Color color, PenStyle style) = 0;
  // An outline `width` pixels wide lying just inside rect.
  virtual void DrawFrame(const Rect& rect, int width, Color color) = 0;
  // An anti-aliased outline through the outermost pixels of rect with round corners of the radius.
  virtual void DrawRoundFrame(const Rect& rect, int width, int radius, Color color) = 0;

  // Draws the source part of the picture into dest, stretched with smooth filtering; source must
  // lie inside the picture. A part of the same size is copied pixel for pixel.
  virtual void Blit(const Bitmap& picture, const Rect& source, const Rect& dest, BlitMode mode, std::uint8_t alpha) = 0;

  virtual ClipRegion Clip() const = 0;
  virtual void SetClip(const ClipRegion& region) = 0;
  void IntersectClip(const Rect& rect) { SetClip(Clip().Intersect(rect)); }

  // One line of text whose cell starts at topLeft (the baseline lies the font's ascent below it).
  // With a background colour the cell behind the text is filled first.
  virtual void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color) = 0;
  virtual void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color, Color background) = 0;
  // Formatted text in rect after the text_format flags. With kCalcRect nothing is drawn and rect
  // becomes the extent of the text (its left and top kept).
  virtual void DrawText(const Font& font, Rect& rect, std::wstring_view text, Color color, unsigned format) = 0;
};

// A canvas that draws into the picture in place; the picture must outlive it.
std::unique_ptr<Canvas> CreateBitmapCanvas(Bitmap& target);

}  // namespace platform
