#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr wchar_t kPathSeparator = L'/';

bool PathExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// Makes one folder; its parent must exist.
bool MakeDirectory(const std::wstring& path);
bool DeleteFileAt(const std::wstring& path);
// Gives the file the plain attributes of a user file (owner may read and write), so that a
// following delete or overwrite is not refused for a read-only flag.
bool ClearFileAttributes(const std::wstring& path);
std::optional<std::uint64_t> FileSize(const std::wstring& path);

struct DirectoryEntry {
  std::wstring name;
  bool isDirectory = false;
  // Last modification, whole seconds since the epoch.
  std::uint64_t lastWriteSeconds = 0;
};

// The folder's entries in the order the file system lists them, without "." and "..".
// Empty optional when the folder cannot be listed.
std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::wstring& folder);

enum class FileOpen {
  OpenAlways,    // read-write; an existing file is kept, a missing one created
  CreateAlways,  // read-write; an existing file is emptied
  ReadOnly,
};

// An open file. Moves but does not copy; closes itself.
class File {
 public:
  static std::optional<File> Open(const std::wstring& path, FileOpen mode);

  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Writes all of data at the current end of the file.
  bool Append(std::string_view data);
  // Writes all of data at offset, extending the file when needed.
  bool WriteAt(std::uint64_t offset, std::string_view data);
  // Reads up to size bytes from offset; fewer at the end of the file.
  std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t size);
  std::optional<std::uint64_t> Size() const;
  // Reserves size bytes of disk space; the file reads as zeros up to size. Fails on a full disk.
  bool Reserve(std::uint64_t size);
  bool Truncate(std::uint64_t size);
  bool Sync();
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  explicit File(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// Reads a whole file; empty optional when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace platform
