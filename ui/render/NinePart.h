#pragma once

#include <vector>

#include "ui/core/UiTypes.h"

namespace Vellum {

// One piece of a nine-part picture: the source rectangle stretched onto the destination.
struct BlitPart {
  Rect dest;
  Rect source;
  friend bool operator==(const BlitPart&, const BlitPart&) = default;
};

inline constexpr Rect kUnlimited{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

// The pieces of a nine-part drawing in drawing order: the middle (unless hole; as tiles with
// xtiled or ytiled), then left-top, top, right-top, left, right, left-bottom, bottom, right-bottom,
// each corner and edge only when its margins are set. A tiled middle whose source has no width
// (xtiled) or height (ytiled) is left out, and of a tiled middle only the tiles that meet
// paintRect are listed (the others would not be drawn anyway, and there may be very many).
std::vector<BlitPart> NineParts(const Rect& dest, const Rect& source, const Rect& corner, bool hole, bool xtiled,
                                bool ytiled, const Rect& paintRect = kUnlimited);

}  // namespace Vellum
