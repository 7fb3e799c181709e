#include "base/SystemUtilities.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

TEST(CreateDirectoryTreeTest, MakesEveryMissingFolderFromTheOutsideIn) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const fs::path target = home.root() / "a" / "b" / "c";
  EXPECT_TRUE(CreateDirectoryTree(target.wstring()));
  EXPECT_TRUE(fs::is_directory(target));
  // A trailing separator names the same folder.
  EXPECT_TRUE(CreateDirectoryTree((home.root() / "x" / "y").wstring() + L"/"));
  EXPECT_TRUE(fs::is_directory(home.root() / "x" / "y"));
}

TEST(CreateDirectoryTreeTest, ExistingPathSucceedsWithoutTouchingIt) {
  test::TempHome home(test::TempHome::Environment::Keep);
  // Inside a folder nobody may write to, a walk that made anything would fail.
  fs::permissions(home.root(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_TRUE(CreateDirectoryTree(home.root().wstring()));
}

TEST(CreateDirectoryTreeTest, FailsAtTheFirstFolderItCannotMakeAndKeepsTheEarlierOnes) {
  test::TempHome home(test::TempHome::Environment::Keep);
  test::WriteFile(home.root() / "a" / "file", "in the way");
  EXPECT_FALSE(CreateDirectoryTree((home.root() / "a" / "file" / "b").wstring()));
  EXPECT_TRUE(fs::is_directory(home.root() / "a"));
  EXPECT_FALSE(CreateDirectoryTree(L""));
}

TEST(CreateDirectoryTreeTest, RefusesAPathLongerThanTheFixedBufferHolds) {
  test::TempHome home(test::TempHome::Environment::Keep);
  std::wstring path = home.root().wstring() + L"/";
  path.append(kMaxPathChars - 1 - path.size(), L'n');  // with the walk's separator: 261 characters
  EXPECT_FALSE(CreateDirectoryTree(path));
  EXPECT_FALSE(fs::exists(path));
  path.pop_back();
  EXPECT_TRUE(CreateDirectoryTree(path));
}

TEST(CreateDirectoryTreeTest, RelativePathsAreMadeBelowTheWorkingFolder) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const fs::path saved = fs::current_path();
  fs::current_path(home.root());
  EXPECT_TRUE(CreateDirectoryTree(L"rel/one"));
  fs::current_path(saved);
  EXPECT_TRUE(fs::is_directory(home.root() / "rel" / "one"));
}

platform::NetworkAdapter Adapter(bool loopback, std::vector<std::uint8_t> address) {
  return {"eth", loopback, std::move(address)};
}

TEST(MakeClientIdTest, TakesTheFirstRealAdapter) {
  struct Case {
    const char* what;
    std::vector<platform::NetworkAdapter> adapters;
    bool made;
    const char* id;
  };
  const std::vector<std::uint8_t> real = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  const Case cases[] = {
      {"one adapter", {Adapter(false, real)}, true, "001a2b3c4d5e"},
      {"skips loopback, 8-byte and all-zero addresses",
       {Adapter(true, {1, 2, 3, 4, 5, 6}), Adapter(false, {1, 2, 3, 4, 5, 6, 7, 8}), Adapter(false, {0, 0, 0, 0, 0, 0}),
        Adapter(false, real), Adapter(false, {0xff, 0xff, 0xff, 0xff, 0xff, 0xff})},
       true,
       "001a2b3c4d5e"},
      {"nothing qualifies", {Adapter(true, real), Adapter(false, {})}, false, "unchanged"},
      {"no adapters", {}, false, "unchanged"},
  };
  for (const auto& c : cases) {
    std::string id = "unchanged";
    EXPECT_EQ(MakeClientId(id, c.adapters), c.made) << c.what;
    EXPECT_EQ(id, c.id) << c.what;
  }
}

TEST(MakeClientIdTest, SystemListGivesTwelveLowerCaseDigitsOrNothing) {
  std::string id;
  if (MakeClientId(id)) {
    EXPECT_EQ(id.size(), 12u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
  } else {
    EXPECT_TRUE(id.empty());
  }
}

TEST(TextConversionTest, EmptyTextsStayEmpty) {
  EXPECT_EQ(WideToAnsi(L""), "");
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextConversionTest, Utf8ToWideDecodesAndReplacesInvalidBytes) {
  EXPECT_EQ(Utf8ToWide("lumogame_\xe5\xae\x89\xe8\xa3\x85.exe"), L"lumogame_安装.exe");
  EXPECT_EQ(Utf8ToWide("a\xff"
                       "b\xe5\xae"),
            L"a\uFFFDb\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToWide("\xf0\x9f\x8e\xae"), L"\U0001F3AE");
}

}  // namespace
