#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Vellum {

// A ZIP archive read in place from a memory block, entry by entry and never unpacked to disk.
class SkinZipArchive {
 public:
  // The block must stay valid and unchanged while the archive is open. Null when the block holds
  // no readable archive. The password (narrow, in the locale's encoding) opens encrypted entries.
  static std::unique_ptr<SkinZipArchive> OpenMemory(std::span<const std::uint8_t> data, std::string password);
  // Reads the archive file into memory first; null when it cannot be read or holds no archive.
  static std::unique_ptr<SkinZipArchive> OpenFile(const std::wstring& path, std::string password);

  SkinZipArchive(const SkinZipArchive&) = delete;
  SkinZipArchive& operator=(const SkinZipArchive&) = delete;
  ~SkinZipArchive();

  struct Entry {
    std::uint64_t directoryOffset = 0;
    std::uint64_t number = 0;
    std::uint64_t uncompressedSize = 0;
  };
  // The entry whose name equals name, ignoring ASCII letter case; names are compared as UTF-8.
  std::optional<Entry> Locate(std::wstring_view name);

  enum class ExtractResult {
    Complete,    // the whole entry is in the buffer and its checksum is right
    BufferFull,  // the buffer is full and the entry holds more data
    Failed,
  };
  ExtractResult Extract(const Entry& entry, std::span<std::uint8_t> buffer);

  struct MemoryBlock {
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0;
  };

 private:
  SkinZipArchive() = default;
  bool Open(std::span<const std::uint8_t> data);

  std::vector<std::uint8_t> ownedBytes_;  // the whole archive file when opened from a path
  MemoryBlock block_;
  std::string password_;
  void* handle_ = nullptr;
};

}  // namespace Vellum
