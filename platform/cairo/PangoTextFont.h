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

  // A one-paragraph layout of the UTF-8 text in this font. The caller releases it with
  // g_object_unref. Underlines are not part of it: see UnderlineBand.
  PangoLayout* CreateLayout(std::string_view utf8) const;

  // The rows of the underline, relative to the baseline: whole pixels, so that it is as crisp as
  // the rest of the text.
  struct Band {
    int offset = 1;  // first row below the baseline
    int thickness = 1;
  };
  const Band& UnderlineBand() const { return underline_; }

 private:
  FontMetrics Measure();

  PangoFontDescription* description_ = nullptr;
  FontMetrics metrics_;
  Band underline_;
};

}  // namespace platform
