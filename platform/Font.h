#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

namespace platform {

// What a font is asked for by: face, character height in pixels (the em size) and style.
struct FontSpec {
  std::wstring faceName;
  int pixelSize = 12;
  bool bold = false;
  bool underline = false;
  bool italic = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The measures a text layout needs from a font, in whole pixels.
struct FontMetrics {
  int height = 0;           // ascent + descent: the height of one text cell
  int ascent = 0;           // from the top of the cell to the baseline
  int descent = 0;          // from the baseline to the bottom of the cell
  int externalLeading = 0;  // extra space the font asks for between lines
  int averageCharWidth = 0;
  int maxCharWidth = 0;       // no character of the font is wider
  int blankRightBearing = 0;  // space after the ink of a blank: its advance less its ink
};

// A font ready to measure with and to draw with on a canvas of the same platform.
class Font {
 public:
  explicit Font(FontSpec spec) : spec_(std::move(spec)) {}
  virtual ~Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontSpec& spec() const { return spec_; }
  virtual const FontMetrics& metrics() const = 0;
  // Extent of the text drawn on one line: its advance width and the cell height.
  virtual Size MeasureText(std::wstring_view text) const = 0;

 private:
  FontSpec spec_;
};

// No provider makes a font larger than this many pixels.
inline constexpr int kMaxFontPixelSize = 4096;

// Makes fonts. The system's provider draws with the platform's text engine; tests give their own.
class FontProvider {
 public:
  virtual ~FontProvider() = default;
  // Null when no font can be made, and for sizes outside 1 .. kMaxFontPixelSize.
  virtual std::unique_ptr<Font> CreateFont(const FontSpec& spec) = 0;
  // The font the system uses for controls when nothing else is asked for.
  virtual FontSpec DefaultGuiFont() = 0;
};

// The process's font provider over the platform's text engine. UI thread only.
FontProvider& SystemFonts();

// Makes font files registered after the text engine started (ImportFontFromMemory) available to
// the fonts made from now on. UI thread only.
void RefreshSystemFonts();

}  // namespace platform
