#include "net/download/Wakeup.h"

namespace nbt {

void Wakeup::Notify() {
  {
    std::lock_guard guard(lock_);
    notified_ = true;
  }
  condition_.notify_all();
}

bool Wakeup::WaitUntil(Clock::time_point deadline) {
  std::unique_lock guard(lock_);
  const bool woken = condition_.wait_until(guard, deadline, [this] { return notified_; });
  notified_ = false;
  return woken;
}

}  // namespace nbt
