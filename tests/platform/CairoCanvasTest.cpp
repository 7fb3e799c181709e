#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "tests/support/Pictures.h"

namespace {

using platform::Bitmap;
using platform::BlitMode;
using platform::Rect;
using test::Argb;
using test::Unpack;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;

TEST(CairoCanvasTest, FillsOpaqueColoursExactlyAndOnlyInsideTheRectangle) {
  Bitmap target = test::SolidBitmap(10, 10, kWhite);
  platform::CreateBitmapCanvas(target)->FillRect({2, 3, 5, 7}, kRed);
  EXPECT_EQ(target.at(2, 3), kRed);
  EXPECT_EQ(target.at(4, 6), kRed);
  EXPECT_EQ(target.at(5, 6), kWhite);
  EXPECT_EQ(target.at(4, 7), kWhite);
  EXPECT_EQ(target.at(1, 3), kWhite);
}

TEST(CairoCanvasTest, TranslucentFillBlendsWithWhatIsThere) {
  Bitmap target = test::SolidBitmap(4, 4, kWhite);
  platform::CreateBitmapCanvas(target)->FillRect({0, 0, 4, 4}, 0x80FF0000);
  // Half red over white: red stays full, green and blue drop to about half.
  EXPECT_PRED3(test::Near, Unpack(target.at(1, 1)), (Argb{255, 255, 127, 127}), 1);
}

TEST(CairoCanvasTest, BlendsAPremultipliedPictureByItsOwnAlpha) {
  Bitmap target = test::SolidBitmap(4, 4, kWhite);
  // Premultiplied blue at half opacity: 0x80 alpha, 0x80 blue.
  const Bitmap picture = test::SolidBitmap(4, 4, 0x80000080);
  platform::CreateBitmapCanvas(target)->Blit(picture, {0, 0, 4, 4}, {0, 0, 4, 4}, BlitMode::Blend, 255);
  EXPECT_PRED3(test::Near, Unpack(target.at(2, 2)), (Argb{255, 127, 127, 255}), 1);
}

TEST(CairoCanvasTest, AFadeOf128BlendsAnOpaquePictureAtHalfStrength) {
  Bitmap target = test::SolidBitmap(4, 4, kWhite);
  const Bitmap picture = test::SolidBitmap(4, 4, kBlue);
  platform::CreateBitmapCanvas(target)->Blit(picture, {0, 0, 4, 4}, {0, 0, 4, 4}, BlitMode::Blend, 128);
  EXPECT_PRED3(test::Near, Unpack(target.at(0, 0)), (Argb{255, 127, 127, 255}), 1);
}

TEST(CairoCanvasTest, CopyReplacesThePixelsAlphaIncluded) {
  Bitmap target = test::SolidBitmap(4, 4, kRed);
  const Bitmap picture = test::SolidBitmap(2, 2, 0x00000000);
  platform::CreateBitmapCanvas(target)->Blit(picture, {0, 0, 2, 2}, {1, 1, 3, 3}, BlitMode::Copy, 255);
  EXPECT_EQ(target.at(1, 1), 0u);
  EXPECT_EQ(target.at(2, 2), 0u);
  EXPECT_EQ(target.at(3, 3), kRed);
}

TEST(CairoCanvasTest, CopiesAPartOfTheSameSizePixelForPixel) {
  Bitmap picture(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) picture.at(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 30 << 16 | y * 30);
  }
  Bitmap target = test::SolidBitmap(10, 10, kWhite);
  platform::CreateBitmapCanvas(target)->Blit(picture, {2, 3, 6, 7}, {5, 1, 9, 5}, BlitMode::Copy, 255);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(target.at(5 + x, 1 + y), picture.at(2 + x, 3 + y)) << x << "," << y;
  }
}

TEST(CairoCanvasTest, StretchingAPartNeverPullsInItsNeighbours) {
  // A two-state strip: the upper state red, the lower green. Only the red state is drawn, enlarged.
  Bitmap strip = test::SolidBitmap(4, 8, kGreen);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) strip.at(x, y) = kRed;
  }
  Bitmap target = test::SolidBitmap(12, 12, kWhite);
  platform::CreateBitmapCanvas(target)->Blit(strip, {0, 0, 4, 4}, {0, 0, 12, 12}, BlitMode::Copy, 255);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) ASSERT_EQ(target.at(x, y), kRed) << x << "," << y;
  }
}

TEST(CairoCanvasTest, AClipHoldsAndCanBeNarrowedAndRestored) {
  Bitmap target = test::SolidBitmap(10, 10, kWhite);
  auto canvas = platform::CreateBitmapCanvas(target);
  const platform::ClipRegion whole = canvas->Clip();
  EXPECT_EQ(whole.Box(), (Rect{0, 0, 10, 10}));
  canvas->IntersectClip({2, 2, 8, 8});
  canvas->IntersectClip({5, 0, 10, 10});
  EXPECT_EQ(canvas->Clip().Box(), (Rect{5, 2, 8, 8}));
  canvas->FillRect({0, 0, 10, 10}, kRed);
  EXPECT_EQ(target.at(5, 2), kRed);
  EXPECT_EQ(target.at(7, 7), kRed);
  EXPECT_EQ(target.at(4, 5), kWhite);
  EXPECT_EQ(target.at(8, 5), kWhite);
  EXPECT_EQ(target.at(6, 1), kWhite);
  canvas->SetClip(whole);
  canvas->FillRect({0, 0, 10, 10}, kBlue);
  EXPECT_EQ(target.at(0, 0), kBlue);
}

TEST(CairoCanvasTest, ARoundedClipKeepsTheCornersOut) {
  Bitmap target = test::SolidBitmap(20, 20, kWhite);
  auto canvas = platform::CreateBitmapCanvas(target);
  canvas->SetClip(canvas->Clip().Intersect(platform::RoundedRect{{0, 0, 20, 20}, 12, 12}));
  canvas->FillRect({0, 0, 20, 20}, kRed);
  EXPECT_EQ(target.at(0, 0), kWhite);
  EXPECT_EQ(target.at(19, 19), kWhite);
  EXPECT_EQ(target.at(10, 10), kRed);
  EXPECT_EQ(target.at(10, 0), kRed);
  EXPECT_EQ(target.at(0, 10), kRed);
}

TEST(CairoCanvasTest, AGradientShowsItsColoursExactlyAtBothEnds) {
  struct Case {
    platform::GradientDirection direction;
    int lastX;
    int lastY;
  };
  for (const Case& c :
       {Case{platform::GradientDirection::Horizontal, 99, 0}, Case{platform::GradientDirection::Vertical, 0, 99}}) {
    Bitmap target = test::SolidBitmap(100, 100, kWhite);
    platform::CreateBitmapCanvas(target)->FillGradient({0, 0, 100, 100}, kRed, kBlue, c.direction, 255);
    EXPECT_EQ(target.at(0, 0), kRed);
    EXPECT_EQ(target.at(c.lastX, c.lastY), kBlue);
    EXPECT_PRED3(test::Near, Unpack(target.at(c.lastX / 2, c.lastY / 2)), (Argb{255, 128, 0, 127}), 2);
  }
}

TEST(CairoCanvasTest, ATranslucentGradientIsLaidOverWithItsConstantAlpha) {
  Bitmap target = test::SolidBitmap(10, 10, kWhite);
  platform::CreateBitmapCanvas(target)->FillGradient({0, 0, 10, 10}, kRed, kRed, platform::GradientDirection::Vertical,
                                                     128);
  EXPECT_PRED3(test::Near, Unpack(target.at(5, 5)), (Argb{255, 255, 127, 127}), 1);
}

TEST(CairoCanvasTest, LinesCoverWholePixelsUpToTheirEnd) {
  Bitmap target = test::SolidBitmap(10, 10, kWhite);
  auto canvas = platform::CreateBitmapCanvas(target);
  canvas->DrawLine({1, 4}, {7, 4}, 1, kRed, platform::PenStyle::Solid);
  canvas->DrawLine({8, 0}, {8, 10}, 1, kBlue, platform::PenStyle::Solid);
  for (int x = 1; x < 7; ++x) EXPECT_EQ(target.at(x, 4), kRed) << x;
  EXPECT_EQ(target.at(7, 4), kWhite);
  EXPECT_EQ(target.at(1, 3), kWhite);
  EXPECT_EQ(target.at(1, 5), kWhite);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(target.at(8, y), kBlue) << y;
}

TEST(CairoCanvasTest, DashedAndNullPens) {
  Bitmap target = test::SolidBitmap(40, 3, kWhite);
  auto canvas = platform::CreateBitmapCanvas(target);
  canvas->DrawLine({0, 1}, {40, 1}, 1, kRed, platform::PenStyle::Dot);
  canvas->DrawLine({0, 0}, {40, 0}, 1, kRed, platform::PenStyle::Null);
  EXPECT_EQ(target.at(0, 1), kRed);
  EXPECT_EQ(target.at(4, 1), kWhite);
  EXPECT_EQ(target.at(6, 1), kRed);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(target.at(x, 0), kWhite);
}

TEST(CairoCanvasTest, AFrameLiesInsideItsRectangle) {
  Bitmap target = test::SolidBitmap(12, 12, kWhite);
  platform::CreateBitmapCanvas(target)->DrawFrame({1, 1, 11, 11}, 2, kRed);
  EXPECT_EQ(target.at(0, 0), kWhite);
  EXPECT_EQ(target.at(1, 1), kRed);
  EXPECT_EQ(target.at(2, 6), kRed);
  EXPECT_EQ(target.at(3, 6), kWhite);
  EXPECT_EQ(target.at(10, 10), kRed);
  EXPECT_EQ(target.at(11, 11), kWhite);
}

TEST(CairoCanvasTest, ARoundFrameIsSmoothAtTheCornersAndSolidAlongTheEdges) {
  Bitmap target = test::SolidBitmap(20, 20, 0);
  platform::CreateBitmapCanvas(target)->DrawRoundFrame({0, 0, 20, 20}, 1, 6, kRed);
  EXPECT_EQ(Unpack(target.at(0, 0)).a, 0);
  EXPECT_GT(Unpack(target.at(10, 0)).a, 200);
  EXPECT_GT(Unpack(target.at(19, 10)).a, 200);
  EXPECT_EQ(Unpack(target.at(10, 10)).a, 0);
  // Some corner pixel is only partly covered: the arc is anti-aliased.
  bool partial = false;
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const int a = Unpack(target.at(x, y)).a;
      partial = partial || (a > 0 && a < 255);
    }
  }
  EXPECT_TRUE(partial);
}

TEST(CairoCanvasTest, AnEmptyPictureGivesACanvasThatDrawsNothing) {
  Bitmap empty;
  auto canvas = platform::CreateBitmapCanvas(empty);
  canvas->FillRect({0, 0, 10, 10}, kRed);
  EXPECT_TRUE(canvas->Clip().IsEmpty());
}

}  // namespace
