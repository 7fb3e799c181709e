#include "net/download/RangeAnswer.h"

#include <charconv>

#include "net/download/PieceLayout.h"

namespace nbt {
namespace {

constexpr long kHttpOk = 200;
constexpr long kHttpPartialContent = 206;

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Reads a decimal number that fills the whole text.
std::optional<std::uint64_t> WholeNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<ContentRange> ParseContentRange(std::string_view text) {
  text = TrimSpaces(text);
  constexpr std::string_view kUnit = "bytes ";
  if (!text.starts_with(kUnit)) return std::nullopt;
  text = TrimSpaces(text.substr(kUnit.size()));
  const auto dash = text.find('-');
  const auto slash = text.find('/');
  if (dash == std::string_view::npos || slash == std::string_view::npos || dash > slash) return std::nullopt;
  const auto first = WholeNumber(text.substr(0, dash));
  const auto last = WholeNumber(text.substr(dash + 1, slash - dash - 1));
  if (!first || !last || *last < *first) return std::nullopt;
  ContentRange range{*first, *last, std::nullopt};
  const std::string_view total = text.substr(slash + 1);
  if (total == "*") return range;
  range.total = WholeNumber(total);
  if (!range.total || *range.total <= *last) return std::nullopt;
  return range;
}

RangeVerdict CheckRangeAnswer(const RangeAnswer& answer, std::uint32_t index, std::uint32_t fileSize) {
  const std::uint32_t expected = PieceLength(index, fileSize);
  if (answer.responseCode == kHttpOk) {
    if (index != 0 || fileSize > kPieceSize) return RangeVerdict::WrongRange;
    return answer.bodyBytes == expected ? RangeVerdict::Accepted : RangeVerdict::WrongLength;
  }
  if (answer.responseCode != kHttpPartialContent) return RangeVerdict::BadStatus;
  if (!answer.contentRange) return RangeVerdict::WrongRange;
  const auto range = ParseContentRange(*answer.contentRange);
  if (!range || expected == 0) return RangeVerdict::WrongRange;
  const std::uint64_t first = PieceOffset(index);
  const std::uint64_t last = first + expected - 1;
  if (range->first != first || range->last > last) return RangeVerdict::WrongRange;
  if (range->total && *range->total != fileSize) return RangeVerdict::WrongRange;
  // A server may send less than the range asked for; the rest of the piece comes on a retry.
  if (range->last < last) return RangeVerdict::WrongLength;
  return answer.bodyBytes == expected ? RangeVerdict::Accepted : RangeVerdict::WrongLength;
}

}  // namespace nbt
