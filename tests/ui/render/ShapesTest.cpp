#include <gtest/gtest.h>

#include "platform/fake/RecordingCanvas.h"
#include "tests/support/Pictures.h"
#include "ui/render/SkinClip.h"
#include "ui/render/SkinRenderer.h"

namespace {

using platform::fake::RecordingCanvas;
using Vellum::CSkinRenderer;
using Vellum::Rect;

TEST(ShapesTest, AColourWithoutAlphaFillsNothing) {
  RecordingCanvas canvas;
  CSkinRenderer::FillColor(canvas, {0, 0, 10, 10}, 0x00FFFFFF);
  CSkinRenderer::FillColor(canvas, {0, 0, 10, 10}, 0);
  EXPECT_TRUE(canvas.calls().empty());
  CSkinRenderer::FillColor(canvas, {0, 0, 10, 10}, 0x80102030);
  const auto fills = canvas.CallsOf<RecordingCanvas::FillCall>();
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].color, 0x80102030u);
}

TEST(ShapesTest, AGradientBlendsWithTheAverageAlphaOfItsColours) {
  RecordingCanvas canvas;
  CSkinRenderer::FillGradient(canvas, {0, 0, 10, 20}, 0xFF112233, 0x80445566, true, 16);
  CSkinRenderer::FillGradient(canvas, {0, 0, 10, 20}, 0xFF112233, 0xFF445566, false, 8);
  CSkinRenderer::FillGradient(canvas, {0, 0, 10, 20}, 0x00112233, 0x01445566, true, 8);
  const auto gradients = canvas.CallsOf<RecordingCanvas::GradientCall>();
  ASSERT_EQ(gradients.size(), 2u);
  EXPECT_EQ(gradients[0].alpha, (0xFF + 0x80) / 2);
  EXPECT_EQ(gradients[0].from, 0xFF112233u);
  EXPECT_EQ(gradients[0].to, 0xFF445566u);
  EXPECT_EQ(gradients[0].direction, platform::GradientDirection::Vertical);
  EXPECT_EQ(gradients[1].alpha, 0xFF);
  EXPECT_EQ(gradients[1].direction, platform::GradientDirection::Horizontal);
}

TEST(ShapesTest, LinesAndOutlines) {
  RecordingCanvas canvas;
  CSkinRenderer::DrawLine(canvas, {5, 10, 5, 40}, 2, 0x00FF0000, 1);
  CSkinRenderer::DrawRect(canvas, {0, 0, 20, 10}, 1, 0x80FFFFFF, 2);
  CSkinRenderer::DrawRoundRect(canvas, {0, 0, 20, 10}, 2, 9, 3, 0xFF00FF00, 0);
  const auto lines = canvas.CallsOf<RecordingCanvas::LineCall>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].from, (Vellum::Point{5, 10}));
  EXPECT_EQ(lines[0].to, (Vellum::Point{5, 40}));
  EXPECT_EQ(lines[0].color, 0xFFFF0000u);  // lines are drawn opaque
  EXPECT_EQ(lines[0].style, platform::PenStyle::Dash);
  const auto frames = canvas.CallsOf<RecordingCanvas::FrameCall>();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].color, 0x80FFFFFFu);
  const auto rounds = canvas.CallsOf<RecordingCanvas::RoundFrameCall>();
  ASSERT_EQ(rounds.size(), 1u);
  EXPECT_EQ(rounds[0].radius, 4);
  EXPECT_EQ(rounds[0].width, 2);
}

TEST(ShapesTest, AdjustColorShiftsHueAndScalesSaturationAndLightness) {
  EXPECT_EQ(CSkinRenderer::AdjustColor(0x80123456, 180, 100, 100), 0x80123456u);
  // Red turned by 120 degrees is green; alpha stays.
  EXPECT_PRED3(test::Near, test::Unpack(CSkinRenderer::AdjustColor(0x80FF0000, 300, 100, 100)),
               (test::Argb{0x80, 0, 255, 0}), 1);
  EXPECT_PRED3(test::Near, test::Unpack(CSkinRenderer::AdjustColor(0xFFFF0000, 180, 0, 100)),
               (test::Argb{0xFF, 128, 128, 128}), 1);
  EXPECT_EQ(CSkinRenderer::AdjustColor(0xFF336699, 180, 100, 0), 0xFF000000u);
}

TEST(SkinClipTest, NarrowsAndRestoresTheClipItFound) {
  RecordingCanvas canvas({100, 100});
  canvas.IntersectClip({0, 0, 50, 100});
  const platform::ClipRegion before = canvas.Clip();
  {
    Vellum::SkinClip clip(canvas, {20, 20, 80, 80});
    EXPECT_EQ(canvas.Clip().Box(), (Rect{20, 20, 50, 80}));
    clip.UseOuter();
    EXPECT_EQ(canvas.Clip(), before);
    clip.UseInner();
    EXPECT_EQ(canvas.Clip().Box(), (Rect{20, 20, 50, 80}));
  }
  EXPECT_EQ(canvas.Clip(), before);
}

TEST(SkinClipTest, ARoundedClipNarrowsToTheRoundedItem) {
  RecordingCanvas canvas({100, 100});
  {
    Vellum::SkinClip clip(canvas, {0, 0, 100, 100}, {10, 10, 60, 60}, 8, 6);
    EXPECT_EQ(canvas.Clip().Box(), (Rect{10, 10, 60, 60}));
    ASSERT_EQ(canvas.Clip().rounded().size(), 1u);
    EXPECT_EQ(canvas.Clip().rounded()[0], (platform::RoundedRect{{10, 10, 60, 60}, 8, 6}));
    clip.End();
    EXPECT_EQ(canvas.Clip().Box(), (Rect{0, 0, 100, 100}));
  }
  EXPECT_TRUE(canvas.Clip().rounded().empty());
}

TEST(SkinClipPixelsTest, AClipHoldsOnTheRealCanvas) {
  platform::Bitmap target = test::SolidBitmap(20, 20, 0xFFFFFFFF);
  auto canvas = platform::CreateBitmapCanvas(target);
  {
    Vellum::SkinClip clip(*canvas, {5, 5, 15, 15});
    CSkinRenderer::FillColor(*canvas, {0, 0, 20, 20}, 0xFFFF0000);
  }
  CSkinRenderer::FillColor(*canvas, {0, 0, 2, 2}, 0xFF0000FF);
  canvas.reset();
  EXPECT_EQ(target.at(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(target.at(5, 5), 0xFFFF0000u);
  EXPECT_EQ(target.at(14, 14), 0xFFFF0000u);
  EXPECT_EQ(target.at(15, 15), 0xFFFFFFFFu);
  EXPECT_EQ(target.at(0, 0), 0xFF0000FFu);
}

}  // namespace
