#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nbt {

// Room of the record's text fields, terminator included. The downloader refuses longer texts.
inline constexpr std::size_t kMaxUrlBytes = 1024;
inline constexpr std::size_t kMaxFolderChars = 260;
inline constexpr std::size_t kMaxFileNameChars = 512;

// One file to download. The caller fills the url, the target folder (ending in the path
// separator), the file name and, when it knows it, the file size; the downloader fills the rest.
struct loadFileInfo_t {
  std::uint32_t fileSize = 0;  // 0: the downloader learns it with a HEAD request
  std::uint32_t pieceCount = 0;
  std::uint32_t pieceSize = 0;
  std::uint32_t lastPieceSize = 0;           // fileSize modulo the piece size
  std::vector<std::uint8_t> attachedBuffer;  // not used by the installer
  std::string url;
  std::wstring folder;
  std::wstring fileName;

  // Zeroes the counts, releases the attached buffer and empties the texts.
  void Clear();
  // True when url, folder and file name fit their fields.
  bool TextsFit() const;
};

}  // namespace nbt
