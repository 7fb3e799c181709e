// Draws the pictures of the installer's skin ("picRes/") into the folder given on the command
// line. Runs at build time; the skin archive is packed from its output.

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

struct Colour {
  double r, g, b, a = 1.0;
};

constexpr Colour Rgb(unsigned hex, double alpha = 1.0) {
  return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

// The brand blue and its neighbours.
constexpr Colour kBlueTop = Rgb(0x4C98FF);
constexpr Colour kBlueBottom = Rgb(0x2D74EC);
constexpr Colour kBlue = Rgb(0x3D8BFF);

void SetColour(cairo_t* cr, Colour c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void AddStop(cairo_pattern_t* pattern, double offset, Colour c) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Colour top, Colour bottom) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
  AddStop(gradient, 0, top);
  AddStop(gradient, 1, bottom);
  cairo_set_source(cr, gradient);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(gradient);
}

bool Save(cairo_surface_t* surface, const std::string& folder, const char* name) {
  const std::string path = folder + "/" + name;
  if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

// Draws one picture of width x height with draw and saves it.
bool Picture(const std::string& folder, const char* name, int width, int height,
             const std::function<void(cairo_t*)>& draw) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  draw(cr);
  cairo_destroy(cr);
  const bool saved = Save(surface, folder, name);
  cairo_surface_destroy(surface);
  return saved;
}

// Draws each of the four states (normal, hot, pushed, disabled) into its cell of a vertical strip.
void StateStrip(cairo_t* cr, int cellHeight, const std::function<void(cairo_t*, int state)>& draw) {
  for (int state = 0; state < 4; ++state) {
    cairo_save(cr);
    cairo_translate(cr, 0, state * cellHeight);
    draw(cr, state);
    cairo_restore(cr);
  }
}

enum State { kNormal, kHot, kPushed, kDisabled };

// ---- background ---------------------------------------------------------------------------

constexpr int kWidth = 690;
constexpr int kHeight = 380;
constexpr double kTitleRule = 46.5;
constexpr double kBandTop = 318;

void DrawBackground(cairo_t* cr) {
  // The field: a dark blue-grey, a little lighter at the top.
  cairo_rectangle(cr, 0, 0, kWidth, kHeight);
  FillVertical(cr, 0, kHeight, Rgb(0x222A37), Rgb(0x181D27));
  cairo_new_path(cr);

  // A soft blue glow in the upper right and thin arcs around it, behind the empty part of every page.
  cairo_pattern_t* glow = cairo_pattern_create_radial(610, 30, 0, 610, 30, 300);
  AddStop(glow, 0, Rgb(0x3D8BFF, 0.16));
  AddStop(glow, 1, Rgb(0x3D8BFF, 0.0));
  cairo_rectangle(cr, 0, 0, kWidth, kBandTop);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);

  cairo_save(cr);
  cairo_rectangle(cr, 0, kTitleRule + 1, kWidth, 118);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < 5; ++i) {
    SetColour(cr, Rgb(0x8DB8FF, 0.085 - i * 0.014));
    cairo_arc(cr, 640, 40, 56 + i * 30, 0, 2 * M_PI);
    cairo_stroke(cr);
  }
  cairo_restore(cr);

  // The title area: slightly raised, closed by a thin rule with a soft shadow under it.
  cairo_rectangle(cr, 0, 0, kWidth, kTitleRule);
  SetColour(cr, Rgb(0xFFFFFF, 0.025));
  cairo_fill(cr);
  cairo_pattern_t* shadow = cairo_pattern_create_linear(0, kTitleRule, 0, kTitleRule + 8);
  AddStop(shadow, 0, Rgb(0x000000, 0.22));
  AddStop(shadow, 1, Rgb(0x000000, 0.0));
  cairo_rectangle(cr, 0, kTitleRule, kWidth, 8);
  cairo_set_source(cr, shadow);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);
  cairo_pattern_t* rule = cairo_pattern_create_linear(0, 0, kWidth, 0);
  AddStop(rule, 0, Rgb(0x5A6A84, 0.9));
  AddStop(rule, 0.5, Rgb(0x4A5870, 0.7));
  AddStop(rule, 1, Rgb(0x3D8BFF, 0.6));
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 0, kTitleRule);
  cairo_line_to(cr, kWidth, kTitleRule);
  cairo_set_source(cr, rule);
  cairo_stroke(cr);
  cairo_pattern_destroy(rule);

  // The bottom band: darker, with a fine dot grid that fades towards the top.
  cairo_rectangle(cr, 0, kBandTop, kWidth, kHeight - kBandTop);
  SetColour(cr, Rgb(0x000000, 0.20));
  cairo_fill(cr);
  SetColour(cr, Rgb(0xFFFFFF, 0.06));
  cairo_rectangle(cr, 0, kBandTop, kWidth, 1);
  cairo_fill(cr);
  constexpr double kDotStep = 6;
  for (double y = kBandTop + 5; y < kHeight - 2; y += kDotStep) {
    const double fade = (y - kBandTop) / (kHeight - kBandTop);
    SetColour(cr, Rgb(0x9FB4D6, 0.07 + 0.13 * fade));
    for (double x = 4; x < kWidth - 2; x += kDotStep) {
      cairo_arc(cr, x + 0.5, y + 0.5, 0.9, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }

  // A faint frame so that the window's edge reads on any desktop.
  cairo_rectangle(cr, 0.5, 0.5, kWidth - 1, kHeight - 1);
  SetColour(cr, Rgb(0xFFFFFF, 0.08));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// ---- buttons ------------------------------------------------------------------------------

void DrawBlueButton(cairo_t* cr, int state) {
  constexpr double w = 115, h = 36, radius = 4;
  struct Look {
    Colour top, bottom, border;
    double highlight;
  };
  const Look looks[] = {
      {kBlueTop, kBlueBottom, Rgb(0x1F5FCC), 0.30},
      {Rgb(0x67AAFF), Rgb(0x3E86F6), Rgb(0x2C6EDB), 0.38},
      {Rgb(0x2A68D6), Rgb(0x2459BE), Rgb(0x1A4AA3), 0.0},
      {Rgb(0x333B48), Rgb(0x2B323D), Rgb(0xFFFFFF, 0.10), 0.05},
  };
  const Look& look = looks[state];
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius);
  FillVertical(cr, 0, h, look.top, look.bottom);
  SetColour(cr, look.border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (look.highlight > 0) {
    // A light edge along the top, as if lit from above.
    cairo_move_to(cr, radius + 0.5, 1.5);
    cairo_line_to(cr, w - radius - 0.5, 1.5);
    SetColour(cr, Rgb(0xFFFFFF, look.highlight));
    cairo_stroke(cr);
  }
  if (state == kPushed) {
    // Pressed in: a shadow inside the top edge.
    cairo_save(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 2, radius - 0.5);
    cairo_clip(cr);
    cairo_pattern_t* inner = cairo_pattern_create_linear(0, 1, 0, 7);
    AddStop(inner, 0, Rgb(0x000000, 0.28));
    AddStop(inner, 1, Rgb(0x000000, 0.0));
    cairo_rectangle(cr, 0, 0, w, 8);
    cairo_set_source(cr, inner);
    cairo_fill(cr);
    cairo_pattern_destroy(inner);
    cairo_restore(cr);
  }
}

void DrawChangeButton(cairo_t* cr, int state) {
  constexpr double w = 54, h = 25, radius = 3;
  struct Look {
    Colour fill, border;
  };
  const Look looks[] = {
      {Rgb(0xFFFFFF, 0.07), Rgb(0xFFFFFF, 0.28)},
      {Rgb(0x3D8BFF, 0.26), Rgb(0x66A6FF)},
      {Rgb(0x3D8BFF, 0.45), Rgb(0x3D8BFF)},
      {Rgb(0xFFFFFF, 0.03), Rgb(0xFFFFFF, 0.10)},
  };
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius);
  SetColour(cr, looks[state].fill);
  cairo_fill_preserve(cr);
  SetColour(cr, looks[state].border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// Only the left 15 x 15 of each 30 x 15 row is shown; the rest of the strip stays clear.
void DrawCloseButton(cairo_t* cr, int state) {
  constexpr double size = 15;
  const Colour crossColours[] = {Rgb(0xA3AEBF), Rgb(0xFFFFFF), Rgb(0xFFFFFF), Rgb(0x4A5464)};
  if (state == kHot || state == kPushed) {
    RoundedRect(cr, 0, 0, size, size, 3);
    SetColour(cr, state == kHot ? Rgb(0xFFFFFF, 0.16) : Rgb(0xE5484D));
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, crossColours[state]);
  cairo_move_to(cr, 4, 4);
  cairo_line_to(cr, 11, 11);
  cairo_move_to(cr, 11, 4);
  cairo_line_to(cr, 4, 11);
  cairo_stroke(cr);
}

// ---- check boxes --------------------------------------------------------------------------

void DrawEmptyBox(cairo_t* cr, Colour fill, Colour border) {
  RoundedRect(cr, 1.5, 1.5, 13, 13, 3);
  SetColour(cr, fill);
  cairo_fill_preserve(cr);
  SetColour(cr, border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void DrawTickedBox(cairo_t* cr) {
  RoundedRect(cr, 1, 1, 14, 14, 3);
  FillVertical(cr, 1, 15, kBlueTop, kBlueBottom);
  cairo_new_path(cr);
  cairo_set_line_width(cr, 1.8);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, Rgb(0xFFFFFF));
  cairo_move_to(cr, 4.5, 8.2);
  cairo_line_to(cr, 7.1, 10.8);
  cairo_line_to(cr, 11.7, 5.4);
  cairo_stroke(cr);
}

// ---- progress -----------------------------------------------------------------------------

constexpr double kBarWidth = 610;
constexpr double kBarHeight = 16;

void DrawProgressTrack(cairo_t* cr) {
  RoundedRect(cr, 0.5, 0.5, kBarWidth - 1, kBarHeight - 1, kBarHeight / 2);
  FillVertical(cr, 0, kBarHeight, Rgb(0x10151D), Rgb(0x1A212C));
  SetColour(cr, Rgb(0xFFFFFF, 0.09));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void DrawProgressFill(cairo_t* cr) {
  constexpr double inset = 1.5;
  RoundedRect(cr, inset, inset, kBarWidth - 2 * inset, kBarHeight - 2 * inset, kBarHeight / 2 - inset);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, kBarWidth, 0);
  AddStop(fill, 0, Rgb(0x2F6FE8));
  AddStop(fill, 1, Rgb(0x35C4FF));
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);

  // Slanted stripes, then a gloss over the upper half.
  SetColour(cr, Rgb(0xFFFFFF, 0.08));
  for (double x = -kBarHeight; x < kBarWidth + kBarHeight; x += 14) {
    cairo_move_to(cr, x, kBarHeight);
    cairo_line_to(cr, x + 7, kBarHeight);
    cairo_line_to(cr, x + 7 + kBarHeight, 0);
    cairo_line_to(cr, x + kBarHeight, 0);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, 0, 0, kBarHeight);
  AddStop(gloss, 0, Rgb(0xFFFFFF, 0.32));
  AddStop(gloss, 0.5, Rgb(0xFFFFFF, 0.06));
  AddStop(gloss, 0.51, Rgb(0xFFFFFF, 0.0));
  AddStop(gloss, 1, Rgb(0x000000, 0.10));
  cairo_rectangle(cr, 0, 0, kBarWidth, kBarHeight);
  cairo_set_source(cr, gloss);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
  cairo_restore(cr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <picRes folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  bool ok = true;
  ok &= Picture(folder, "bg.png", kWidth, kHeight, DrawBackground);
  ok &= Picture(folder, "btn_blue.png", 115, 144, [](cairo_t* cr) { StateStrip(cr, 36, DrawBlueButton); });
  ok &= Picture(folder, "btn_change.png", 54, 100, [](cairo_t* cr) { StateStrip(cr, 25, DrawChangeButton); });
  ok &= Picture(folder, "btn_close.png", 30, 60, [](cairo_t* cr) { StateStrip(cr, 15, DrawCloseButton); });
  ok &= Picture(folder, "ChoseBox_None_Normal.png", 16, 16,
                [](cairo_t* cr) { DrawEmptyBox(cr, Rgb(0xFFFFFF, 0.05), Rgb(0x8793A6)); });
  ok &= Picture(folder, "ChoseBox_None_Hover.png", 16, 16,
                [](cairo_t* cr) { DrawEmptyBox(cr, Rgb(0x3D8BFF, 0.16), Rgb(0x66A6FF)); });
  ok &= Picture(folder, "ChoseBox_None_Push.png", 16, 16,
                [](cairo_t* cr) { DrawEmptyBox(cr, Rgb(0x3D8BFF, 0.34), kBlue); });
  ok &= Picture(folder, "ChoseBox_Normal.png", 16, 16, DrawTickedBox);
  ok &= Picture(folder, "progress_bg.png", 610, 16, DrawProgressTrack);
  ok &= Picture(folder, "progress_bar.png", 610, 16, DrawProgressFill);
  return ok ? 0 : 1;
}
