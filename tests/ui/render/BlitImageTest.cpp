#include <gtest/gtest.h>

#include "platform/fake/RecordingCanvas.h"
#include "tests/support/Pictures.h"
#include "ui/render/NinePart.h"
#include "ui/render/SkinRenderer.h"

namespace {

using platform::BlitMode;
using platform::fake::RecordingCanvas;
using Vellum::BlitPart;
using Vellum::CSkinRenderer;
using Vellum::Rect;

constexpr Rect kEverywhere{-10000, -10000, 10000, 10000};

std::vector<BlitPart> Blits(const RecordingCanvas& canvas) {
  std::vector<BlitPart> parts;
  for (const auto& call : canvas.CallsOf<RecordingCanvas::BlitCall>()) parts.push_back({call.dest, call.source});
  return parts;
}

TEST(BlitImageTest, NinePartsInOrderWithTheirSources) {
  const platform::Bitmap picture(30, 30);
  RecordingCanvas canvas;
  CSkinRenderer::BlitImage(canvas, &picture, {100, 50, 200, 110}, kEverywhere, {0, 0, 30, 30}, {10, 10, 10, 10}, false,
                           255, false, false, false);
  const std::vector<BlitPart> expected = {
      {{110, 60, 190, 100}, {10, 10, 20, 20}},   // middle
      {{100, 50, 110, 60}, {0, 0, 10, 10}},      // left-top
      {{110, 50, 190, 60}, {10, 0, 20, 10}},     // top
      {{190, 50, 200, 60}, {20, 0, 30, 10}},     // right-top
      {{100, 60, 110, 100}, {0, 10, 10, 20}},    // left
      {{190, 60, 200, 100}, {20, 10, 30, 20}},   // right
      {{100, 100, 110, 110}, {0, 20, 10, 30}},   // left-bottom
      {{110, 100, 190, 110}, {10, 20, 20, 30}},  // bottom
      {{190, 100, 200, 110}, {20, 20, 30, 30}},  // right-bottom
  };
  EXPECT_EQ(Blits(canvas), expected);
  for (const auto& call : canvas.CallsOf<RecordingCanvas::BlitCall>()) {
    EXPECT_EQ(call.mode, BlitMode::Copy);
    EXPECT_EQ(call.picture, &picture);
  }
}

TEST(BlitImageTest, OnlyTheMarginsThatAreSetMakeParts) {
  struct Case {
    Rect corner;
    bool hole;
    std::size_t parts;
  };
  const Case cases[] = {
      {{0, 0, 0, 0}, false, 1}, {{0, 5, 0, 0}, false, 2}, {{5, 5, 0, 0}, false, 4},
      {{5, 5, 5, 5}, true, 8},  {{0, 0, 5, 0}, true, 1},  {{0, 0, 0, 0}, true, 0},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    const platform::Bitmap picture(20, 20);
    CSkinRenderer::BlitImage(canvas, &picture, {0, 0, 40, 40}, kEverywhere, {0, 0, 20, 20}, c.corner, true, 255, c.hole,
                             false, false);
    EXPECT_EQ(Blits(canvas).size(), c.parts) << "corner " << c.corner.left << "," << c.corner.top << ","
                                             << c.corner.right << "," << c.corner.bottom << " hole " << c.hole;
  }
}

TEST(BlitImageTest, PartsOutsideThePaintRectangleAreLeftOut) {
  RecordingCanvas canvas;
  const platform::Bitmap picture(30, 30);
  CSkinRenderer::BlitImage(canvas, &picture, {0, 0, 100, 60}, {0, 0, 10, 10}, {0, 0, 30, 30}, {10, 10, 10, 10}, false,
                           255, false, false, false);
  EXPECT_EQ(Blits(canvas), (std::vector<BlitPart>{{{0, 0, 10, 10}, {0, 0, 10, 10}}}));
}

TEST(BlitImageTest, XTilingCoversTheMiddleWithColumnsAndCutsTheLast) {
  const std::vector<BlitPart> parts = Vellum::NineParts({0, 0, 35, 20}, {0, 0, 10, 8}, {}, false, true, false);
  const std::vector<BlitPart> expected = {
      {{0, 0, 10, 20}, {0, 0, 10, 8}},
      {{10, 0, 20, 20}, {0, 0, 10, 8}},
      {{20, 0, 30, 20}, {0, 0, 10, 8}},
      {{30, 0, 35, 20}, {0, 0, 5, 8}},
  };
  EXPECT_EQ(parts, expected);
}

TEST(BlitImageTest, YTilingAndBothAxesCutTheLastRowAndColumn) {
  EXPECT_EQ(Vellum::NineParts({0, 0, 10, 25}, {0, 0, 4, 10}, {}, false, false, true),
            (std::vector<BlitPart>{
                {{0, 0, 10, 10}, {0, 0, 4, 10}}, {{0, 10, 10, 20}, {0, 0, 4, 10}}, {{0, 20, 10, 25}, {0, 0, 4, 5}}}));
  const std::vector<BlitPart> grid = Vellum::NineParts({0, 0, 15, 15}, {0, 0, 10, 10}, {}, false, true, true);
  ASSERT_EQ(grid.size(), 4u);
  EXPECT_EQ(grid[3], (BlitPart{{10, 10, 15, 15}, {0, 0, 5, 5}}));
}

TEST(BlitImageTest, TilingWithAnEmptySourceMiddleDrawsNoMiddleAndEnds) {
  // Corners as wide as the whole source leave a middle of no width.
  const std::vector<BlitPart> parts =
      Vellum::NineParts({0, 0, 100, 100}, {0, 0, 20, 20}, {10, 10, 10, 10}, false, true, true);
  EXPECT_EQ(parts.size(), 8u);
  const std::vector<BlitPart> none =
      Vellum::NineParts({0, 0, 100, 100}, {0, 0, 20, 20}, {10, 0, 10, 0}, false, true, false);
  EXPECT_EQ(none.size(), 2u);
}

TEST(BlitImageTest, OfAHugeTiledMiddleOnlyTheTilesInThePaintRectangleAreDrawn) {
  RecordingCanvas canvas;
  const platform::Bitmap picture(4, 4);
  CSkinRenderer::BlitImage(canvas, &picture, {0, 0, 1 << 24, 1 << 24}, {10, 10, 19, 13}, {0, 0, 4, 4}, {}, false, 255,
                           false, true, true);
  // Columns 8, 12 and 16 of rows 8 and 12.
  const std::vector<BlitPart> expected = {
      {{8, 8, 12, 12}, {0, 0, 4, 4}},  {{12, 8, 16, 12}, {0, 0, 4, 4}},  {{16, 8, 20, 12}, {0, 0, 4, 4}},
      {{8, 12, 12, 16}, {0, 0, 4, 4}}, {{12, 12, 16, 16}, {0, 0, 4, 4}}, {{16, 12, 20, 16}, {0, 0, 4, 4}},
  };
  EXPECT_EQ(Blits(canvas), expected);
}

TEST(BlitImageTest, OnePlainCopyWhenTheSizesMatchAndThereAreNoCorners) {
  RecordingCanvas canvas;
  const platform::Bitmap picture(115, 144);
  CSkinRenderer::BlitImage(canvas, &picture, {555, 329, 670, 365}, kEverywhere, {0, 36, 115, 72}, {}, false, 255, false,
                           false, false);
  const auto blits = canvas.CallsOf<RecordingCanvas::BlitCall>();
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].dest, (Rect{555, 329, 670, 365}));
  EXPECT_EQ(blits[0].source, (Rect{0, 36, 115, 72}));
  EXPECT_EQ(blits[0].mode, BlitMode::Copy);
}

TEST(BlitImageTest, AlphaOrAFadeBlendsEveryPartWithTheFade) {
  for (const auto& [alpha, fade] : {std::pair{true, 255}, std::pair{false, 128}, std::pair{true, 64}}) {
    RecordingCanvas canvas;
    const platform::Bitmap picture(30, 30);
    CSkinRenderer::BlitImage(canvas, &picture, {0, 0, 60, 60}, kEverywhere, {0, 0, 30, 30}, {5, 5, 5, 5}, alpha,
                             static_cast<std::uint8_t>(fade), false, false, false);
    const auto blits = canvas.CallsOf<RecordingCanvas::BlitCall>();
    ASSERT_EQ(blits.size(), 9u);
    for (const auto& blit : blits) {
      EXPECT_EQ(blit.mode, BlitMode::Blend);
      EXPECT_EQ(blit.alpha, fade);
    }
  }
}

TEST(BlitImageTest, NothingWithoutAPicture) {
  RecordingCanvas canvas;
  CSkinRenderer::BlitImage(canvas, nullptr, {0, 0, 10, 10}, kEverywhere, {0, 0, 10, 10}, {}, false, 255, false, false,
                           false);
  EXPECT_TRUE(canvas.calls().empty());
}

TEST(BlitImagePixelsTest, TheCornersOfANinePartPictureAreNotStretched) {
  // Each corner carries a pattern that stretching would smear.
  platform::Bitmap picture = test::SolidBitmap(30, 30, 0xFF808080);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const bool corner = (x < 10 || x >= 20) && (y < 10 || y >= 20);
      if (corner) picture.at(x, y) = ((x + y) % 2) ? 0xFFFF0000 : 0xFF0000FF;
    }
  }
  platform::Bitmap target = test::SolidBitmap(120, 70, 0xFFFFFFFF);
  auto canvas = platform::CreateBitmapCanvas(target);
  CSkinRenderer::BlitImage(*canvas, &picture, {5, 5, 115, 65}, kEverywhere, {0, 0, 30, 30}, {10, 10, 10, 10}, false,
                           255, false, false, false);
  canvas.reset();
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(target.at(5 + x, 5 + y), picture.at(x, y)) << "left-top " << x << "," << y;
      ASSERT_EQ(target.at(105 + x, 5 + y), picture.at(20 + x, y)) << "right-top " << x << "," << y;
      ASSERT_EQ(target.at(5 + x, 55 + y), picture.at(x, 20 + y)) << "left-bottom " << x << "," << y;
      ASSERT_EQ(target.at(105 + x, 55 + y), picture.at(20 + x, 20 + y)) << "right-bottom " << x << "," << y;
    }
  }
  // The stretched middle and edges show only the grey between the corners.
  EXPECT_EQ(target.at(60, 35), 0xFF808080u);
  EXPECT_EQ(target.at(60, 6), 0xFF808080u);
  EXPECT_EQ(target.at(6, 35), 0xFF808080u);
  EXPECT_EQ(target.at(2, 2), 0xFFFFFFFFu);
}

}  // namespace
