#include "tools/release-service/ByteRange.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace release_service {
namespace {

constexpr std::string_view kUnit = "bytes=";

std::optional<std::int64_t> ReadOffset(std::string_view text) {
  std::int64_t value = 0;
  const auto* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end || value < 0) return std::nullopt;
  return value;
}

}  // namespace

ByteRange ReadByteRange(const std::string& header, std::int64_t size) {
  std::string_view spec(header);
  if (!spec.starts_with(kUnit)) return {};
  spec.remove_prefix(kUnit.size());
  if (spec.find(',') != std::string_view::npos) return {};
  const auto dash = spec.find('-');
  if (dash == std::string_view::npos) return {};
  const auto firstText = spec.substr(0, dash);
  const auto lastText = spec.substr(dash + 1);

  if (firstText.empty()) {
    const auto count = ReadOffset(lastText);
    if (!count || *count == 0) return {};
    if (size == 0) return {ByteRange::Kind::Unsatisfiable, 0, 0, -1};
    return {ByteRange::Kind::Part, std::max<std::int64_t>(0, size - *count), size - 1, -1};
  }
  const auto first = ReadOffset(firstText);
  const auto last = lastText.empty() ? std::optional<std::int64_t>(size - 1) : ReadOffset(lastText);
  if (!first || !last || (!lastText.empty() && *last < *first)) return {};
  if (*first >= size) return {ByteRange::Kind::Unsatisfiable, 0, 0, *first};
  return {ByteRange::Kind::Part, *first, std::min(*last, size - 1), *first};
}

}  // namespace release_service
