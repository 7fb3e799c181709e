#pragma once

namespace platform {

// Makes the Windows face names the skins ask for resolve to installed CJK faces. Must run before
// the first text-engine call; later calls do nothing.
void LoadFontAliases();

}  // namespace platform
