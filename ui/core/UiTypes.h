#pragma once

#include <cstdint>

#include "platform/Canvas.h"
#include "platform/Geometry.h"

namespace Vellum {

using platform::Point;
using platform::Rect;
using platform::Size;
// 0xAARRGGBB; 0 means "not set" wherever a colour is optional.
using ArgbColor = std::uint32_t;

// Text style flags of labels, texts and the renderer, in the values the skin writes them in.
inline constexpr unsigned DT_LEFT = platform::text_format::kLeft;
inline constexpr unsigned DT_CENTER = platform::text_format::kCenter;
inline constexpr unsigned DT_RIGHT = platform::text_format::kRight;
inline constexpr unsigned DT_VCENTER = platform::text_format::kVCenter;
inline constexpr unsigned DT_BOTTOM = platform::text_format::kBottom;
inline constexpr unsigned DT_WORDBREAK = platform::text_format::kWordBreak;
inline constexpr unsigned DT_SINGLELINE = platform::text_format::kSingleLine;
inline constexpr unsigned DT_NOCLIP = platform::text_format::kNoClip;
inline constexpr unsigned DT_CALCRECT = platform::text_format::kCalcRect;
inline constexpr unsigned DT_NOPREFIX = platform::text_format::kNoPrefix;
inline constexpr unsigned DT_EDITCONTROL = platform::text_format::kEditControl;
inline constexpr unsigned DT_END_ELLIPSIS = platform::text_format::kEndEllipsis;

}  // namespace Vellum
