#pragma once

#include <memory>
#include <string>

#include "platform/Font.h"

namespace Vellum {

// Fonts are handed around by the platform font they hold.
using FontHandle = const platform::Font*;

// One registered font and the way the skin asked for it.
struct FontInfo {
  std::unique_ptr<platform::Font> font;  // none when the platform could not make it
  std::wstring faceName;
  int size = 0;  // pixels, as written
  bool bold = false;
  bool underline = false;
  bool italic = false;

  FontHandle handle() const { return font.get(); }
  // Zero metrics without a font.
  const platform::FontMetrics& metrics() const {
    static const platform::FontMetrics kNone;
    return font ? font->metrics() : kNone;
  }
};

}  // namespace Vellum
