#pragma once

#include <pango/pangocairo.h>

#include <string_view>

#include "platform/Font.h"

namespace platform {

// The context every measurement and every drawing of this process's text goes through, so that
// both see the same glyph advances. UI thread only.
PangoContext* SharedPangoContext();

class PangoTextFont final : public Font {
 public:
  explicit PangoTextFont(FontSpec spec);
  ~PangoTextFont() override;

  const FontMetrics& metrics() const override { return metrics_; }
  Size MeasureText(std::wstring_view text) const override;

  // A one-paragraph layout of the UTF-8 text in this font, underlined when the font is. The caller
  // releases it with g_object_unref.
  PangoLayout* CreateLayout(std::string_view utf8) const;

 private:
  FontMetrics Measure() const;

  PangoFontDescription* description_ = nullptr;
  FontMetrics metrics_;
};

}  // namespace platform
