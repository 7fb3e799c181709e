#pragma once

#include <cstdint>
#include <string>

namespace nbt {

inline constexpr std::uint32_t kPieceSize = 1u << 20;

// The counters hold sizes below 2 GiB.
inline constexpr std::uint64_t kMaxFileSize = (1ull << 31) - 1;

struct PieceLayout {
  std::uint32_t pieceCount = 0;
  std::uint32_t pieceSize = kPieceSize;
  std::uint32_t lastPieceSize = 0;  // fileSize modulo kPieceSize: 0 when the last piece is whole
};

// The pieces of a file of fileSize bytes (at most kMaxFileSize).
PieceLayout LayoutFor(std::uint32_t fileSize);

inline std::uint64_t PieceOffset(std::uint32_t index) {
  return static_cast<std::uint64_t>(index) * kPieceSize;
}

// The bytes piece index holds in a file of fileSize bytes: kPieceSize except for a short last piece.
std::uint32_t PieceLength(std::uint32_t index, std::uint32_t fileSize);

// The range asked for piece index, "first-last" over a whole piece; the last piece's range may
// reach past the end of the file.
std::string RangeText(std::uint32_t index);

}  // namespace nbt
