// Fuzz target: markup text layout (drawing and measuring) and image attribute texts.
// Input: four bytes of settings (rectangle width, height, style bits, link slots), then UTF-8 text;
// the text also serves as an image text and, split at its middle, as image and modify texts.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Text.h"
#include "platform/fake/FixedWidthFonts.h"
#include "platform/fake/RecordingCanvas.h"
#include "ui/manager/PaintManager.h"
#include "ui/render/SkinRenderer.h"

namespace {

constexpr unsigned kStyles[] = {Vellum::DT_CENTER,   Vellum::DT_RIGHT,       Vellum::DT_VCENTER,
                                Vellum::DT_BOTTOM,   Vellum::DT_WORDBREAK,   Vellum::DT_SINGLELINE,
                                Vellum::DT_CALCRECT, Vellum::DT_END_ELLIPSIS};

void Check(bool holds) {
  if (!holds) std::abort();
}

void Layout(Vellum::CPaintManagerUI& manager, const std::wstring& text, Vellum::Rect rect, unsigned style,
            int capacity) {
  platform::fake::RecordingCanvas canvas({600, 600});
  std::array<Vellum::Rect, 8> rects{};
  std::array<std::wstring, 8> texts{};
  const Vellum::Rect given = rect;
  int count = capacity;
  Vellum::CSkinRenderer::DrawMarkupText(canvas, &manager, rect, text, 0xFFFFFFFF, rects.data(), texts.data(), count, -1,
                                        style);
  Check(count >= 0 && count <= capacity);
  if (style & Vellum::DT_CALCRECT) {
    Check(canvas.calls().empty());
    Check(rect.right <= given.right);
  } else {
    Check(canvas.Clip() == platform::ClipRegion(Vellum::Rect{0, 0, 600, 600}));
  }
  // A second paint with the mouse over the first link exercises the hover colour.
  if (count > 0) {
    manager.SetLastMousePosition({rects[0].left, rects[0].top});
    rect = given;
    Vellum::CSkinRenderer::DrawMarkupText(canvas, &manager, rect, text, 0, rects.data(), texts.data(), count, -1,
                                          style);
    manager.SetLastMousePosition({-1, -1});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  static platform::fake::FixedWidthFonts fonts(7, 1);
  static Vellum::CPaintManagerUI manager(fonts);
  static const bool fontsAdded = [] {
    manager.AddFontById(0, L"Fixed", 16, false, false, false, false);
    manager.AddFontById(1, L"Fixed", 30, true, false, false, false);
    return true;
  }();
  (void)fontsAdded;

  const int width = data[0] % 120;
  const int height = data[1] % 80;
  unsigned style = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (data[2] & (1u << bit)) style |= kStyles[bit];
  }
  const int capacity = data[3] % 9;
  const std::wstring text =
      platform::Utf8ToWideText(std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4));

  Layout(manager, text, {3, 4, 3 + width, 4 + height}, style, capacity);

  const std::size_t half = text.size() / 2;
  const Vellum::SkinImageSpec spec = Vellum::CSkinRenderer::ParseImageSpec(
      std::wstring_view(text).substr(0, half), std::wstring_view(text).substr(half), &manager);
  Check(spec.drawText.size() == half);
  platform::fake::RecordingCanvas canvas({200, 200});
  Vellum::CSkinRenderer::DrawImageSpec(canvas, &manager, {10, 10, 60, 40}, {0, 0, 200, 200}, &spec, nullptr);
  return 0;
}
