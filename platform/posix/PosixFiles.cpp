#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <cstring>

#include "platform/Text.h"

namespace platform {
namespace {

std::optional<struct stat> StatOf(const std::wstring& path) {
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) return std::nullopt;
  return info;
}

}  // namespace

bool PathExists(const std::wstring& path) {
  return !path.empty() && ::access(NativePath(path).c_str(), F_OK) == 0;
}

bool IsDirectory(const std::wstring& path) {
  const auto info = StatOf(path);
  return info && S_ISDIR(info->st_mode);
}

bool MakeDirectory(const std::wstring& path) {
  return !path.empty() && ::mkdir(NativePath(path).c_str(), 0755) == 0;
}

bool DeleteFileAt(const std::wstring& path) {
  return ::unlink(NativePath(path).c_str()) == 0;
}

bool ClearFileAttributes(const std::wstring& path) {
  const auto info = StatOf(path);
  if (!info) return false;
  return ::chmod(NativePath(path).c_str(), (info->st_mode & 07777) | S_IRUSR | S_IWUSR) == 0;
}

std::optional<std::uint64_t> FileSize(const std::wstring& path) {
  const auto info = StatOf(path);
  if (!info || !S_ISREG(info->st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info->st_size);
}

std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::wstring& folder) {
  const std::string native = NativePath(folder);
  DIR* dir = ::opendir(native.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), name, &info, 0) != 0) continue;
    entries.push_back({PathFromNative(name), S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_mtim.tv_sec)});
  }
  ::closedir(dir);
  return entries;
}

std::optional<File> File::Open(const std::wstring& path, FileOpen mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileOpen::OpenAlways:
      flags |= O_RDWR | O_CREAT;
      break;
    case FileOpen::CreateAlways:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
    case FileOpen::ReadOnly:
      flags |= O_RDONLY;
      break;
  }
  const int fd = ::open(NativePath(path).c_str(), flags, 0644);
  if (fd < 0) return std::nullopt;
  return File(fd);
}

File::File(File&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

File::~File() {
  Close();
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool File::Append(std::string_view data) {
  if (::lseek(fd_, 0, SEEK_END) < 0) return false;
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool File::WriteAt(std::uint64_t offset, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

std::optional<std::string> File::ReadAt(std::uint64_t offset, std::size_t size) {
  std::string data(size, '\0');
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, data.data() + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  data.resize(done);
  return data;
}

std::optional<std::uint64_t> File::Size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

bool File::Reserve(std::uint64_t size) {
  if (size == 0) return true;
  return ::posix_fallocate(fd_, 0, static_cast<off_t>(size)) == 0;
}

bool File::Truncate(std::uint64_t size) {
  return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool File::Sync() {
  return ::fdatasync(fd_) == 0;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  auto file = File::Open(path, FileOpen::ReadOnly);
  if (!file) return std::nullopt;
  const auto size = file->Size();
  if (!size) return std::nullopt;
  return file->ReadAt(0, static_cast<size_t>(*size));
}

}  // namespace platform
