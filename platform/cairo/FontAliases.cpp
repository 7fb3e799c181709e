#include "platform/cairo/FontAliases.h"

#include <fontconfig/fontconfig.h>

#include "platform/DebugTrace.h"

namespace platform {
namespace {

// Neither name has a font of its own here; without the alias both resolve to a Latin face and the
// text engine then mixes faces within one line.
constexpr char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="strong">
    <family>微软雅黑</family>
    <prefer><family>WenQuanYi Micro Hei</family><family>Noto Sans CJK SC</family></prefer>
  </alias>
  <alias binding="strong">
    <family>Microsoft YaHei</family>
    <prefer><family>WenQuanYi Micro Hei</family><family>Noto Sans CJK SC</family></prefer>
  </alias>
</fontconfig>
)";

bool Load() {
  if (!FcInit()) {
    DebugTrace("fontconfig: initialisation failed\n");
    return false;
  }
  FcConfig* config = FcConfigGetCurrent();
  if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue)) {
    DebugTrace("fontconfig: the face aliases were refused\n");
    return false;
  }
  return true;
}

}  // namespace

void LoadFontAliases() {
  static const bool loaded = Load();
  (void)loaded;
}

}  // namespace platform
