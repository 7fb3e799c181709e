#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace nbt {

// What a piece transfer got back, as far as the range check needs it.
struct RangeAnswer {
  long responseCode = 0;
  std::optional<std::string_view> contentRange;  // the Content-Range header's value, if any
  std::uint64_t bodyBytes = 0;                   // bytes of body the answer carried (or began to)
};

enum class RangeVerdict {
  Accepted,     // exactly the bytes of the piece
  BadStatus,    // neither 200 nor 206
  WrongRange,   // other bytes: a 206 for another range or another file size, or a 200 with the
                // whole of a file of several pieces
  WrongLength,  // the start of the piece only (or a body of another length than announced)
};

// Checks the answer to the range request for piece index of a file of fileSize bytes. A 206 must
// name the piece's bytes in its Content-Range (the total, when given, must be fileSize); one that
// names only the piece's first bytes is short. A 200 holds the whole file and so is right only
// when the file is this one piece.
RangeVerdict CheckRangeAnswer(const RangeAnswer& answer, std::uint32_t index, std::uint32_t fileSize);

struct ContentRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  std::optional<std::uint64_t> total;  // empty for "*"
};

// Reads "bytes first-last/total" (total may be "*"). Empty for anything else, such as
// "bytes */total" or a range whose last byte comes before its first.
std::optional<ContentRange> ParseContentRange(std::string_view text);

}  // namespace nbt
