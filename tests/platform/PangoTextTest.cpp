#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "platform/Canvas.h"
#include "tests/support/Pictures.h"

namespace {

namespace tf = platform::text_format;
using platform::Bitmap;
using platform::Rect;

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::unique_ptr<platform::Font> MakeFont(const wchar_t* face, int size, bool bold = false) {
  return platform::SystemFonts().CreateFont({face, size, bold, false, false});
}

// The bounding box of the pixels that are not the background; none for a blank picture.
std::optional<Rect> InkBox(const Bitmap& bitmap, std::uint32_t background) {
  std::optional<Rect> box;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (bitmap.at(x, y) == background) continue;
      if (!box) box = Rect{x, y, x + 1, y + 1};
      box = platform::Union(*box, Rect{x, y, x + 1, y + 1});
    }
  }
  return box;
}

int InkCount(const Bitmap& bitmap, std::uint32_t background) {
  return static_cast<int>(std::count_if(bitmap.pixels(), bitmap.pixels() + bitmap.width() * bitmap.height(),
                                        [&](std::uint32_t p) { return p != background; }));
}

TEST(PangoTextTest, TheSkinsFaceNamesAreServedByTheInstalledCjkFace) {
  const auto wenQuanYi = MakeFont(L"WenQuanYi Micro Hei", 14);
  for (const wchar_t* alias : {L"微软雅黑", L"Microsoft YaHei"}) {
    const auto font = MakeFont(alias, 14);
    // Latin letters too: the whole line comes from one face.
    EXPECT_EQ(font->MeasureText(L"我已仔细阅读abcW").cx, wenQuanYi->MeasureText(L"我已仔细阅读abcW").cx) << alias;
    EXPECT_EQ(font->metrics().height, wenQuanYi->metrics().height) << alias;
  }
}

TEST(PangoTextTest, MetricsHoldTogether) {
  const auto font = MakeFont(L"微软雅黑", 16);
  const platform::FontMetrics& m = font->metrics();
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_GE(m.height, 16);
  EXPECT_GE(m.externalLeading, 0);
  EXPECT_GT(m.averageCharWidth, 0);
  for (const wchar_t* c : {L"W", L"m", L"中", L"《", L"@"}) EXPECT_GE(m.maxCharWidth, font->MeasureText(c).cx) << c;
  EXPECT_EQ(font->MeasureText(L"abc").cy, m.height);
  EXPECT_EQ(font->MeasureText(L"").cx, 0);
}

TEST(PangoTextTest, RunsMeasuredOneByOneAddUpToTheWholeLine) {
  const auto font = MakeFont(L"微软雅黑", 12);
  EXPECT_EQ(font->MeasureText(L"我已仔细").cx + font->MeasureText(L"阅读并同意").cx,
            font->MeasureText(L"我已仔细阅读并同意").cx);
}

TEST(PangoTextTest, TextOutDrawsInsideTheCellThatStartsAtTheGivenPoint) {
  const auto font = MakeFont(L"微软雅黑", 16);
  Bitmap target = test::SolidBitmap(60, 40, kBlack);
  platform::CreateBitmapCanvas(target)->TextOut(*font, {10, 8}, L"中Ab", kWhite);
  const std::optional<Rect> ink = InkBox(target, kBlack);
  ASSERT_TRUE(ink);
  const platform::Size cell = font->MeasureText(L"中Ab");
  EXPECT_GE(ink->left, 10);
  EXPECT_GE(ink->top, 8);
  EXPECT_LE(ink->right, 10 + cell.cx + 1);
  EXPECT_LE(ink->bottom, 8 + cell.cy);
}

TEST(PangoTextTest, BoldDrawsHeavierThanRegular) {
  Bitmap regular = test::SolidBitmap(80, 30, kBlack);
  Bitmap bold = test::SolidBitmap(80, 30, kBlack);
  platform::CreateBitmapCanvas(regular)->TextOut(*MakeFont(L"微软雅黑", 16), {0, 0}, L"继续Ok", kWhite);
  platform::CreateBitmapCanvas(bold)->TextOut(*MakeFont(L"微软雅黑", 16, true), {0, 0}, L"继续Ok", kWhite);
  EXPECT_GT(InkCount(bold, kBlack), InkCount(regular, kBlack));
}

TEST(PangoTextTest, CalcRectMeasuresWithoutDrawing) {
  const auto font = MakeFont(L"微软雅黑", 14);
  Bitmap target = test::SolidBitmap(200, 100, kBlack);
  auto canvas = platform::CreateBitmapCanvas(target);
  Rect rect{5, 5, 200, 100};
  canvas->DrawText(*font, rect, L"安装位置", kWhite, tf::kSingleLine | tf::kCalcRect);
  EXPECT_EQ(rect, (Rect{5, 5, 5 + font->MeasureText(L"安装位置").cx, 5 + font->metrics().height}));
  EXPECT_EQ(InkCount(target, kBlack), 0);
}

TEST(PangoTextTest, WordBreakWrapsIntoLinesOfTheFontsHeight) {
  const auto font = MakeFont(L"微软雅黑", 12);
  Bitmap target(1, 1);
  auto canvas = platform::CreateBitmapCanvas(target);
  const int wordWidth = font->MeasureText(L"word").cx;
  Rect rect{0, 0, wordWidth + 2, 1000};
  canvas->DrawText(*font, rect, L"word word word", kWhite, tf::kWordBreak | tf::kCalcRect);
  EXPECT_EQ(rect.height(), 3 * font->metrics().height);
  EXPECT_LE(rect.width(), wordWidth + 2);
  Rect oneLine{0, 0, 1000, 1000};
  canvas->DrawText(*font, oneLine, L"two\nlines", kWhite, tf::kCalcRect);
  EXPECT_EQ(oneLine.height(), 2 * font->metrics().height);
}

TEST(PangoTextTest, AsAnEditControlALongWordBreaksAndAPartlyVisibleLastLineIsLeftOut) {
  const auto font = MakeFont(L"微软雅黑", 12);
  const int height = font->metrics().height;
  Bitmap target(1, 1);
  auto canvas = platform::CreateBitmapCanvas(target);
  const int width = font->MeasureText(L"abc").cx;
  Rect measured{0, 0, width, 1000};
  canvas->DrawText(*font, measured, L"abcabcabc", kWhite, tf::kWordBreak | tf::kEditControl | tf::kCalcRect);
  EXPECT_GE(measured.height(), 3 * height);
  EXPECT_LE(measured.width(), width);

  // Room for one and a half lines: the second line stays out.
  Bitmap picture = test::SolidBitmap(100, 2 * height, kBlack);
  Rect rect{0, 0, 100, height + height / 2};
  platform::CreateBitmapCanvas(picture)->DrawText(*font, rect, L"first\nsecond", kWhite,
                                                  tf::kWordBreak | tf::kEditControl);
  const std::optional<Rect> ink = InkBox(picture, kBlack);
  ASSERT_TRUE(ink);
  EXPECT_LE(ink->bottom, height);
}

TEST(PangoTextTest, PrefixesShowAsUnderlinesUnlessTurnedOff) {
  const auto font = MakeFont(L"微软雅黑", 14);
  Bitmap target(1, 1);
  auto canvas = platform::CreateBitmapCanvas(target);
  const auto width = [&](const wchar_t* text, unsigned format) {
    Rect rect{0, 0, 1000, 100};
    canvas->DrawText(*font, rect, text, kWhite, format | tf::kSingleLine | tf::kCalcRect);
    return rect.width();
  };
  EXPECT_EQ(width(L"a&&b", 0), font->MeasureText(L"a&b").cx);
  EXPECT_EQ(width(L"&Open", 0), font->MeasureText(L"Open").cx);
  EXPECT_EQ(width(L"a&b", tf::kNoPrefix), font->MeasureText(L"a&b").cx);
}

TEST(PangoTextTest, AlignmentPlacesTheTextInTheRectangle) {
  const auto font = MakeFont(L"微软雅黑", 14);
  const int textWidth = font->MeasureText(L"完成").cx;
  struct Case {
    unsigned format;
    int expectedLeft;
  };
  for (const Case& c :
       {Case{tf::kLeft, 0}, Case{tf::kCenter, (200 - textWidth) / 2}, Case{tf::kRight, 200 - textWidth}}) {
    Bitmap target = test::SolidBitmap(200, 40, kBlack);
    Rect rect{0, 0, 200, 40};
    platform::CreateBitmapCanvas(target)->DrawText(*font, rect, L"完成", kWhite,
                                                   c.format | tf::kSingleLine | tf::kVCenter);
    const std::optional<Rect> ink = InkBox(target, kBlack);
    ASSERT_TRUE(ink) << c.format;
    EXPECT_NEAR(ink->left, c.expectedLeft, 2) << c.format;
    EXPECT_NEAR(ink->right, c.expectedLeft + textWidth, 2) << c.format;
    // Centred vertically: the cell starts half the spare height down.
    EXPECT_GE(ink->top, (40 - font->metrics().height) / 2) << c.format;
    EXPECT_LE(ink->bottom, (40 + font->metrics().height) / 2 + 1) << c.format;
  }
}

TEST(PangoTextTest, EndEllipsisKeepsTheTextInsideTheRectangle) {
  const auto font = MakeFont(L"微软雅黑", 12);
  Bitmap target = test::SolidBitmap(100, 20, kBlack);
  Rect rect{0, 0, 60, 20};
  platform::CreateBitmapCanvas(target)->DrawText(*font, rect, L"安装大约需要XXXMB,当前可用空间XXXGB", kWhite,
                                                 tf::kSingleLine | tf::kEndEllipsis | tf::kNoClip);
  const std::optional<Rect> ink = InkBox(target, kBlack);
  ASSERT_TRUE(ink);
  EXPECT_LE(ink->right, 60);
}

TEST(PangoTextTest, TextIsClippedToItsRectangleUnlessNoClip) {
  const auto font = MakeFont(L"微软雅黑", 14);
  for (const bool noClip : {false, true}) {
    Bitmap target = test::SolidBitmap(200, 20, kBlack);
    Rect rect{0, 0, 20, 20};
    platform::CreateBitmapCanvas(target)->DrawText(*font, rect, L"正在安装露摩游戏中心", kWhite,
                                                   tf::kSingleLine | (noClip ? tf::kNoClip : 0));
    const std::optional<Rect> ink = InkBox(target, kBlack);
    ASSERT_TRUE(ink);
    if (noClip)
      EXPECT_GT(ink->right, 40);
    else
      EXPECT_LE(ink->right, 20);
  }
}

}  // namespace
