#include "tools/release-service/StopSignal.h"

namespace release_service {

void StopSignal::Raise() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  raised_.notify_all();
}

bool StopSignal::Raised() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

bool StopSignal::WaitFor(std::chrono::milliseconds duration) const {
  std::unique_lock lock(mutex_);
  return !raised_.wait_for(lock, duration, [this] { return stopped_; });
}

}  // namespace release_service
