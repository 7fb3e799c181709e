#pragma once

#include <cairo.h>

#include "platform/Canvas.h"

namespace platform {

// The canvas over a cairo ARGB32 image surface that shares the bitmap's pixels.
class CairoCanvas final : public Canvas {
 public:
  explicit CairoCanvas(Bitmap& target);
  ~CairoCanvas() override;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  Size size() const override { return size_; }

  void FillRect(const Rect& rect, Color color) override;
  void FillGradient(const Rect& rect, Color from, Color to, GradientDirection direction, std::uint8_t alpha) override;
  void DrawLine(Point from, Point to, int width, Color color, PenStyle style) override;
  void DrawFrame(const Rect& rect, int width, Color color) override;
  void DrawRoundFrame(const Rect& rect, int width, int radius, Color color) override;
  void Blit(const Bitmap& picture, const Rect& source, const Rect& dest, BlitMode mode, std::uint8_t alpha) override;

  ClipRegion Clip() const override { return clip_; }
  void SetClip(const ClipRegion& region) override;

  void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color) override;
  void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color, Color background) override;
  void DrawText(const Font& font, Rect& rect, std::wstring_view text, Color color, unsigned format) override;

 private:
  void ApplyClip();

  Size size_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  ClipRegion clip_;
};

// Sets the cairo source to a straight-alpha 0xAARRGGBB colour.
void SetSourceColor(cairo_t* cr, Color color);

// Adds the outline of a rectangle with quarter-ellipse corners of radii rx, ry to the path.
void AddRoundedRectPath(cairo_t* cr, double x, double y, double width, double height, double rx, double ry);

}  // namespace platform
