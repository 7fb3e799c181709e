#include "ui/resources/SkinItem.h"

#include <algorithm>

#include "platform/Files.h"
#include "platform/Text.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinZipArchive.h"

namespace Vellum {
namespace {

// Pictures and fonts of a skin are far smaller; a larger size means a damaged archive or file,
// and is refused instead of allocating it.
constexpr std::uint64_t kMaxSkinItemSize = 64ull * 1024 * 1024;

SkinRead Status(SkinReadStatus status) {
  return SkinRead{status, {}};
}

SkinRead ExtractEntry(SkinZipArchive& archive, std::wstring_view name, std::uint64_t limit) {
  const auto entry = archive.Locate(WithSlashes(name));
  if (!entry) return Status(SkinReadStatus::NotFound);
  if (entry->uncompressedSize == 0) return Status(SkinReadStatus::Empty);
  if (entry->uncompressedSize > limit) return Status(SkinReadStatus::TooLarge);
  SkinRead read{SkinReadStatus::Ok, std::vector<std::uint8_t>(entry->uncompressedSize)};
  if (archive.Extract(*entry, read.bytes) == SkinZipArchive::ExtractResult::Failed) {
    return Status(SkinReadStatus::ExtractFailed);
  }
  return read;
}

}  // namespace

std::wstring WithSlashes(std::wstring_view name) {
  std::wstring result(name);
  std::replace(result.begin(), result.end(), L'\\', L'/');
  return result;
}

SkinRead ReadSkinFile(const std::wstring& path, std::uint64_t limit) {
  auto file = platform::File::Open(path, platform::FileOpen::ReadOnly);
  if (!file) return Status(SkinReadStatus::OpenFailed);
  const auto size = file->Size();
  if (!size) return Status(SkinReadStatus::OpenFailed);
  if (*size == 0) return Status(SkinReadStatus::Empty);
  if (*size > limit) return Status(SkinReadStatus::TooLarge);
  const auto bytes = file->ReadAt(0, static_cast<std::size_t>(*size));
  if (!bytes || bytes->size() < *size) return Status(SkinReadStatus::ShortRead);
  return SkinRead{SkinReadStatus::Ok, std::vector<std::uint8_t>(bytes->begin(), bytes->end())};
}

SkinRead ReadSkinArchiveEntry(std::wstring_view name, std::uint64_t limit) {
  if (CPaintManagerUI::IsSkinArchiveCached()) {
    SkinZipArchive* archive = CPaintManagerUI::SkinArchive();
    if (archive == nullptr) return Status(SkinReadStatus::NoArchive);
    return ExtractEntry(*archive, name, limit);
  }
  const auto archive =
      SkinZipArchive::OpenFile(CPaintManagerUI::SkinFolder() + WithSlashes(CPaintManagerUI::SkinArchiveName()),
                               platform::WideToMultiByte(CPaintManagerUI::SkinArchivePassword()));
  if (!archive) return Status(SkinReadStatus::NoArchive);
  return ExtractEntry(*archive, name, limit);
}

std::optional<std::vector<std::uint8_t>> ReadSkinItem(std::wstring_view name) {
  if (name.empty()) return std::nullopt;
  SkinRead read = CPaintManagerUI::SkinArchiveName().empty()
                      ? ReadSkinFile(CPaintManagerUI::SkinFolder() + WithSlashes(name), kMaxSkinItemSize)
                      : ReadSkinArchiveEntry(name, kMaxSkinItemSize);
  if (read.status == SkinReadStatus::Ok) return std::move(read.bytes);
  read = ReadSkinFile(WithSlashes(name), kMaxSkinItemSize);
  if (read.status == SkinReadStatus::Ok) return std::move(read.bytes);
  return std::nullopt;
}

}  // namespace Vellum
