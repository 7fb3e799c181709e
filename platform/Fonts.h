#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

// A font file registered for this process only, from bytes in memory. Text drawn while the
// object lives can use the font's families; destroying it ends the registration.
class ImportedFont {
 public:
  ImportedFont(const ImportedFont&) = delete;
  ImportedFont& operator=(const ImportedFont&) = delete;
  ~ImportedFont();

  // Family names of the faces the file holds, as the font system knows them.
  const std::vector<std::string>& families() const { return families_; }

 private:
  friend std::unique_ptr<ImportedFont> ImportFontFromMemory(std::span<const std::uint8_t> bytes);
  ImportedFont(int id, std::vector<std::string> families) : id_(id), families_(std::move(families)) {}

  int id_;
  std::vector<std::string> families_;
};

// Registers a font file (TrueType, OpenType or a collection) held in memory. Null when the bytes
// hold no font the font system can read.
std::unique_ptr<ImportedFont> ImportFontFromMemory(std::span<const std::uint8_t> bytes);

// Family names of every font registered by this process, in registration order.
std::vector<std::string> ImportedFontFamilies();

}  // namespace platform
