#include <gtest/gtest.h>

#include "platform/fake/RecordingCanvas.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempHome.h"
#include "tests/ui/ManagerFixture.h"
#include "ui/render/SkinRenderer.h"

namespace {

using platform::BlitMode;
using platform::fake::RecordingCanvas;
using Vellum::CSkinRenderer;
using Vellum::Rect;

// Pictures are PNG files in a temporary folder, named by their full path.
class DrawImageTest : public test::ManagerTest {
 protected:
  std::wstring Picture(const char* name, int width, int height, std::uint32_t pixel) {
    const auto path = home_.root() / name;
    EXPECT_TRUE(test::WritePng(test::SolidBitmap(width, height, pixel), path));
    return path.wstring();
  }
  std::vector<RecordingCanvas::BlitCall> Blits() const { return canvas_.CallsOf<RecordingCanvas::BlitCall>(); }

  test::TempHome home_{test::TempHome::Environment::Keep};
  RecordingCanvas canvas_;
};

TEST_F(DrawImageTest, TheHotImageOfTheInstallButtonIsOnePlainCopyOfItsCutOut) {
  const std::wstring file = Picture("btn_blue.png", 115, 144, 0xFF2080FF);
  const Rect item{555, 329, 670, 365};
  EXPECT_TRUE(CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item,
                                           L"file='" + file + L"' dest='0,0,115,36' source='0,36,115,72'", L"",
                                           nullptr));
  const auto blits = Blits();
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].source, (Rect{0, 36, 115, 72}));
  EXPECT_EQ(blits[0].dest, item);
  EXPECT_EQ(blits[0].mode, BlitMode::Copy);
}

TEST_F(DrawImageTest, ADestIsRelativeToTheControlAndCutAtItsRightAndBottomEdges) {
  const std::wstring file = Picture("box.png", 16, 16, 0xFF000000);
  struct Case {
    const wchar_t* dest;
    Rect item;
    Rect expected;
  };
  const Case cases[] = {
      {L"0,0,16,16", {10, 341, 30, 357}, {10, 341, 26, 357}},  // the check box: the control's left 16 by 16
      {L"0,0,50,50", {100, 100, 120, 116}, {100, 100, 120, 116}},
      {L"4,2,12,30", {0, 0, 20, 16}, {4, 2, 12, 16}},
  };
  for (const Case& c : cases) {
    canvas_.Clear();
    EXPECT_TRUE(CSkinRenderer::DrawImageText(canvas_, manager_.get(), c.item, c.item,
                                             L"file='" + file + L"' dest='" + c.dest + L"'", L"", nullptr));
    const auto blits = Blits();
    ASSERT_FALSE(blits.empty()) << testing::PrintToString(std::wstring(c.dest));
    EXPECT_EQ(blits[0].dest, c.expected) << testing::PrintToString(std::wstring(c.dest));
  }
}

TEST_F(DrawImageTest, ASizedPictureIsPlacedByItsAlignWordsAndPadding) {
  const std::wstring file = Picture("icon.png", 10, 10, 0xFF000000);
  const Rect item{100, 100, 200, 150};
  struct Case {
    const wchar_t* align;
    const wchar_t* padding;
    Rect expected;
  };
  const Case cases[] = {
      {L"left", L"0,0,0,0", {100, 100, 116, 150}},         {L"center", L"0,0,0,0", {142, 100, 158, 150}},
      {L"right,bottom", L"0,0,0,0", {184, 134, 200, 150}}, {L"top", L"0,0,0,0", {100, 100, 200, 116}},
      {L"left,vcenter", L"0,0,0,0", {100, 117, 116, 133}}, {L"left,top", L"3,4,1,2", {103, 104, 115, 114}},
      {L"right", L"0,0,-10,0", {184, 100, 200, 150}},  // cut at the control's right edge
  };
  for (const Case& c : cases) {
    canvas_.Clear();
    CSkinRenderer::DrawImageText(
        canvas_, manager_.get(), item, item,
        L"file='" + file + L"' size='16,16' align='" + c.align + L"' padding='" + c.padding + L"'", L"", nullptr);
    const auto blits = Blits();
    ASSERT_EQ(blits.size(), 1u) << testing::PrintToString(std::wstring(c.align));
    EXPECT_EQ(blits[0].dest, c.expected) << testing::PrintToString(std::wstring(c.align));
  }
}

TEST_F(DrawImageTest, AFadeOf128OnAPictureWithoutAlphaBlendsWithConstantAlpha128) {
  const std::wstring file = Picture("opaque.png", 20, 20, 0xFF336699);
  const Rect item{0, 0, 20, 20};
  EXPECT_TRUE(CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, L"file='" + file + L"' fade='128'", L"",
                                           nullptr));
  const auto blits = Blits();
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].mode, BlitMode::Blend);
  EXPECT_EQ(blits[0].alpha, 128);
}

TEST_F(DrawImageTest, APictureWithAlphaOrALayeredWindowBlends) {
  const std::wstring translucent = Picture("translucent.png", 20, 20, 0x80202020);
  const std::wstring opaque = Picture("solid.png", 20, 20, 0xFF202020);
  const Rect item{0, 0, 20, 20};
  CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, translucent, L"", nullptr);
  EXPECT_EQ(Blits().back().mode, BlitMode::Blend);
  manager_->SetLayered(true);
  CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, opaque, L"", nullptr);
  EXPECT_EQ(Blits().back().mode, BlitMode::Blend);
}

TEST_F(DrawImageTest, ASourceIsCutAtThePicturesEdgesAndAZeroSourceIsTheWholePicture) {
  const std::wstring file = Picture("strip.png", 30, 60, 0xFF000000);
  const Rect item{0, 0, 30, 60};
  CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, file, L"", nullptr);
  EXPECT_EQ(Blits().back().source, (Rect{0, 0, 30, 60}));
  CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, L"file='" + file + L"' source='15,45,40,80'", L"",
                               nullptr);
  EXPECT_EQ(Blits().back().source, (Rect{15, 45, 30, 60}));
}

TEST_F(DrawImageTest, ADestinationOutsideThePaintRectangleDrawsNothingButSucceeds) {
  const std::wstring file = Picture("bg.png", 10, 10, 0xFF000000);
  EXPECT_TRUE(
      CSkinRenderer::DrawImageText(canvas_, manager_.get(), {0, 0, 10, 10}, {50, 50, 60, 60}, file, L"", nullptr));
  EXPECT_TRUE(Blits().empty());
}

TEST_F(DrawImageTest, AMissingPictureOrManagerReportsFalse) {
  const Rect item{0, 0, 10, 10};
  EXPECT_FALSE(
      CSkinRenderer::DrawImageText(canvas_, manager_.get(), item, item, L"file='picRes\\none.png'", L"", nullptr));
  EXPECT_FALSE(CSkinRenderer::DrawImageText(canvas_, nullptr, item, item, L"x.png", L"", nullptr));
  EXPECT_FALSE(CSkinRenderer::DrawImageSpec(canvas_, manager_.get(), item, item, nullptr, nullptr));
  EXPECT_FALSE(CSkinRenderer::DrawImageFile(canvas_, manager_.get(), item, item, L"", L"", item, {}, {}, 0, 255, false,
                                            false, false, nullptr));
  EXPECT_TRUE(Blits().empty());
}

TEST_F(DrawImageTest, InlineImagesOfMarkupTextSitInTheLine) {
  const std::wstring file = Picture("icons.png", 32, 10, 0xFF000000);
  Rect rect{0, 0, 400, 100};
  int links = 0;
  CSkinRenderer::DrawMarkupText(canvas_, manager_.get(), rect, L"a{i " + file + L" 2 1}b", 0xFFFFFFFF, nullptr, nullptr,
                                links, -1, 0);
  const auto blits = Blits();
  ASSERT_EQ(blits.size(), 1u);
  // The second of two 16-pixel cells, in the middle of the 16-pixel line.
  EXPECT_EQ(blits[0].source, (Rect{16, 0, 32, 10}));
  EXPECT_EQ(blits[0].dest, (Rect{8, 3, 24, 13}));
  const auto texts = canvas_.CallsOf<RecordingCanvas::TextCall>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].topLeft, (Vellum::Point{24, 0}));
}

TEST_F(DrawImageTest, AnInlineImageThatDoesNotFitGoesToTheNextLine) {
  const std::wstring file = Picture("wide.png", 40, 20, 0xFF000000);
  Rect rect{0, 0, 60, 100};
  int links = 0;
  CSkinRenderer::DrawMarkupText(canvas_, manager_.get(), rect, L"abc{i file='" + file + L"'}d", 0xFFFFFFFF, nullptr,
                                nullptr, links, -1, 0);
  const auto blits = Blits();
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].dest, (Rect{0, 16, 40, 36}));
  // CalcRect counts the picture's line.
  Rect measured{0, 0, 60, 100};
  CSkinRenderer::DrawMarkupText(canvas_, manager_.get(), measured, L"abc{i file='" + file + L"'}d", 0xFFFFFFFF, nullptr,
                                nullptr, links, -1, Vellum::DT_CALCRECT);
  EXPECT_EQ(measured, (Rect{0, 0, 48, 36}));
}

}  // namespace
