#include "ui/resources/SkinFonts.h"

#include "ui/resources/SkinItem.h"

namespace Vellum {

std::unique_ptr<platform::ImportedFont> ImportFontFile(std::wstring_view name) {
  const auto bytes = ReadSkinItem(name);
  if (!bytes) return nullptr;
  return platform::ImportFontFromMemory(*bytes);
}

}  // namespace Vellum
