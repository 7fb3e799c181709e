#pragma once

#include <cstdint>

#include "ui/core/UiTypes.h"

namespace Vellum {

class CControlUI;

// Event types. Key events lie strictly between the key markers, mouse events strictly between the
// mouse markers.
enum UiEventType : std::uint32_t {
  EVENT_KEYBEGIN = 2,
  EVENT_KEYDOWN = 3,
  EVENT_KEYUP = 4,
  EVENT_CHAR = 5,
  EVENT_SYSKEY = 6,
  EVENT_KEYEND = 7,
  EVENT_MOUSEBEGIN = 8,
  EVENT_MOUSEMOVE = 9,
  EVENT_MOUSELEAVE = 10,
  EVENT_MOUSEENTER = 11,
  EVENT_MOUSEHOVER = 12,
  EVENT_BUTTONDOWN = 13,
  EVENT_BUTTONUP = 14,
  EVENT_RBUTTONDOWN = 15,
  EVENT_RBUTTONUP = 16,
  EVENT_MBUTTONDOWN = 17,
  EVENT_MBUTTONUP = 18,
  EVENT_DBLCLICK = 19,
  EVENT_CONTEXTMENU = 20,
  EVENT_SCROLLWHEEL = 21,
  EVENT_MOUSEEND = 22,
  EVENT_KILLFOCUS = 23,
  EVENT_SETFOCUS = 24,
  EVENT_WINDOWSIZE = 25,
  EVENT_SETCURSOR = 26,
  EVENT_TIMER = 27,
};

// KeyState bits.
inline constexpr std::uint16_t MK_LBUTTON = 0x01;
inline constexpr std::uint16_t MK_RBUTTON = 0x02;
inline constexpr std::uint16_t MK_SHIFT = 0x04;
inline constexpr std::uint16_t MK_CONTROL = 0x08;
inline constexpr std::uint16_t MK_ALT = 0x20;

inline bool IsKeyEvent(std::uint32_t type) {
  return type > EVENT_KEYBEGIN && type < EVENT_KEYEND;
}
inline bool IsMouseEvent(std::uint32_t type) {
  return type > EVENT_MOUSEBEGIN && type < EVENT_MOUSEEND;
}

// What a control receives from its manager.
struct UiEvent {
  std::uint32_t Type = 0;
  CControlUI* Sender = nullptr;
  std::uint32_t Timestamp = 0;  // milliseconds, TickCount
  Point MousePoint;             // client coordinates
  std::uint16_t KeyChar = 0;
  std::uint16_t KeyState = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

}  // namespace Vellum
