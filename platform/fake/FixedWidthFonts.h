#pragma once

#include <memory>
#include <vector>

#include "platform/Font.h"

namespace platform::fake {

// A font whose every character is charWidth pixels wide, for checking layout by arithmetic.
// Cell height = pixel size; ascent = three quarters of it.
class FixedWidthFont final : public Font {
 public:
  FixedWidthFont(FontSpec spec, int charWidth, int externalLeading);
  const FontMetrics& metrics() const override { return metrics_; }
  Size MeasureText(std::wstring_view text) const override;

 private:
  int charWidth_;
  FontMetrics metrics_;
};

class FixedWidthFonts final : public FontProvider {
 public:
  explicit FixedWidthFonts(int charWidth = 8, int externalLeading = 0, FontSpec defaultGui = {L"Fixed", 16})
      : charWidth_(charWidth), externalLeading_(externalLeading), defaultGui_(std::move(defaultGui)) {}

  std::unique_ptr<Font> CreateFont(const FontSpec& spec) override;
  FontSpec DefaultGuiFont() override { return defaultGui_; }

  // Every font asked for, in order.
  const std::vector<FontSpec>& created() const { return created_; }

 private:
  int charWidth_;
  int externalLeading_;
  FontSpec defaultGui_;
  std::vector<FontSpec> created_;
};

}  // namespace platform::fake
