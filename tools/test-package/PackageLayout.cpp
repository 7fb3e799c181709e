#include "tools/test-package/PackageLayout.h"

namespace test_package {
namespace {

constexpr std::uint64_t kSeed = 0x6C756D6F67616D65;  // "lumogame"

// xorshift64*: any fixed sequence does, as long as it does not compress.
void AppendPadding(std::string& bytes, std::uint64_t count) {
  std::uint64_t state = kSeed;
  for (std::uint64_t i = 0; i < count; ++i) {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    bytes += static_cast<char>((state * 0x2545F4914F6CDD1DULL) >> 56);
  }
}

void AppendTrailer(std::string& bytes, std::uint64_t programLength) {
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((programLength >> (8 * i)) & 0xFF);
  bytes += kTrailerMagic;
}

std::optional<std::string> Assemble(std::string_view start, std::uint64_t programLength, std::uint64_t size) {
  if (start.size() + kTrailerSize > size) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  bytes += start;
  AppendPadding(bytes, size - start.size() - kTrailerSize);
  AppendTrailer(bytes, programLength);
  return bytes;
}

}  // namespace

std::optional<std::string> MakePackage(std::string_view program, std::uint64_t size) {
  return Assemble(program, program.size(), size);
}

std::optional<std::string> MakeUnrunnablePackage(std::uint64_t size) {
  return Assemble(kUnrunnableHeader, 0, size);
}

std::optional<std::uint64_t> ProgramLengthFromTrailer(std::string_view trailer, std::uint64_t fileSize) {
  if (trailer.size() != kTrailerSize || trailer.substr(8) != kTrailerMagic) return std::nullopt;
  std::uint64_t length = 0;
  for (int i = 7; i >= 0; --i)
    length = (length << 8) | static_cast<unsigned char>(trailer[static_cast<std::size_t>(i)]);
  if (fileSize < kTrailerSize || length > fileSize - kTrailerSize) return std::nullopt;
  return length;
}

}  // namespace test_package
