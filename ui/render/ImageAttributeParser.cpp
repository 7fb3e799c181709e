#include <string>

#include "ui/core/AttributeValues.h"
#include "ui/render/ImageItems.h"
#include "ui/manager/PaintManager.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

Rect ScaledRect(std::wstring_view value, const CPaintManagerUI* manager) {
  const Rect rect = ReadRect(value);
  return manager ? manager->Scale(rect) : rect;
}

void ApplyItem(SkinImageSpec& spec, std::wstring_view keyword, std::wstring_view value,
               const CPaintManagerUI* manager) {
  if (value.empty()) return;
  if (keyword == L"file" || keyword == L"res") {
    spec.imageName = value;
  } else if (keyword == L"restype") {
    spec.resourceType = value;
  } else if (keyword == L"dest") {
    spec.dest = ScaledRect(value, manager);
  } else if (keyword == L"source") {
    spec.source = ScaledRect(value, manager);
  } else if (keyword == L"corner") {
    spec.corner = ScaledRect(value, manager);
  } else if (keyword == L"mask") {
    spec.mask = ReadHexColor(value);
  } else if (keyword == L"fade") {
    std::size_t end = 0;
    spec.fade = static_cast<std::uint8_t>(ReadDecimal(value, 0, end) & 0xFF);
  } else if (keyword == L"hole") {
    spec.hole = ReadBool(value);
  } else if (keyword == L"xtiled") {
    spec.xtiled = ReadBool(value);
  } else if (keyword == L"ytiled") {
    spec.ytiled = ReadBool(value);
  } else if (keyword == L"hsl") {
    spec.hsl = ReadBool(value);
  } else if (keyword == L"size") {
    spec.size = ReadSize(value);
  } else if (keyword == L"align") {
    spec.align = value;
  } else if (keyword == L"padding") {
    spec.padding = ScaledRect(value, manager);
  }
}

// picRes\btn.png at 150 percent is picRes\btn@150.png.
std::wstring NameForScale(std::wstring_view name, int percent) {
  const std::wstring replacement = L"@" + std::to_wstring(percent) + L".";
  std::wstring scaled;
  for (wchar_t c : name) {
    if (c == L'.')
      scaled += replacement;
    else
      scaled += c;
  }
  return scaled;
}

}  // namespace

SkinImageSpec CSkinRenderer::ParseImageSpec(std::wstring_view imageText, std::wstring_view modifyText,
                                            const CPaintManagerUI* manager) {
  SkinImageSpec spec;
  spec.drawText = imageText;
  spec.modifyText = modifyText;
  spec.imageName = imageText;
  const auto apply = [&](std::wstring_view keyword, std::wstring_view value) {
    ApplyItem(spec, keyword, value, manager);
  };
  ScanImageItems(imageText, apply);
  ScanImageItems(modifyText, apply);
  if (manager && manager->ScalePercent() != 100) spec.imageName = NameForScale(spec.imageName, manager->ScalePercent());
  return spec;
}

}  // namespace Vellum
