#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace nbt {

// Wakes one waiting thread early. A Notify made while nobody waits is kept for the next wait,
// so a wake-up is never lost between a check and the wait that follows it.
class Wakeup {
 public:
  using Clock = std::chrono::steady_clock;

  void Notify();
  // Waits until Notify or the deadline; true when woken by Notify. Consumes the notification.
  bool WaitUntil(Clock::time_point deadline);

 private:
  std::mutex lock_;
  std::condition_variable condition_;
  bool notified_ = false;  // guarded by lock_
};

}  // namespace nbt
