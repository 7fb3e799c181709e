#include "base/DeferredTaskQueue.h"

#include <utility>

namespace {

// The queue whose drain is running on this thread, if any.
thread_local const DeferredTaskQueue* drainingQueue = nullptr;

}  // namespace

DeferredTaskQueue& DeferredTaskQueue::Instance() {
  // Never destroyed: a detached worker may still post while the process exits, and a late post
  // must find a live queue (released, so the task is dropped) rather than a destroyed one.
  static DeferredTaskQueue* const queue = new DeferredTaskQueue();
  return *queue;
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
  // Restores the outer value, so that a task draining another queue keeps this drain marked.
  struct DrainScope {
    explicit DrainScope(const DeferredTaskQueue* queue) : outer(std::exchange(drainingQueue, queue)) {}
    ~DrainScope() { drainingQueue = outer; }
    const DeferredTaskQueue* outer;
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
