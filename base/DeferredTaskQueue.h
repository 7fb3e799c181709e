#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "base/TaskPoster.h"

// The process-wide hand-over point from background threads to the UI thread.
//
// Guarantees:
// - Post never runs the task; any thread may call it.
// - RunPending runs the tasks in the order of their Post calls, across all producer threads.
// - A task posted while a drain runs (by the task itself or by another thread) runs in the next drain.
// - The lock is held only to append one task or to take the whole backlog, never while a task runs.
// - RunPending does not start while a drain of the same queue is running on the calling thread:
//   a task that runs a nested loop (a modal box) holds up the tasks behind it until it returns.
// - Release destroys the pending tasks without running them; tasks posted after Release are
//   destroyed at once and never run.
class DeferredTaskQueue final : public TaskPoster {
 public:
  DeferredTaskQueue() = default;
  DeferredTaskQueue(const DeferredTaskQueue&) = delete;
  DeferredTaskQueue& operator=(const DeferredTaskQueue&) = delete;

  // The process's queue. Its creation is safe against concurrent first calls.
  static DeferredTaskQueue& Instance();

  void Post(Task task) override;
  void RunPending();
  void Release();

 private:
  std::mutex lock_;
  std::vector<Task> tasks_;              // guarded by lock_
  bool released_ = false;                // guarded by lock_
  std::atomic<std::size_t> pending_{0};  // tasks_.size(), readable without the lock
};
