#pragma once

#include <cstdint>

namespace platform {

using MessageId = std::uint32_t;

// Message numbers the framework's window procedures handle, in the numbering of the desktop
// systems the skins were made for.
inline constexpr MessageId kTimerMessage = 0x0113;  // wParam: timer id
inline constexpr MessageId kAppMessage = 0x8000;    // first number free for a program's own use

struct WindowMessage {
  MessageId message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// What the UI framework needs of the native window it draws into: the window's message queue and
// its timers. Messages and timer ticks reach the window's procedure on the thread that runs the
// window's loop, one at a time.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;

  // False once the window is destroyed.
  virtual bool IsAlive() const = 0;
  // Queues a message for the window's procedure; never delivers it inside the call. Safe from any
  // thread. False when the window is gone.
  virtual bool PostMessage(const WindowMessage& message) = 0;
  // Starts timer id, or restarts it with the new interval when it already runs. Every interval the
  // procedure receives kTimerMessage with wParam = id; ticks missed while the loop was busy are not
  // made up. False when the window is gone.
  virtual bool SetTimer(unsigned id, unsigned intervalMs) = 0;
  // False when no such timer runs.
  virtual bool KillTimer(unsigned id) = 0;
};

}  // namespace platform
