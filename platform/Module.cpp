#include "platform/Module.h"

#include <algorithm>

namespace platform {

Module::Module(std::wstring fileName, std::vector<Resource> resources, std::vector<StringResource> strings)
    : fileName_(std::move(fileName)), resources_(std::move(resources)), strings_(std::move(strings)) {}

std::optional<std::span<const std::uint8_t>> Module::FindResource(std::string_view type, unsigned id) const {
  const auto found = std::find_if(resources_.begin(), resources_.end(),
                                  [&](const Resource& r) { return r.id == id && r.type == type; });
  if (found == resources_.end()) return std::nullopt;
  return found->bytes;
}

std::wstring Module::LoadString(unsigned id, std::size_t capacity) const {
  if (capacity == 0) return {};
  const auto found =
      std::find_if(strings_.begin(), strings_.end(), [&](const StringResource& s) { return s.id == id; });
  if (found == strings_.end()) return {};
  return std::wstring(found->text.substr(0, capacity - 1));
}

}  // namespace platform
