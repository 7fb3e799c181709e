#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Fonts.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempHome.h"
#include "tests/ui/ManagerFixture.h"
#include "ui/resources/SkinImage.h"

namespace {

using Vellum::CPaintManagerUI;
using Vellum::ImageInfo;

// Pictures are PNG files in a temporary folder, named by their full path.
class ImageCacheTest : public test::ManagerTest {
 protected:
  std::wstring PicturePath(const char* name) const { return (home_.root() / name).wstring(); }
  std::wstring Picture(const char* name, std::uint32_t pixel) {
    EXPECT_TRUE(test::WritePng(test::SolidBitmap(4, 3, pixel), home_.root() / name));
    return PicturePath(name);
  }

  test::TempHome home_{test::TempHome::Environment::Keep};
};

TEST_F(ImageCacheTest, APictureIsLoadedOnFirstUseAndThenReused) {
  const std::wstring name = Picture("a.png", 0xFF102030);
  EXPECT_EQ(manager_->FindImage(name), nullptr);
  const ImageInfo* first = manager_->FindOrLoadImage(name, L"", 0, true, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->width, 4);
  EXPECT_EQ(first->height, 3);
  EXPECT_TRUE(first->useHsl);
  EXPECT_FALSE(first->hasAlpha);
  EXPECT_EQ(manager_->FindImage(name), first);
  // A later request with another mask shares the entry loaded first.
  EXPECT_EQ(manager_->FindOrLoadImage(name, L"", 0xFF102030, false, nullptr), first);
  EXPECT_EQ(first->mask, 0u);
}

TEST_F(ImageCacheTest, ANameThatCannotBeLoadedGivesNothingAndIsNotRemembered) {
  const std::wstring name = PicturePath("later.png");
  EXPECT_EQ(manager_->FindOrLoadImage(name, L"", 0, false, nullptr), nullptr);
  EXPECT_EQ(manager_->FindImage(name), nullptr);
  Picture("later.png", 0xFF000000);
  EXPECT_NE(manager_->FindOrLoadImage(name, L"", 0, false, nullptr), nullptr);
  EXPECT_EQ(manager_->RegisterImage(L"", L"", 0, false, false, nullptr), nullptr);
}

TEST_F(ImageCacheTest, AWindowPictureGoesBeforeTheSharedOneAndRegisteringReplaces) {
  const std::wstring name = Picture("b.png", 0xFF0000FF);
  const ImageInfo* shared = manager_->RegisterImage(name, L"", 0, false, true, nullptr);
  ASSERT_NE(shared, nullptr);
  CPaintManagerUI other(fonts_);
  EXPECT_EQ(other.FindImage(name), shared);
  const ImageInfo* own = manager_->RegisterImage(name, L"", 0xFF0000FF, false, false, nullptr);
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, shared);
  EXPECT_EQ(manager_->FindImage(name), own);
  EXPECT_EQ(own->mask, 0xFF0000FFu);
  EXPECT_TRUE(own->hasAlpha);  // the mask cleared every pixel
  EXPECT_EQ(other.FindImage(name), shared);
  manager_->ClearImages(false);
  EXPECT_EQ(manager_->FindImage(name), shared);
  manager_->ClearImages(true);
  EXPECT_EQ(manager_->FindImage(name), nullptr);
}

TEST_F(ImageCacheTest, WithAResourceTypeTheNameIsAResourceIdOfTheModule) {
  Picture("c.png", 0xFF000000);
  const std::string bytes = test::ReadFile(home_.root() / "c.png");
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  const platform::Module module(L"/opt/program", {{"PNG", 107, data}}, {});
  EXPECT_EQ(manager_->RegisterImage(PicturePath("c.png"), L"PNG", 0, false, false, &module), nullptr);
  EXPECT_EQ(manager_->RegisterImage(L"108", L"PNG", 0, false, false, &module), nullptr);
  const ImageInfo* image = manager_->RegisterImage(L"107", L"PNG", 0, false, false, &module);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->resourceType, L"PNG");
  EXPECT_EQ(manager_->FindImage(L"107"), image);
}

TEST_F(ImageCacheTest, BindingAWindowForgetsItsPictures) {
  const std::wstring name = Picture("d.png", 0xFF000000);
  ASSERT_NE(manager_->FindOrLoadImage(name, L"", 0, false, nullptr), nullptr);
  manager_->BindWindow(nullptr, L"");
  EXPECT_EQ(manager_->FindImage(name), nullptr);
}

TEST_F(ImageCacheTest, ImportedFontFilesStayRegisteredWhileTheManagerLives) {
  constexpr char kFamily[] = "WenQuanYi Micro Hei";
  const auto registered = [&] {
    const auto families = platform::ImportedFontFamilies();
    return std::find(families.begin(), families.end(), kFamily) != families.end();
  };
  EXPECT_FALSE(manager_->ImportFontFile(PicturePath("missing.ttf")));
  ASSERT_TRUE(manager_->ImportFontFile(L"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"));
  EXPECT_TRUE(registered());
  manager_.reset();
  EXPECT_FALSE(registered());
}

}  // namespace
