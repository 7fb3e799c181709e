#include "ui/resources/SkinZipArchive.h"

#include <minizip/unzip.h>

#include <algorithm>

#include "platform/Files.h"
#include "platform/Text.h"

namespace Vellum {
namespace {

// An entry name must fit a path buffer; a longer one is not looked up.
constexpr std::size_t kMaxEntryNameBytes = 260;
// An archive file is read whole before it is opened; a skin archive is far smaller than this.
constexpr std::uint64_t kMaxArchiveFileSize = 256ull * 1024 * 1024;
// Case-insensitive comparison for unzLocateFile.
constexpr int kIgnoreCase = 2;

struct MemoryStream {
  const SkinZipArchive::MemoryBlock* block;
  std::uint64_t position = 0;
};

voidpf ZCALLBACK OpenStream(voidpf opaque, const void* /*filename*/, int /*mode*/) {
  return new MemoryStream{static_cast<const SkinZipArchive::MemoryBlock*>(opaque)};
}

uLong ZCALLBACK ReadStream(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size) {
  auto* s = static_cast<MemoryStream*>(stream);
  const std::uint64_t left = s->block->size - s->position;
  const std::uint64_t count = size < left ? size : left;
  std::copy_n(s->block->data + s->position, count, static_cast<std::uint8_t*>(buffer));
  s->position += count;
  return static_cast<uLong>(count);
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T ZCALLBACK TellStream(voidpf /*opaque*/, voidpf stream) {
  return static_cast<MemoryStream*>(stream)->position;
}

long ZCALLBACK SeekStream(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin) {
  auto* s = static_cast<MemoryStream*>(stream);
  std::uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = s->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = s->block->size;
      break;
    default:
      return -1;
  }
  if (offset > s->block->size || base > s->block->size - offset) return -1;
  s->position = base + offset;
  return 0;
}

int ZCALLBACK CloseStream(voidpf /*opaque*/, voidpf stream) {
  delete static_cast<MemoryStream*>(stream);
  return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf) {
  return 0;
}

}  // namespace

std::unique_ptr<SkinZipArchive> SkinZipArchive::OpenMemory(std::span<const std::uint8_t> data, std::string password) {
  std::unique_ptr<SkinZipArchive> archive(new SkinZipArchive);
  archive->password_ = std::move(password);
  if (!archive->Open(data)) return nullptr;
  return archive;
}

std::unique_ptr<SkinZipArchive> SkinZipArchive::OpenFile(const std::wstring& path, std::string password) {
  const auto size = platform::FileSize(path);
  if (!size || *size == 0 || *size > kMaxArchiveFileSize) return nullptr;
  auto bytes = platform::ReadWholeFile(path);
  if (!bytes) return nullptr;
  std::unique_ptr<SkinZipArchive> archive(new SkinZipArchive);
  archive->password_ = std::move(password);
  archive->ownedBytes_.assign(bytes->begin(), bytes->end());
  if (!archive->Open(archive->ownedBytes_)) return nullptr;
  return archive;
}

bool SkinZipArchive::Open(std::span<const std::uint8_t> data) {
  if (data.empty()) return false;
  block_ = {data.data(), data.size()};
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenStream;
  functions.zread_file = ReadStream;
  functions.zwrite_file = WriteStream;
  functions.ztell64_file = TellStream;
  functions.zseek64_file = SeekStream;
  functions.zclose_file = CloseStream;
  functions.zerror_file = StreamError;
  functions.opaque = &block_;
  handle_ = unzOpen2_64(&block_, &functions);
  return handle_ != nullptr;
}

SkinZipArchive::~SkinZipArchive() {
  if (handle_ != nullptr) unzClose(handle_);
}

std::optional<SkinZipArchive::Entry> SkinZipArchive::Locate(std::wstring_view name) {
  const std::string utf8 = platform::WideToUtf8(name);
  if (utf8.empty() || utf8.size() > kMaxEntryNameBytes) return std::nullopt;
  if (unzLocateFile(handle_, utf8.c_str(), kIgnoreCase) != UNZ_OK) return std::nullopt;
  unz64_file_pos position{};
  unz_file_info64 info{};
  if (unzGetFilePos64(handle_, &position) != UNZ_OK) return std::nullopt;
  if (unzGetCurrentFileInfo64(handle_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return std::nullopt;
  return Entry{position.pos_in_zip_directory, position.num_of_file, info.uncompressed_size};
}

SkinZipArchive::ExtractResult SkinZipArchive::Extract(const Entry& entry, std::span<std::uint8_t> buffer) {
  const unz64_file_pos position{entry.directoryOffset, entry.number};
  if (unzGoToFilePos64(handle_, &position) != UNZ_OK) return ExtractResult::Failed;
  if (unzOpenCurrentFilePassword(handle_, password_.empty() ? nullptr : password_.c_str()) != UNZ_OK) {
    return ExtractResult::Failed;
  }
  std::size_t filled = 0;
  bool failed = false;
  while (filled < buffer.size()) {
    const std::size_t chunk = std::min<std::size_t>(buffer.size() - filled, 1u << 30);
    const int n = unzReadCurrentFile(handle_, buffer.data() + filled, static_cast<unsigned>(chunk));
    if (n < 0) failed = true;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  if (failed || filled < buffer.size()) {
    // An entry shorter than its recorded size would leave the buffer partly unwritten.
    unzCloseCurrentFile(handle_);
    return ExtractResult::Failed;
  }
  if (unzeof(handle_) != 1) {
    unzCloseCurrentFile(handle_);
    return ExtractResult::BufferFull;
  }
  // The checksum is checked on close, once the whole entry has been read.
  return unzCloseCurrentFile(handle_) == UNZ_OK ? ExtractResult::Complete : ExtractResult::Failed;
}

}  // namespace Vellum
