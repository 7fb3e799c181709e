#include "ui/resources/SkinImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/SkinTestSupport.h"
#include "ui/manager/PaintManager.h"

namespace {

using Vellum::DecodeSkinImage;
using Vellum::ImageInfo;

std::span<const std::uint8_t> Span(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::unique_ptr<ImageInfo> DecodePixels(const std::vector<std::uint8_t>& rgba, std::uint32_t mask = 0) {
  const int width = static_cast<int>(rgba.size() / 4);
  return DecodeSkinImage(Span(test::MakePng(width, 1, rgba)), mask);
}

struct PixelCase {
  std::uint8_t r, g, b, a;
  std::uint32_t premultiplied;  // 0xAARRGGBB
  bool hasAlpha;
};

TEST(SkinImageTest, PixelsArePremultipliedWithTruncation) {
  const PixelCase cases[] = {
      {10, 20, 30, 255, 0xFF0A141E, false},   // opaque: blue 30, green 20, red 10
      {200, 100, 50, 128, 0x80643219, true},  // blue 25, green 50, red 100, alpha 128
      {255, 255, 255, 0, 0x00000000, true},  {255, 255, 255, 1, 0x01010101, true}, {1, 2, 254, 254, 0xFE0001FD, true},
  };
  for (const PixelCase& c : cases) {
    const auto image = DecodePixels({c.r, c.g, c.b, c.a});
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bitmap.at(0, 0), c.premultiplied)
        << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a);
    EXPECT_EQ(image->hasAlpha, c.hasAlpha);
  }
}

TEST(SkinImageTest, PicturesAreTopDownInTheDrawingSurfaceLayout) {
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x)
      rgba.insert(rgba.end(), {static_cast<std::uint8_t>(x * 100), static_cast<std::uint8_t>(y * 100), 0, 255});
  }
  const auto image = DecodeSkinImage(Span(test::MakePng(2, 3, rgba)), 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 3);
  EXPECT_EQ(image->bitmap.width(), 2);
  EXPECT_EQ(image->bitmap.height(), 3);
  EXPECT_EQ(image->bitmap.stride(), 8);
  EXPECT_EQ(image->bitmap.at(0, 0), 0xFF000000u);
  EXPECT_EQ(image->bitmap.at(1, 2), 0xFF64C800u);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(image->bitmap.pixels());
  EXPECT_EQ(bytes[5 * 4 + 0], 0) << "blue first in memory";
  EXPECT_EQ(bytes[5 * 4 + 1], 200);
  EXPECT_EQ(bytes[5 * 4 + 2], 100);
  EXPECT_EQ(bytes[5 * 4 + 3], 255);
  EXPECT_FALSE(image->hasAlpha);
}

TEST(SkinImageTest, TheMaskClearsOnlyPixelsOfExactlyThatColour) {
  const std::vector<std::uint8_t> pixels = {255, 0, 255, 255,   // opaque magenta
                                            255, 0, 255, 128,   // half-transparent magenta
                                            254, 0, 255, 255};  // nearly magenta
  const auto masked = DecodePixels(pixels, 0xFFFF00FF);
  ASSERT_NE(masked, nullptr);
  EXPECT_EQ(masked->bitmap.at(0, 0), 0u);
  EXPECT_EQ(masked->bitmap.at(1, 0), 0x80800080u);
  EXPECT_EQ(masked->bitmap.at(2, 0), 0xFFFE00FFu);
  EXPECT_TRUE(masked->hasAlpha);
  EXPECT_EQ(masked->mask, 0xFFFF00FFu);

  const auto opaque = DecodePixels({255, 0, 255, 255, 1, 2, 3, 255}, 0xFFFF00FF);
  EXPECT_TRUE(opaque->hasAlpha) << "a cleared pixel makes the picture transparent";
  const auto unmasked = DecodePixels({255, 0, 255, 255, 1, 2, 3, 255}, 0);
  EXPECT_EQ(unmasked->bitmap.at(0, 0), 0xFFFF00FFu);
  EXPECT_FALSE(unmasked->hasAlpha) << "a mask of 0 changes nothing visible";
}

TEST(SkinImageTest, BytesThatAreNoPictureGiveNone) {
  EXPECT_EQ(DecodeSkinImage({}, 0), nullptr);
  EXPECT_EQ(DecodeSkinImage(Span("definitely not a picture"), 0), nullptr);
  const std::string png = test::MakePng(4, 4, std::vector<std::uint8_t>(64, 200));
  EXPECT_EQ(DecodeSkinImage(Span(png.substr(0, png.size() / 2)), 0), nullptr) << "a truncated picture";
}

TEST(SkinImageTest, HugeDimensionsAreRefusedBeforeDecoding) {
  // A PNG signature and header claiming 100000 x 100000 pixels, and nothing else.
  const std::string header = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\x0dIHDR", 8) +
                             std::string("\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06\0\0\0", 13) + std::string(4, '\0');
  EXPECT_EQ(DecodeSkinImage(Span(header), 0), nullptr);
}

TEST(SkinImageTest, SkinItemsAreLoadedFromTheArchive) {
  test::SkinSourceReset reset;
  const auto archive = test::MakeZip({{"picRes/dot.png", test::MakePng(1, 1, {10, 20, 30, 255})}});
  Vellum::CPaintManagerUI::OpenSkinArchiveInMemory(archive, L"");
  const auto image = Vellum::LoadSkinImage(L"picRes\\DOT.png", 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitmap.at(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(image->resourceType, L"");
  EXPECT_EQ(Vellum::LoadSkinImage(L"picRes\\none.png", 0), nullptr);
  Vellum::CPaintManagerUI::CloseSkinArchive();
}

TEST(SkinImageTest, ModuleResourcesAreLoadedByTypeAndId) {
  test::SkinSourceReset reset;
  const std::string png = test::MakePng(1, 1, {200, 100, 50, 128});
  const std::vector<std::uint8_t> bytes(png.begin(), png.end());
  const platform::Module program(L"/p/program", {{"PNG", 7, bytes}, {"PNG", 8, {}}}, {});
  const auto image = Vellum::LoadSkinImage(7, L"PNG", 0, &program);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitmap.at(0, 0), 0x80643219u);
  EXPECT_EQ(image->resourceType, L"PNG");
  EXPECT_EQ(Vellum::LoadSkinImage(8, L"PNG", 0, &program), nullptr) << "an empty resource";
  EXPECT_EQ(Vellum::LoadSkinImage(9, L"PNG", 0, &program), nullptr) << "a missing resource";
  EXPECT_EQ(Vellum::LoadSkinImage(7, L"PNG", 0, nullptr), nullptr) << "no resource module";
  Vellum::CPaintManagerUI::SetModuleInstance(&program);
  EXPECT_NE(Vellum::LoadSkinImage(7, L"PNG", 0, nullptr), nullptr) << "the resource module by default";
}

}  // namespace
