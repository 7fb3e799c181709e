#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A program file and the resources built into it. A resource's bytes live as long as the program
// (they are compiled in), so lookups hand them out in place, without copying.
class Module {
 public:
  struct Resource {
    std::string_view type;  // "ZIPRES", "ICON", ...
    unsigned id = 0;
    std::span<const std::uint8_t> bytes;
  };
  struct StringResource {
    unsigned id = 0;
    std::wstring_view text;
  };

  Module(std::wstring fileName, std::vector<Resource> resources, std::vector<StringResource> strings);

  // Full path of the program file.
  const std::wstring& fileName() const { return fileName_; }
  // Empty optional when no resource has that type and id.
  std::optional<std::span<const std::uint8_t>> FindResource(std::string_view type, unsigned id) const;
  // The string resource, cut to capacity - 1 characters as a caller's fixed buffer of that many
  // characters would hold it; empty when the string is missing.
  std::wstring LoadString(unsigned id, std::size_t capacity) const;

 private:
  std::wstring fileName_;
  std::vector<Resource> resources_;
  std::vector<StringResource> strings_;
};

}  // namespace platform
