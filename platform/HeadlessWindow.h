#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "platform/NativeWindow.h"

namespace platform {

// A window without a screen: a real message queue with real timers, for running the framework
// where there is no display (its tests, and tools). Posted messages go first, in posting order;
// timer ticks come when no posted message waits, as with desktop timers.
class HeadlessWindow final : public NativeWindow {
 public:
  using Procedure = std::function<void(const WindowMessage&)>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // The clock decides when timers are due; by default the steady clock. A test may give a clock of
  // its own and drive the window with PumpPending.
  explicit HeadlessWindow(Procedure procedure, Clock clock = std::chrono::steady_clock::now);

  bool IsAlive() const override;
  bool PostMessage(const WindowMessage& message) override;
  bool SetTimer(unsigned id, unsigned intervalMs) override;
  bool KillTimer(unsigned id) override;

  // Ends the window: timers stop and posted messages are dropped.
  void Destroy();

  // Delivers what waits without waiting for more: every posted message (those the deliveries post
  // included) and one tick of each due timer. Returns how many it delivered.
  int PumpPending();
  // Runs the window's loop until done() holds (checked after each delivery) or the limit passes on
  // the steady clock; returns done(). Meant for the default clock.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

 private:
  struct Timer {
    std::chrono::milliseconds interval{0};
    std::chrono::steady_clock::time_point due;
  };

  // Takes the next deliverable message under the lock, passing over the timers in skip; false when
  // nothing is due.
  bool TakeNext(WindowMessage& message, const std::set<unsigned>& skip);

  Procedure procedure_;
  Clock clock_;
  mutable std::mutex lock_;
  std::condition_variable wake_;
  bool alive_ = true;                 // guarded by lock_
  std::deque<WindowMessage> posted_;  // guarded by lock_
  std::map<unsigned, Timer> timers_;  // guarded by lock_
};

}  // namespace platform
