#pragma once

#include <cstdint>
#include <string>

namespace release_service {

// What a "Range" header asks of a file of a known size.
struct ByteRange {
  enum class Kind {
    Whole,          // no header, or several ranges (answered with the whole file)
    Part,           // one satisfiable range: first..last, both inside the file
    Unsatisfiable,  // starts at or past the end
  };
  Kind kind = Kind::Whole;
  std::int64_t first = 0;
  std::int64_t last = 0;         // inclusive, already cut to the file's end
  std::int64_t askedFirst = -1;  // the first byte as asked; -1 for a suffix range or none

  std::int64_t Length() const { return last - first + 1; }
};

// Reads "bytes=first-last", "bytes=first-" and "bytes=-count"; a last byte past the end is cut to
// the end. Anything else counts as Whole (the HTTP layer rejects malformed headers before this).
ByteRange ReadByteRange(const std::string& header, std::int64_t size);

}  // namespace release_service
