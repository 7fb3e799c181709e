#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The bytes of a test installer package:
//
//   [program][padding][trailer]
//
// program: the test-package executable (empty for a package that the system cannot run);
// padding: pseudo-random bytes that make the package as large as asked and cannot be compressed
//          away, so a download takes a few pieces and shows its progress;
// trailer: 8 bytes program length (little-endian), then the 8 bytes "LUMOPKG1".
// The system loads the program from its start and never reads the rest; the package copies only
// the program part when it installs the programs.
namespace test_package {

inline constexpr std::string_view kTrailerMagic = "LUMOPKG1";
inline constexpr std::size_t kTrailerSize = 16;

// The package of the given total size; empty when the program and the trailer do not fit.
std::optional<std::string> MakePackage(std::string_view program, std::uint64_t size);

// The start of a package that is no program of any kind the system knows.
inline constexpr std::string_view kUnrunnableHeader = "LUMO TEST PACKAGE: no program\n";
std::optional<std::string> MakeUnrunnablePackage(std::uint64_t size);

// The program length a package's last kTrailerSize bytes give, for a file of fileSize bytes; empty
// when they are no trailer of ours (the file is then a plain program).
std::optional<std::uint64_t> ProgramLengthFromTrailer(std::string_view trailer, std::uint64_t fileSize);

}  // namespace test_package
