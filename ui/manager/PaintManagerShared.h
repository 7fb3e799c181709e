#pragma once

#include <map>
#include <memory>
#include <string>

#include "ui/core/FontInfo.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinImage.h"

namespace Vellum {

// What every manager of the process sees.
struct SharedRegistries {
  std::map<int, std::unique_ptr<FontInfo>> fontsById;
  std::unique_ptr<FontInfo> defaultFont;  // made by the first manager
  std::map<std::wstring, std::unique_ptr<ImageInfo>, std::less<>> images;
  std::map<std::wstring, std::wstring, std::less<>> defaultAttributes;
  std::map<std::wstring, std::wstring, std::less<>> styles;
  CPaintManagerUI::DefaultColors colors;
};

SharedRegistries& Shared();

}  // namespace Vellum
