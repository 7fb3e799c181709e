#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Vellum {

enum class SkinReadStatus {
  Ok,
  OpenFailed,     // the file cannot be opened
  Empty,          // the file or entry has no bytes
  TooLarge,       // the file or entry is larger than the caller's limit
  ShortRead,      // fewer bytes arrived than the file's size
  NoArchive,      // no cached archive, and the archive file cannot be opened
  NotFound,       // no archive entry of that name
  ExtractFailed,  // the entry cannot be inflated
};

struct SkinRead {
  SkinReadStatus status = SkinReadStatus::OpenFailed;
  std::vector<std::uint8_t> bytes;
};

// Skin item names are written with backslashes; file paths and archive entries use slashes.
std::wstring WithSlashes(std::wstring_view name);

// The whole file at path, at most limit bytes.
SkinRead ReadSkinFile(const std::wstring& path, std::uint64_t limit);

// The entry of that name from the skin archive: the cached one, or else the archive file named in
// the skin source settings, opened for this read only. At most limit bytes.
SkinRead ReadSkinArchiveEntry(std::wstring_view name, std::uint64_t limit);

// The bytes of one skin item (a picture or a font file): from the skin folder or the skin archive,
// and failing that from the name taken as a plain file path. Empty optional when none has it.
std::optional<std::vector<std::uint8_t>> ReadSkinItem(std::wstring_view name);

}  // namespace Vellum
