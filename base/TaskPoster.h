#pragma once

#include <functional>

// Where background threads hand work to the UI thread. The installer's poster is the process's
// DeferredTaskQueue; a test may hand a component a queue of its own.
//
// Guarantees every poster gives: Post never runs the task itself, any thread may call it, and tasks
// run in the order of their Post calls.
class TaskPoster {
 public:
  using Task = std::function<void()>;

  virtual ~TaskPoster() = default;
  virtual void Post(Task task) = 0;
};
