#include "tests/net/DrainUntil.h"

#include <chrono>
#include <thread>

#include "base/DeferredTaskQueue.h"

namespace test {

bool DrainUntil(const std::function<bool()>& done) { return DrainUntil(DeferredTaskQueue::Instance(), done); }

bool DrainUntil(DeferredTaskQueue& queue, const std::function<bool()>& done) {
  constexpr auto kHangGuard = std::chrono::seconds(60);
  const auto giveUp = std::chrono::steady_clock::now() + kHangGuard;
  for (;;) {
    queue.RunPending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace test
