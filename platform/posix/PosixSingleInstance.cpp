#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

#include "platform/Text.h"

namespace platform {
namespace {

// The lock file lives in the user's runtime folder, else in /tmp.
std::string LockPath(const std::wstring& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime != nullptr && runtime[0] == '/' ? runtime : "/tmp";
  return folder + "/" + NativePath(name) + ".lock";
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const std::wstring& name) {
  fd_ = ::open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::Acquired;
    return;
  }
  state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
  ::close(fd_);
  fd_ = -1;
}

// The token is kept for the life of the process: closing the descriptor at exit releases it.
SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
