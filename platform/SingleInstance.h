#pragma once

#include <string>

namespace platform {

// A process-wide token, held from acquisition until the process ends. The kernel frees it
// when the process ends in any way, a crash included.
class SingleInstanceLock {
 public:
  enum class State {
    Acquired,       // this process holds the token
    HeldElsewhere,  // another process holds it
    Unavailable,    // the token could not be made; the caller goes on without it
  };

  explicit SingleInstanceLock(const std::wstring& name);
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
  ~SingleInstanceLock();

  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::Unavailable;
};

}  // namespace platform
