#pragma once

#include <memory>
#include <string_view>

#include "platform/Fonts.h"

namespace Vellum {

// Registers the skin item of that name (a font file, see ReadSkinItem) as a font of this process.
// The font stays usable while the returned handle lives; the paint manager keeps the handles of
// its window and drops them when it goes. Null when the item is missing or holds no font.
std::unique_ptr<platform::ImportedFont> ImportFontFile(std::wstring_view name);

}  // namespace Vellum
