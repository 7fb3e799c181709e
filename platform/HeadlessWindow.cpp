#include "platform/HeadlessWindow.h"

#include <algorithm>

namespace platform {

HeadlessWindow::HeadlessWindow(Procedure procedure, Clock clock)
    : procedure_(std::move(procedure)), clock_(std::move(clock)) {}

bool HeadlessWindow::IsAlive() const {
  std::lock_guard guard(lock_);
  return alive_;
}

bool HeadlessWindow::PostMessage(const WindowMessage& message) {
  {
    std::lock_guard guard(lock_);
    if (!alive_) return false;
    posted_.push_back(message);
  }
  wake_.notify_all();
  return true;
}

bool HeadlessWindow::SetTimer(unsigned id, unsigned intervalMs) {
  {
    std::lock_guard guard(lock_);
    if (!alive_) return false;
    const std::chrono::milliseconds interval(std::max(intervalMs, 1u));
    timers_[id] = Timer{interval, clock_() + interval};
  }
  wake_.notify_all();
  return true;
}

bool HeadlessWindow::KillTimer(unsigned id) {
  std::lock_guard guard(lock_);
  return timers_.erase(id) > 0;
}

void HeadlessWindow::Destroy() {
  std::lock_guard guard(lock_);
  alive_ = false;
  posted_.clear();
  timers_.clear();
}

bool HeadlessWindow::TakeNext(WindowMessage& message, const std::set<unsigned>& skip) {
  if (!posted_.empty()) {
    message = posted_.front();
    posted_.pop_front();
    return true;
  }
  const auto now = clock_();
  auto earliest = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due > now || skip.contains(it->first)) continue;
    if (earliest == timers_.end() || it->second.due < earliest->second.due) earliest = it;
  }
  if (earliest == timers_.end()) return false;
  earliest->second.due = now + earliest->second.interval;
  message = {kTimerMessage, earliest->first, 0};
  return true;
}

int HeadlessWindow::PumpPending() {
  int delivered = 0;
  // Each timer ticks at most once per call, so a clock that stands still cannot keep the call going.
  std::set<unsigned> ticked;
  for (;;) {
    WindowMessage message;
    {
      std::lock_guard guard(lock_);
      if (!TakeNext(message, ticked)) break;
    }
    if (message.message == kTimerMessage) ticked.insert(static_cast<unsigned>(message.wParam));
    procedure_(message);
    ++delivered;
  }
  return delivered;
}

bool HeadlessWindow::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    WindowMessage message;
    {
      std::unique_lock guard(lock_);
      while (!TakeNext(message, {})) {
        auto wakeAt = deadline;
        for (const auto& [id, timer] : timers_) wakeAt = std::min(wakeAt, timer.due);
        if (std::chrono::steady_clock::now() >= deadline) return done();
        wake_.wait_until(guard, wakeAt);
      }
    }
    procedure_(message);
  }
  return true;
}

}  // namespace platform
