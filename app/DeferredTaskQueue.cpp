#include "app/DeferredTaskQueue.h"

#include <utility>

namespace {

// The queue whose drain is running on this thread, if any.
thread_local const DeferredTaskQueue* drainingQueue = nullptr;

}  // namespace

DeferredTaskQueue& DeferredTaskQueue::Instance() {
  static DeferredTaskQueue queue;
  return queue;
}

void DeferredTaskQueue::Post(Task task) {
  {
    std::lock_guard guard(lock_);
    if (!released_) {
      tasks_.push_back(std::move(task));
      pending_.store(tasks_.size(), std::memory_order_release);
      return;
    }
  }
  // A late task after Release is destroyed here, outside the lock, without running.
}

void DeferredTaskQueue::RunPending() {
  if (pending_.load(std::memory_order_acquire) == 0) return;
  if (drainingQueue == this) return;

  std::vector<Task> backlog;
  {
    std::lock_guard guard(lock_);
    backlog.swap(tasks_);
    pending_.store(0, std::memory_order_release);
  }
  struct DrainScope {
    explicit DrainScope(const DeferredTaskQueue* queue) { drainingQueue = queue; }
    ~DrainScope() { drainingQueue = nullptr; }
  } scope(this);
  for (auto& task : backlog) task();
}

void DeferredTaskQueue::Release() {
  std::vector<Task> discarded;
  {
    std::lock_guard guard(lock_);
    discarded.swap(tasks_);
    released_ = true;
    pending_.store(0, std::memory_order_release);
  }
}
