#include "ui/resources/SkinFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/Text.h"
#include "tests/support/TempHome.h"
#include "tests/ui/SkinTestSupport.h"
#include "ui/manager/PaintManager.h"

namespace {

// Installed with the project's packages (fonts-wqy-microhei).
constexpr char kFontFile[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
constexpr char kFamily[] = "WenQuanYi Micro Hei";

bool Imported(const std::string& family) {
  const auto families = platform::ImportedFontFamilies();
  return std::find(families.begin(), families.end(), family) != families.end();
}

TEST(SkinFontsTest, FontFilesOfTheSkinRegisterForThisProcessWhileTheHandleLives) {
  test::SkinSourceReset reset;
  const std::string bytes = test::ReadFile(kFontFile);
  ASSERT_FALSE(bytes.empty()) << kFontFile;
  const auto archive = test::MakeZip({{"fonts/yahei.ttc", bytes}});
  Vellum::CPaintManagerUI::OpenSkinArchiveInMemory(archive, L"");

  auto font = Vellum::ImportFontFile(L"fonts\\YaHei.ttc");
  ASSERT_NE(font, nullptr);
  EXPECT_NE(std::find(font->families().begin(), font->families().end(), kFamily), font->families().end());
  EXPECT_TRUE(Imported(kFamily));

  auto second = Vellum::ImportFontFile(platform::PathFromNative(kFontFile));
  ASSERT_NE(second, nullptr) << "a plain path works too";
  font.reset();
  EXPECT_TRUE(Imported(kFamily)) << "the other registration stays";
  second.reset();
  EXPECT_FALSE(Imported(kFamily));
  Vellum::CPaintManagerUI::CloseSkinArchive();
}

TEST(SkinFontsTest, ItemsThatAreNoFontRegisterNothing) {
  test::SkinSourceReset reset;
  const auto archive = test::MakeZip({{"fonts/broken.ttf", "this is not a font"}});
  Vellum::CPaintManagerUI::OpenSkinArchiveInMemory(archive, L"");
  EXPECT_EQ(Vellum::ImportFontFile(L"fonts\\broken.ttf"), nullptr);
  EXPECT_EQ(Vellum::ImportFontFile(L"fonts\\missing.ttf"), nullptr);
  EXPECT_TRUE(platform::ImportedFontFamilies().empty());
  Vellum::CPaintManagerUI::CloseSkinArchive();
}

}  // namespace
