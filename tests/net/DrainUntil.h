#pragma once

#include <functional>

class DeferredTaskQueue;

namespace test {

// Drains the process's deferred task queue on this thread until done() holds. Gives up (false)
// only after a long hang guard, so a lost delivery fails the test instead of blocking it.
bool DrainUntil(const std::function<bool()>& done);
// The same for a queue of the caller's.
bool DrainUntil(DeferredTaskQueue& queue, const std::function<bool()>& done);

}  // namespace test
