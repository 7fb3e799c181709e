#include "net/download/LoadFileInfo.h"

namespace nbt {

void loadFileInfo_t::Clear() {
  fileSize = 0;
  pieceCount = 0;
  pieceSize = 0;
  lastPieceSize = 0;
  attachedBuffer = {};
  url.clear();
  folder.clear();
  fileName.clear();
}

bool loadFileInfo_t::TextsFit() const {
  return url.size() < kMaxUrlBytes && folder.size() < kMaxFolderChars && fileName.size() < kMaxFileNameChars;
}

}  // namespace nbt
