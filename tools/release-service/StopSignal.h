#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace release_service {

// Raised once when the service stops; every wait of an answer ends early when it is.
class StopSignal {
 public:
  void Raise();
  bool Raised() const;

  // Waits for the duration; false when the signal was raised first (or already).
  bool WaitFor(std::chrono::milliseconds duration) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable raised_;
  bool stopped_ = false;
};

}  // namespace release_service
