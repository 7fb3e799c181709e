#pragma once

namespace platform {

// The component runtime that the window's services expect to be initialised on the UI thread.
// This platform needs no such runtime, so the real one always succeeds; tests substitute one that
// fails to exercise the start-up failure path.
class ComRuntime {
 public:
  virtual ~ComRuntime() = default;
  virtual bool Initialize() = 0;
  virtual void Uninitialize() = 0;
};

ComRuntime& SystemComRuntime();

}  // namespace platform
