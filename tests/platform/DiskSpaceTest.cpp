#include "platform/DiskSpace.h"

#include <sys/statvfs.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "platform/Text.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

// Other programs write meanwhile; the figures are compared within this much.
constexpr std::uint64_t kDrift = 256ull << 20;

struct FileSystemFigures {
  std::uint64_t freeBytes = 0;
  std::uint64_t availableBytes = 0;
  unsigned long id = 0;
};

FileSystemFigures FiguresOf(const fs::path& path) {
  struct statvfs info {};
  EXPECT_EQ(::statvfs(path.c_str(), &info), 0) << path;
  return {info.f_bfree * info.f_frsize, info.f_bavail * info.f_frsize, info.f_fsid};
}

bool Near(std::uint64_t a, std::uint64_t b) {
  return (a > b ? a - b : b - a) <= kDrift;
}

std::wstring Wide(const fs::path& path) {
  return platform::PathFromNative(path.string());
}

TEST(DiskSpaceTest, FolderThatDoesNotExistYetIsMeasuredOnItsNearestAncestor) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const auto expected = FiguresOf(home.root());
  const auto measured = platform::TotalFreeBytes(Wide(home.root() / "not" / "there yet" / "lumogame"));
  ASSERT_TRUE(measured);
  EXPECT_TRUE(Near(*measured, expected.freeBytes)) << *measured << " vs " << expected.freeBytes;
  // Where the file system keeps space back from users, the figure is all of the free space.
  if (!Near(expected.freeBytes, expected.availableBytes)) {
    EXPECT_FALSE(Near(*measured, expected.availableBytes));
  }
}

TEST(DiskSpaceTest, AncestorOnAnotherFileSystemIsTheOneMeasured) {
  const fs::path other = "/dev/shm";
  if (!fs::is_directory(other) || FiguresOf(other).id == FiguresOf(fs::temp_directory_path()).id ||
      Near(FiguresOf(other).freeBytes, FiguresOf(fs::temp_directory_path()).freeBytes)) {
    GTEST_SKIP() << "no second file system with another figure here";
  }
  const auto measured = platform::TotalFreeBytes(Wide(other / "lumo-absent" / "lumogame"));
  ASSERT_TRUE(measured);
  EXPECT_TRUE(Near(*measured, FiguresOf(other).freeBytes));
}

TEST(DiskSpaceTest, PathsThatNameNoFileSystem) {
  EXPECT_FALSE(platform::TotalFreeBytes(L""));
  EXPECT_FALSE(platform::TotalFreeBytes(L"lumogame"));
  EXPECT_FALSE(platform::TotalFreeBytes(L"relative/lumogame"));
  EXPECT_TRUE(platform::TotalFreeBytes(L"/"));
  EXPECT_TRUE(platform::TotalFreeBytes(L"/lumogame-absent/lumogame"));
}

TEST(DiskSpaceTest, PathThroughAFileIsMeasuredOnTheFilesSystem) {
  test::TempHome home(test::TempHome::Environment::Keep);
  test::WriteFile(home.root() / "file", "x");
  const auto measured = platform::TotalFreeBytes(Wide(home.root() / "file" / "lumogame"));
  ASSERT_TRUE(measured);
  EXPECT_TRUE(Near(*measured, FiguresOf(home.root()).freeBytes));
}

}  // namespace
