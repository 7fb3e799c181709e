#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Module.h"
#include "platform/Text.h"
#include "tests/support/TempHome.h"
#include "tests/ui/SkinTestSupport.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinItem.h"
#include "ui/xml/SkinXml.h"
#include "ui/resources/SkinZipArchive.h"

namespace {

namespace fs = std::filesystem;
using Vellum::CPaintManagerUI;
using Vellum::CSkinXml;
using Vellum::SkinTextEncoding;

constexpr std::size_t kFourMiB = 4 * 1024 * 1024;

std::string AsString(const std::optional<std::vector<std::uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

// Changes the process's current folder for one test.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : saved_(fs::current_path()) { fs::current_path(folder); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;
  ~CurrentFolder() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

class SkinSourceTest : public testing::Test {
 protected:
  void OpenArchive(const std::vector<std::pair<std::string, std::string>>& entries) {
    archive_ = test::MakeZip(entries);
    CPaintManagerUI::OpenSkinArchiveInMemory(archive_, L"");
  }

  std::string ParseError(std::wstring_view name) {
    CSkinXml document;
    if (document.ParseSkinFile(name, SkinTextEncoding::Utf8)) return "parsed";
    EXPECT_FALSE(document.Root().IsValid());
    EXPECT_EQ(document.ErrorLocation(), L"");
    return platform::WideToUtf8(document.ErrorMessage());
  }

  std::vector<std::uint8_t> archive_;  // outlives the archive opened on it: reset_ goes first
  test::TempHome folder_{test::TempHome::Environment::Keep};
  test::SkinSourceReset reset_;
};

TEST_F(SkinSourceTest, SkinFolderAlwaysEndsInASeparator) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"", L""}, {L"/opt/skin", L"/opt/skin/"}, {L"/opt/skin/", L"/opt/skin/"}, {L"skins\\", L"skins\\"}};
  for (const auto& [given, stored] : cases) {
    CPaintManagerUI::SetSkinFolder(given);
    EXPECT_EQ(CPaintManagerUI::SkinFolder(), stored) << platform::WideToUtf8(given);
  }
}

TEST_F(SkinSourceTest, ModuleFolderIsTheProgramsFolder) {
  EXPECT_EQ(CPaintManagerUI::ModuleFolder(), L"");
  const platform::Module program(L"/opt/lumo/bin/lumogc_setup", {}, {});
  CPaintManagerUI::SetModuleInstance(&program);
  EXPECT_EQ(CPaintManagerUI::ModuleInstance(), &program);
  EXPECT_EQ(CPaintManagerUI::ModuleFolder(), L"/opt/lumo/bin/");
}

TEST_F(SkinSourceTest, ResourceModuleFallsBackToTheModuleInstance) {
  const platform::Module program(L"/p/a", {}, {});
  const platform::Module resources(L"/p/b", {}, {});
  EXPECT_EQ(CPaintManagerUI::ResourceModule(), nullptr);
  CPaintManagerUI::SetModuleInstance(&program);
  EXPECT_EQ(CPaintManagerUI::ResourceModule(), &program);
  CPaintManagerUI::SetResourceModule(&resources);
  EXPECT_EQ(CPaintManagerUI::ResourceModule(), &resources);
}

TEST_F(SkinSourceTest, OnlyTheFirstArchiveOpenedFromMemoryCounts) {
  EXPECT_EQ(CPaintManagerUI::SkinArchiveName(), L"");
  EXPECT_FALSE(CPaintManagerUI::IsSkinArchiveCached());
  OpenArchive({{"first.txt", "1"}});
  Vellum::SkinZipArchive* first = CPaintManagerUI::SkinArchive();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(CPaintManagerUI::SkinArchiveName(), L"membuffer");
  EXPECT_TRUE(CPaintManagerUI::IsSkinArchiveCached());

  const auto second = test::MakeZip({{"second.txt", "2"}});
  CPaintManagerUI::OpenSkinArchiveInMemory(second, L"secret");
  EXPECT_EQ(CPaintManagerUI::SkinArchive(), first);
  EXPECT_EQ(CPaintManagerUI::SkinArchivePassword(), L"");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"first.txt")), "1");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"second.txt")), "<none>");
}

TEST_F(SkinSourceTest, ABlockThatIsNoArchiveLeavesNoArchive) {
  archive_ = {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'};
  CPaintManagerUI::OpenSkinArchiveInMemory(archive_, L"");
  EXPECT_EQ(CPaintManagerUI::SkinArchive(), nullptr);
  EXPECT_EQ(CPaintManagerUI::SkinArchiveName(), L"membuffer");
  EXPECT_EQ(ParseError(L"main.xml"), "Error opening zip file");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"main.xml")), "<none>");
}

TEST_F(SkinSourceTest, ArchiveEntriesAreFoundIgnoringCaseAndBackslashes) {
  OpenArchive({{"main.xml", "<Window/>"}, {"picRes/Btn_Blue.png", "blue"}, {"picRes/bg.png", "bg"}});
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"picRes/Btn_Blue.png", "blue"}, {L"picRes\\btn_blue.png", "blue"}, {L"PICRES\\BTN_BLUE.PNG", "blue"},
      {L"picres/BG.png", "bg"},         {L"MAIN.XML", "<Window/>"},        {L"picRes\\missing.png", "<none>"},
      {L"btn_blue.png", "<none>"},
  };
  for (const auto& [name, content] : cases) {
    EXPECT_EQ(AsString(Vellum::ReadSkinItem(name)), content) << platform::WideToUtf8(name);
  }
}

TEST_F(SkinSourceTest, OverlongEntryNamesAreNotFound) {
  const std::string longName(261, 'a');
  OpenArchive({{longName, "x"}, {std::string(255, 'b'), "y"}});
  EXPECT_FALSE(CPaintManagerUI::SkinArchive()->Locate(platform::Utf8ToWideText(longName)));
  EXPECT_TRUE(CPaintManagerUI::SkinArchive()->Locate(std::wstring(255, L'B')));
}

TEST_F(SkinSourceTest, SkinFilesParseFromTheCachedArchive) {
  OpenArchive({{"main.xml", "\xEF\xBB\xBF<Window size=\"690,380\"/>"},
               {"sub/page.xml", "<Page/>"},
               {"empty.xml", ""},
               {"big.xml", std::string(kFourMiB + 1, ' ')},
               {"limit.xml", "<A/>" + std::string(kFourMiB - 4, ' ')}});
  CSkinXml document;
  ASSERT_TRUE(document.ParseSkinFile(L"main.xml", SkinTextEncoding::Utf8));
  EXPECT_EQ(std::wstring(document.Root().Name()), L"Window");
  EXPECT_EQ(ParseError(L"sub\\PAGE.xml"), "parsed");
  EXPECT_EQ(ParseError(L"limit.xml"), "parsed") << "4 MiB is allowed";
  EXPECT_EQ(ParseError(L"big.xml"), "File too large");
  EXPECT_EQ(ParseError(L"empty.xml"), "File is empty");
  EXPECT_EQ(ParseError(L"other.xml"), "Could not find ziped file");
}

TEST_F(SkinSourceTest, ADamagedEntryCannotBeUnzipped) {
  std::string content;
  for (unsigned i = 0, x = 12345; i < 4000; ++i, x = x * 1103515245 + 12345)
    content += static_cast<char>('a' + (x >> 16) % 26);
  archive_ = test::MakeZip({{"main.xml", content}});
  // The entry's data follows its 30-byte local header and its name; damage it in the middle.
  const std::size_t dataStart = 30 + std::string("main.xml").size();
  archive_[dataStart + 3] ^= 0x5A;
  archive_[dataStart + 4] ^= 0xA5;
  CPaintManagerUI::OpenSkinArchiveInMemory(archive_, L"");
  ASSERT_NE(CPaintManagerUI::SkinArchive(), nullptr);
  EXPECT_EQ(ParseError(L"main.xml"), "Could not unzip file");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"main.xml")), "<none>");
}

TEST_F(SkinSourceTest, SkinFilesParseFromTheSkinFolder) {
  const fs::path root = folder_.root();
  test::WriteFile(root / "main.xml", "<Window/>");
  fs::create_directories(root / "pages");
  test::WriteFile(root / "pages" / "one.xml", "<One/>");
  test::WriteFile(root / "empty.xml", "");
  test::WriteFile(root / "big.xml", std::string(kFourMiB + 1, ' '));
  CPaintManagerUI::SetSkinFolder(platform::PathFromNative(root.string()));
  EXPECT_EQ(ParseError(L"main.xml"), "parsed");
  EXPECT_EQ(ParseError(L"pages\\one.xml"), "parsed");
  EXPECT_EQ(ParseError(L"missing.xml"), "Error opening file");
  EXPECT_EQ(ParseError(L"empty.xml"), "File is empty");
  EXPECT_EQ(ParseError(L"big.xml"), "File too large");
}

TEST_F(SkinSourceTest, AnArchiveFileInTheSkinFolderIsOpenedForEachRead) {
  const fs::path root = folder_.root();
  const auto bytes = test::MakeZip({{"main.xml", "<Window/>"}, {"picRes/a.png", "A"}});
  test::WriteFile(root / "skin.zip", std::string(bytes.begin(), bytes.end()));
  CPaintManagerUI::SetSkinFolder(platform::PathFromNative(root.string()));
  CPaintManagerUI::SetSkinArchiveFile(L"skin.zip", L"");
  EXPECT_FALSE(CPaintManagerUI::IsSkinArchiveCached());
  EXPECT_EQ(ParseError(L"main.xml"), "parsed");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"picRes\\A.png")), "A");
  CPaintManagerUI::SetSkinArchiveFile(L"other.zip", L"");
  EXPECT_EQ(ParseError(L"main.xml"), "Error opening zip file");
}

TEST_F(SkinSourceTest, ItemsNotInTheArchiveAreReadAsPlainPaths) {
  OpenArchive({{"main.xml", "<Window/>"}});
  const fs::path root = folder_.root();
  fs::create_directories(root / "picRes");
  test::WriteFile(root / "picRes" / "local.png", "from the current folder");
  test::WriteFile(root / "empty.bin", "");
  const CurrentFolder here(root);
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"picRes\\local.png")), "from the current folder");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(platform::PathFromNative((root / "picRes" / "local.png").string()))),
            "from the current folder");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"empty.bin")), "<none>");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"picRes\\nowhere.png")), "<none>");
}

TEST_F(SkinSourceTest, ItemsNotInTheSkinFolderAreReadAsPlainPaths) {
  const fs::path skin = folder_.root() / "skin";
  const fs::path elsewhere = folder_.root() / "elsewhere";
  fs::create_directories(skin);
  fs::create_directories(elsewhere);
  test::WriteFile(skin / "in-skin.bin", "skin");
  test::WriteFile(elsewhere / "outside.bin", "outside");
  CPaintManagerUI::SetSkinFolder(platform::PathFromNative(skin.string()));
  const CurrentFolder here(elsewhere);
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"in-skin.bin")), "skin");
  EXPECT_EQ(AsString(Vellum::ReadSkinItem(L"outside.bin")), "outside");
}

TEST_F(SkinSourceTest, CloseSkinArchiveForgetsTheArchive) {
  OpenArchive({{"main.xml", "<Window/>"}});
  CPaintManagerUI::CloseSkinArchive();
  EXPECT_EQ(CPaintManagerUI::SkinArchive(), nullptr);
  EXPECT_EQ(CPaintManagerUI::SkinArchiveName(), L"");
  EXPECT_FALSE(CPaintManagerUI::IsSkinArchiveCached());
  EXPECT_EQ(ParseError(L"main.xml"), "Error opening file") << "skins come from the (empty) skin folder again";
}

TEST(SkinZipArchiveTest, ExtractionFillsTheBufferOrReportsMoreData) {
  const auto bytes = test::MakeZip({{"a.txt", "hello world"}});
  auto archive = Vellum::SkinZipArchive::OpenMemory(bytes, "");
  ASSERT_NE(archive, nullptr);
  const auto entry = archive->Locate(L"A.TXT");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->uncompressedSize, 11u);
  std::vector<std::uint8_t> whole(11);
  EXPECT_EQ(archive->Extract(*entry, whole), Vellum::SkinZipArchive::ExtractResult::Complete);
  EXPECT_EQ(std::string(whole.begin(), whole.end()), "hello world");
  std::vector<std::uint8_t> part(5);
  EXPECT_EQ(archive->Extract(*entry, part), Vellum::SkinZipArchive::ExtractResult::BufferFull);
  EXPECT_EQ(std::string(part.begin(), part.end()), "hello");
  EXPECT_EQ(Vellum::SkinZipArchive::OpenMemory({}, ""), nullptr);
}

}  // namespace
