#include <algorithm>
#include <optional>

#include "platform/Clock.h"
#include "ui/controls/Control.h"
#include "ui/manager/PaintManager.h"

namespace Vellum {
namespace {

constexpr unsigned kWindowTimerIds = 240;

}  // namespace

// The counter decides the id; an id still held by a timer record of this window is passed over,
// since starting a window timer with a held id would silently take the other control's timer.
std::optional<unsigned> CPaintManagerUI::NextWindowTimerId() {
  for (unsigned tries = 0; tries < kWindowTimerIds; ++tries) {
    const unsigned id = ++timerIdCounter_ % kWindowTimerIds;
    const bool held = std::any_of(timers_.begin(), timers_.end(), [&](const ControlTimer& timer) {
      return timer.window == window_ && timer.windowTimerId == id;
    });
    if (!held) return id;
  }
  return std::nullopt;
}

bool CPaintManagerUI::SetControlTimer(CControlUI* control, unsigned localId, unsigned intervalMs) {
  if (!control || !window_) return false;
  for (ControlTimer& timer : timers_) {
    if (timer.sender != control || timer.localId != localId || timer.window != window_) continue;
    if (!timer.killed || !window_->SetTimer(timer.windowTimerId, intervalMs)) return false;
    timer.killed = false;
    return true;
  }
  const std::optional<unsigned> id = NextWindowTimerId();
  if (!id || !window_->SetTimer(*id, intervalMs)) return false;
  timers_.push_back({control, localId, window_, *id, false});
  return true;
}

bool CPaintManagerUI::KillControlTimer(CControlUI* control, unsigned localId) {
  for (ControlTimer& timer : timers_) {
    if (timer.sender != control || timer.localId != localId || timer.window != window_ || timer.killed) continue;
    if (timer.window && timer.window->IsAlive()) timer.window->KillTimer(timer.windowTimerId);
    timer.killed = true;
    return true;
  }
  return false;
}

void CPaintManagerUI::KillControlTimers(CControlUI* control) {
  std::erase_if(timers_, [&](const ControlTimer& timer) {
    if (timer.sender != control) return false;
    if (!timer.killed && timer.window && timer.window->IsAlive()) timer.window->KillTimer(timer.windowTimerId);
    return true;
  });
}

bool CPaintManagerUI::HandleTimerMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  const unsigned windowTimerId = static_cast<unsigned>(wParam & 0xFFFF);
  const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const ControlTimer& timer) {
    return timer.window == window_ && timer.windowTimerId == windowTimerId && !timer.killed;
  });
  if (found == timers_.end()) return false;
  UiEvent event;
  event.Type = EVENT_TIMER;
  event.Sender = found->sender;
  event.Timestamp = platform::TickCount();
  event.MousePoint = lastMousePosition_;
  event.wParam = found->localId;
  event.lParam = lParam;
  // The control may start or stop timers while it handles the tick; the record is not used after this.
  found->sender->DispatchEvent(event);
  return true;
}

}  // namespace Vellum
