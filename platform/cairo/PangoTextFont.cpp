#include "platform/cairo/PangoTextFont.h"

#include <cairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Text.h"
#include "platform/cairo/FontAliases.h"

namespace platform {
namespace {

// The system font for controls: the alias serves this face with a CJK font.
constexpr wchar_t kDefaultGuiFace[] = L"微软雅黑";
constexpr int kDefaultGuiPixelSize = 12;

// Samples that a fallback face may draw wider than the primary face's own widest glyph.
constexpr char kWideSamples[][4] = {"W", "M", "@", "中"};

PangoContext* MakeContext() {
  LoadFontAliases();
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  g_object_unref(map);
  // Whole-pixel advances: runs measured one by one add up to the width of the whole line.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 96.0);
  return context;
}

int CeilPixels(int pangoUnits) {
  return PANGO_PIXELS_CEIL(pangoUnits);
}

int LogicalWidth(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return CeilPixels(logical.width);
}

class SystemFontProvider final : public FontProvider {
 public:
  std::unique_ptr<Font> CreateFont(const FontSpec& spec) override {
    if (spec.pixelSize <= 0 || spec.pixelSize > kMaxFontPixelSize) return nullptr;
    return std::make_unique<PangoTextFont>(spec);
  }
  FontSpec DefaultGuiFont() override { return {kDefaultGuiFace, kDefaultGuiPixelSize, false, false, false}; }
};

}  // namespace

PangoContext* SharedPangoContext() {
  static PangoContext* const context = MakeContext();
  return context;
}

FontProvider& SystemFonts() {
  static SystemFontProvider provider;
  return provider;
}

void RefreshSystemFonts() {
  PangoFontMap* map = pango_context_get_font_map(SharedPangoContext());
  if (PANGO_IS_FC_FONT_MAP(map)) pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
  pango_context_changed(SharedPangoContext());
}

PangoTextFont::PangoTextFont(FontSpec spec) : Font(std::move(spec)) {
  description_ = pango_font_description_new();
  pango_font_description_set_family(description_, WideToUtf8(this->spec().faceName).c_str());
  pango_font_description_set_absolute_size(description_, this->spec().pixelSize * PANGO_SCALE);
  pango_font_description_set_weight(description_, this->spec().bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description_, this->spec().italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  metrics_ = Measure();
}

PangoTextFont::~PangoTextFont() {
  pango_font_description_free(description_);
}

PangoLayout* PangoTextFont::CreateLayout(std::string_view utf8) const {
  PangoLayout* layout = pango_layout_new(SharedPangoContext());
  pango_layout_set_font_description(layout, description_);
  pango_layout_set_single_paragraph_mode(layout, TRUE);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

Size PangoTextFont::MeasureText(std::wstring_view text) const {
  if (text.empty()) return {0, metrics_.height};
  PangoLayout* layout = CreateLayout(WideToUtf8(text));
  const int width = LogicalWidth(layout);
  g_object_unref(layout);
  return {width, metrics_.height};
}

FontMetrics PangoTextFont::Measure() {
  FontMetrics m;
  PangoContext* context = SharedPangoContext();
  PangoFontMetrics* fontMetrics = pango_context_get_metrics(context, description_, nullptr);
  m.ascent = CeilPixels(pango_font_metrics_get_ascent(fontMetrics));
  m.descent = CeilPixels(pango_font_metrics_get_descent(fontMetrics));
  m.height = m.ascent + m.descent;
  m.externalLeading = std::max(0, CeilPixels(pango_font_metrics_get_height(fontMetrics)) - m.height);
  m.averageCharWidth = CeilPixels(pango_font_metrics_get_approximate_char_width(fontMetrics));
  underline_.thickness = std::max(1, PANGO_PIXELS(pango_font_metrics_get_underline_thickness(fontMetrics)));
  underline_.offset = std::clamp(PANGO_PIXELS(-pango_font_metrics_get_underline_position(fontMetrics)), 1,
                                 std::max(1, m.descent - underline_.thickness));
  pango_font_metrics_unref(fontMetrics);

  if (::PangoFont* primary = pango_context_load_font(context, description_)) {
    if (cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(primary))) {
      cairo_font_extents_t extents{};
      cairo_scaled_font_extents(scaled, &extents);
      m.maxCharWidth = static_cast<int>(std::ceil(extents.max_x_advance));
    }
    g_object_unref(primary);
  }
  for (const char* sample : kWideSamples) {
    PangoLayout* layout = CreateLayout(sample);
    m.maxCharWidth = std::max(m.maxCharWidth, LogicalWidth(layout));
    g_object_unref(layout);
  }

  PangoLayout* blank = CreateLayout(" ");
  PangoRectangle ink{};
  PangoRectangle logical{};
  pango_layout_get_extents(blank, &ink, &logical);
  const int inkRight = ink.width > 0 ? ink.x + ink.width : 0;
  m.blankRightBearing = CeilPixels(logical.x + logical.width - inkRight);
  g_object_unref(blank);
  return m;
}

}  // namespace platform
