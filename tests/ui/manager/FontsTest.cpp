#include <gtest/gtest.h>

#include "tests/ui/ManagerFixture.h"

namespace {

using Vellum::CPaintManagerUI;
using Vellum::FontInfo;

class FontsTest : public test::ManagerTest {};

TEST_F(FontsTest, TheSharedDefaultFontIsTheSystemsControlFont) {
  const FontInfo& font = manager_->DefaultFontInfo();
  ASSERT_NE(font.handle(), nullptr);
  EXPECT_EQ(font.faceName, L"Fixed");
  EXPECT_EQ(font.size, 16);
  EXPECT_FALSE(font.bold);
  EXPECT_EQ(font.metrics().height, 16);
}

TEST_F(FontsTest, AnIdThatWasNeverRegisteredGivesTheDefaultFont) {
  manager_->AddFontById(0, L"微软雅黑", 16, false, false, false, false);
  manager_->AddFontById(1, L"微软雅黑", 14, false, false, false, false);
  // The installer skin's labels ask for font 2.
  EXPECT_EQ(manager_->FontById(2), manager_->DefaultFontInfo().handle());
  EXPECT_EQ(&manager_->FontInfoById(2), &manager_->DefaultFontInfo());
  EXPECT_EQ(&manager_->FontInfoById(-1), &manager_->DefaultFontInfo());
  EXPECT_EQ(manager_->FontInfoById(1).size, 14);
  EXPECT_EQ(manager_->FontInfoById(1).font->spec().faceName, L"微软雅黑");
}

TEST_F(FontsTest, AddFontByIdReplacesAnEarlierFontOfTheId) {
  const Vellum::FontHandle first = manager_->AddFontById(0, L"A", 10, false, false, false, false);
  const Vellum::FontHandle second = manager_->AddFontById(0, L"B", 12, true, true, true, false);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  const FontInfo& info = manager_->FontInfoById(0);
  EXPECT_EQ(info.handle(), second);
  EXPECT_EQ(info.faceName, L"B");
  EXPECT_TRUE(info.bold && info.underline && info.italic);
  EXPECT_EQ(&manager_->FontInfoByHandle(second), &info);
}

TEST_F(FontsTest, WindowFontsGoBeforeSharedOnes) {
  manager_->AddFontById(3, L"Shared", 12, false, false, false, true);
  CPaintManagerUI other(fonts_);
  EXPECT_EQ(other.FontInfoById(3).faceName, L"Shared");
  manager_->AddFontById(3, L"Own", 12, false, false, false, false);
  EXPECT_EQ(manager_->FontInfoById(3).faceName, L"Own");
  EXPECT_EQ(other.FontInfoById(3).faceName, L"Shared");
}

TEST_F(FontsTest, AnEmptyFaceKeepsTheControlFontsFaceAndLongFacesAreCut) {
  EXPECT_EQ(manager_->FontInfoByHandle(manager_->AddFontById(1, L"", 20, false, false, false, false)).faceName,
            L"Fixed");
  const std::wstring longFace(40, L'x');
  manager_->AddFontById(2, longFace, 20, false, false, false, false);
  EXPECT_EQ(fonts_.created().back().faceName, std::wstring(32, L'x'));
}

TEST_F(FontsTest, SizesAreScaled) {
  manager_->SetScalePercent(150);
  manager_->AddFontById(1, L"Fixed", 14, false, false, false, false);
  EXPECT_EQ(fonts_.created().back().pixelSize, 21);
  EXPECT_EQ(manager_->FontInfoById(1).size, 14);
}

TEST_F(FontsTest, AFontThePlatformCannotMakeIsNotRecorded) {
  EXPECT_EQ(manager_->AddFontById(5, L"Fixed", 0, false, false, false, false), nullptr);
  EXPECT_EQ(&manager_->FontInfoById(5), &manager_->DefaultFontInfo());
}

TEST_F(FontsTest, AWindowDefaultFontGoesBeforeTheSharedOne) {
  manager_->SetDefaultFontSpec(L"Window", 13, true, false, false, false);
  EXPECT_EQ(manager_->DefaultFontInfo().faceName, L"Window");
  EXPECT_TRUE(manager_->DefaultFontInfo().bold);
  CPaintManagerUI other(fonts_);
  EXPECT_EQ(other.DefaultFontInfo().faceName, L"Fixed");
  other.SetDefaultFontSpec(L"Everyone", 11, false, false, false, true);
  EXPECT_EQ(other.DefaultFontInfo().faceName, L"Everyone");
  EXPECT_EQ(manager_->DefaultFontInfo().faceName, L"Window");
}

TEST_F(FontsTest, FindOrAddFontReusesAMatchAndNeverTakesAnIdOfTheSkin) {
  manager_->AddFontById(0, L"Fixed", 16, true, false, false, false);
  EXPECT_EQ(&manager_->FindOrAddFont(L"Fixed", 16, true, false, false), &manager_->FontInfoById(0));
  EXPECT_EQ(&manager_->FindOrAddFont(L"Fixed", 16, false, false, false), &manager_->DefaultFontInfo());
  const FontInfo& made = manager_->FindOrAddFont(L"Fixed", 16, false, true, false);
  EXPECT_TRUE(made.underline);
  EXPECT_EQ(&manager_->FindOrAddFont(L"Fixed", 16, false, true, false), &made);
  EXPECT_EQ(manager_->FontInfoById(0).handle(), manager_->FontInfoById(0).handle());
  EXPECT_TRUE(manager_->FontInfoById(0).bold);
  EXPECT_EQ(&manager_->FontInfoById(1), &manager_->DefaultFontInfo());
}

}  // namespace
