#pragma once

namespace platform {

// Makes the face names the skins ask for (微软雅黑, Microsoft YaHei) resolve to installed CJK
// faces. Must run before the first text-engine call; later calls do nothing.
void LoadFontAliases();

}  // namespace platform
