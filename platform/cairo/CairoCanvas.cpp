#include "platform/cairo/CairoCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace platform {
namespace {

double Channel(Color color, int shift) {
  return static_cast<double>((color >> shift) & 0xFF) / 255.0;
}

// Dash patterns of one-pixel pens; wider pens draw solid, as styled pens do elsewhere.
std::vector<double> DashesFor(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {18, 6};
    case PenStyle::Dot:
      return {3, 3};
    case PenStyle::DashDot:
      return {9, 6, 3, 6};
    case PenStyle::DashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

}  // namespace

void SetSourceColor(cairo_t* cr, Color color) {
  cairo_set_source_rgba(cr, Channel(color, 16), Channel(color, 8), Channel(color, 0), Channel(color, 24));
}

void AddRoundedRectPath(cairo_t* cr, double x, double y, double width, double height, double rx, double ry) {
  rx = std::clamp(rx, 0.0, width / 2);
  ry = std::clamp(ry, 0.0, height / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x, y, width, height);
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2;
  const auto corner = [&](double cx, double cy, double from) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, from + kQuarter);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(x + width - rx, y + ry, -kQuarter);
  corner(x + width - rx, y + height - ry, 0);
  corner(x + rx, y + height - ry, kQuarter);
  corner(x + rx, y + ry, 2 * kQuarter);
  cairo_close_path(cr);
}

std::unique_ptr<Canvas> CreateBitmapCanvas(Bitmap& target) {
  return std::make_unique<CairoCanvas>(target);
}

CairoCanvas::CairoCanvas(Bitmap& target) : size_{target.width(), target.height()} {
  clip_ = ClipRegion(Rect{0, 0, size_.cx, size_.cy});
  if (target.empty()) return;
  surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.pixels()), CAIRO_FORMAT_ARGB32,
                                                 target.width(), target.height(), target.stride());
  cr_ = cairo_create(surface_);
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
    cr_ = nullptr;
    surface_ = nullptr;
  }
}

CairoCanvas::~CairoCanvas() {
  if (!cr_) return;
  cairo_destroy(cr_);
  cairo_surface_flush(surface_);
  cairo_surface_destroy(surface_);
}

void CairoCanvas::FillRect(const Rect& rect, Color color) {
  if (!cr_ || rect.IsEmpty()) return;
  cairo_save(cr_);
  SetSourceColor(cr_, color);
  cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::FillGradient(const Rect& rect, Color from, Color to, GradientDirection direction,
                               std::uint8_t alpha) {
  if (!cr_ || rect.IsEmpty() || alpha == 0) return;
  // The end colours sit on the centres of the first and the last pixel, so both ends show them exactly.
  const bool vertical = direction == GradientDirection::Vertical;
  const double start = (vertical ? rect.top : rect.left) + 0.5;
  const double end = (vertical ? rect.bottom : rect.right) - 0.5;
  cairo_pattern_t* gradient = nullptr;
  if (end <= start) {
    gradient = cairo_pattern_create_rgb(Channel(from, 16), Channel(from, 8), Channel(from, 0));
  } else {
    gradient = vertical ? cairo_pattern_create_linear(0, start, 0, end) : cairo_pattern_create_linear(start, 0, end, 0);
    cairo_pattern_add_color_stop_rgb(gradient, 0, Channel(from, 16), Channel(from, 8), Channel(from, 0));
    cairo_pattern_add_color_stop_rgb(gradient, 1, Channel(to, 16), Channel(to, 8), Channel(to, 0));
    cairo_pattern_set_extend(gradient, CAIRO_EXTEND_PAD);
  }
  cairo_save(cr_);
  cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr_);
  cairo_set_source(cr_, gradient);
  cairo_paint_with_alpha(cr_, alpha / 255.0);
  cairo_restore(cr_);
  cairo_pattern_destroy(gradient);
}

void CairoCanvas::DrawLine(Point from, Point to, int width, Color color, PenStyle style) {
  if (!cr_ || style == PenStyle::Null || from == to) return;
  width = std::max(width, 1);
  // An odd width centred on a pixel row or column covers whole pixels.
  const double offset = (width % 2 == 1) ? 0.5 : 0.0;
  const double dx = from.y == to.y ? 0.0 : offset;
  const double dy = from.x == to.x ? 0.0 : offset;
  cairo_save(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr_, width);
  if (width == 1) {
    const std::vector<double> dashes = DashesFor(style);
    if (!dashes.empty()) cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
  }
  SetSourceColor(cr_, color);
  cairo_move_to(cr_, from.x + dx, from.y + dy);
  cairo_line_to(cr_, to.x + dx, to.y + dy);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::DrawFrame(const Rect& rect, int width, Color color) {
  if (!cr_ || rect.IsEmpty()) return;
  width = std::max(width, 1);
  cairo_save(cr_);
  SetSourceColor(cr_, color);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
  if (2 * width < rect.width() && 2 * width < rect.height()) {
    cairo_rectangle(cr_, rect.left + width, rect.top + width, rect.width() - 2 * width, rect.height() - 2 * width);
  }
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::DrawRoundFrame(const Rect& rect, int width, int radius, Color color) {
  if (!cr_ || rect.IsEmpty()) return;
  cairo_save(cr_);
  SetSourceColor(cr_, color);
  cairo_set_line_width(cr_, std::max(width, 1));
  AddRoundedRectPath(cr_, rect.left + 0.5, rect.top + 0.5, rect.width() - 1.0, rect.height() - 1.0, radius, radius);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::Blit(const Bitmap& picture, const Rect& source, const Rect& dest, BlitMode mode, std::uint8_t alpha) {
  if (!cr_ || dest.IsEmpty() || picture.empty()) return;
  if (mode == BlitMode::Blend && alpha == 0) return;
  const Rect part = Intersection(source, Rect{0, 0, picture.width(), picture.height()});
  if (part.IsEmpty()) return;
  // A surface over just the part, so that smoothing at its edges never reaches the neighbouring
  // pixels of the picture (the other states of a button strip, for example). Cairo only reads it.
  const std::uint32_t* first = picture.pixels() + static_cast<std::size_t>(part.top) * picture.width() + part.left;
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(first)),
                                          CAIRO_FORMAT_ARGB32, part.width(), part.height(), picture.stride());
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, static_cast<double>(part.width()) / dest.width(),
                          static_cast<double>(part.height()) / dest.height());
  cairo_matrix_translate(&matrix, -dest.left, -dest.top);
  cairo_pattern_set_matrix(pattern, &matrix);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  const bool sameSize = part.width() == dest.width() && part.height() == dest.height();
  cairo_pattern_set_filter(pattern, sameSize ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);

  cairo_save(cr_);
  cairo_rectangle(cr_, dest.left, dest.top, dest.width(), dest.height());
  cairo_clip(cr_);
  cairo_set_source(cr_, pattern);
  if (mode == BlitMode::Copy) {
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr_);
  } else {
    cairo_paint_with_alpha(cr_, alpha / 255.0);
  }
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(surface);
}

void CairoCanvas::SetClip(const ClipRegion& region) {
  clip_ = region;
  ApplyClip();
}

void CairoCanvas::ApplyClip() {
  if (!cr_) return;
  cairo_reset_clip(cr_);
  const Rect& box = clip_.Box();
  cairo_rectangle(cr_, box.left, box.top, box.width(), box.height());
  cairo_clip(cr_);
  for (const RoundedRect& shape : clip_.rounded()) {
    AddRoundedRectPath(cr_, shape.rect.left, shape.rect.top, shape.rect.width(), shape.rect.height(),
                       shape.ellipseWidth / 2.0, shape.ellipseHeight / 2.0);
    cairo_clip(cr_);
  }
}

}  // namespace platform
