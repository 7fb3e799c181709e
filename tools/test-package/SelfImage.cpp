#include "tools/test-package/SelfImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "tools/test-package/PackageLayout.h"

namespace test_package {
namespace {

bool ReadAt(int fd, std::string& out, std::size_t size, off_t offset) {
  out.assign(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const ssize_t count = ::pread(fd, out.data() + done, size - done, offset + static_cast<off_t>(done));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    done += static_cast<std::size_t>(count);
  }
  return true;
}

}  // namespace

std::string SelfPath() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::optional<std::string> SelfProgramBytes() {
  const int fd = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> bytes;
  if (::fstat(fd, &info) == 0) {
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);
    std::uint64_t programLength = fileSize;
    std::string trailer;
    if (fileSize >= kTrailerSize && ReadAt(fd, trailer, kTrailerSize, static_cast<off_t>(fileSize - kTrailerSize))) {
      programLength = ProgramLengthFromTrailer(trailer, fileSize).value_or(fileSize);
    }
    std::string program;
    if (ReadAt(fd, program, static_cast<std::size_t>(programLength), 0)) bytes = std::move(program);
  }
  ::close(fd);
  return bytes;
}

}  // namespace test_package
