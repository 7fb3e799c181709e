#include "platform/ExecutePermission.h"

#include <sys/stat.h>

#include "platform/Text.h"

namespace platform {

bool AllowOwnerToExecute(const std::wstring& path) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if ((info.st_mode & S_IXUSR) != 0) return true;
  return ::chmod(native.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

}  // namespace platform
