#include "net/download/PieceLayout.h"

#include <algorithm>
#include <cstdio>

namespace nbt {

PieceLayout LayoutFor(std::uint32_t fileSize) {
  PieceLayout layout;
  layout.pieceCount = static_cast<std::uint32_t>((static_cast<std::uint64_t>(fileSize) + kPieceSize - 1) / kPieceSize);
  layout.lastPieceSize = fileSize % kPieceSize;
  return layout;
}

std::uint32_t PieceLength(std::uint32_t index, std::uint32_t fileSize) {
  const std::uint64_t offset = PieceOffset(index);
  if (offset >= fileSize) return 0;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(kPieceSize, fileSize - offset));
}

std::string RangeText(std::uint32_t index) {
  const auto first = static_cast<unsigned>(PieceOffset(index));
  const unsigned last = first + (kPieceSize - 1);
  char text[32];
  std::snprintf(text, sizeof text, "%u-%u", first, last);
  return text;
}

}  // namespace nbt
