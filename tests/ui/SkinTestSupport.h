#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test {

// A ZIP archive in memory holding the given (name, content) entries, deflated.
std::vector<std::uint8_t> MakeZip(const std::vector<std::pair<std::string, std::string>>& entries);

// A PNG of width x height straight RGBA pixels, four bytes each, row by row.
std::string MakePng(int width, int height, const std::vector<std::uint8_t>& rgba);

// Puts the process-wide skin source settings back to their start-up state, now and at the end of
// the scope, so that one test's skin folder or archive never leaks into the next.
class SkinSourceReset {
 public:
  SkinSourceReset() { Reset(); }
  SkinSourceReset(const SkinSourceReset&) = delete;
  SkinSourceReset& operator=(const SkinSourceReset&) = delete;
  ~SkinSourceReset() { Reset(); }

 private:
  static void Reset();
};

}  // namespace test
