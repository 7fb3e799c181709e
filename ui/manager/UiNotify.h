#pragma once

#include <cstdint>
#include <string>

#include "ui/core/UiTypes.h"

namespace Vellum {

class CControlUI;

// Notification types sent by the manager and by this system's controls.
inline constexpr wchar_t kNotifyWindowInit[] = L"windowinit";  // the root, after the first layout
inline constexpr wchar_t kNotifyWindowSize[] = L"windowsize";  // the root, after every layout (queued)
inline constexpr wchar_t kNotifySetFocus[] = L"setfocus";
inline constexpr wchar_t kNotifyKillFocus[] = L"killfocus";
inline constexpr wchar_t kNotifyClick[] = L"click";
inline constexpr wchar_t kNotifySelectChanged[] = L"selectchanged";  // check box: wParam = selected
inline constexpr wchar_t kNotifyLink[] = L"link";                    // wParam = link index
inline constexpr wchar_t kNotifyTabSelect[] = L"tabselect";          // wParam = new, lParam = old index
inline constexpr wchar_t kNotifyTimer[] = L"timer";                  // wParam = the control's timer id
inline constexpr wchar_t kNotifyMenu[] = L"menu";

// What listeners receive from controls and the manager.
struct UiNotify {
  std::wstring Type;
  std::wstring VirtualWindow;
  CControlUI* Sender = nullptr;  // none when the sender was destroyed before a queued delivery
  std::uint32_t Timestamp = 0;   // milliseconds, TickCount
  Point MousePoint;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

}  // namespace Vellum
