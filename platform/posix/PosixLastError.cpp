#include "platform/LastError.h"

#include <cerrno>

namespace platform {

int LastErrorCode() {
  return errno;
}

}  // namespace platform
