#include <gtest/gtest.h>

#include <array>

#include "platform/fake/RecordingCanvas.h"
#include "tests/ui/ManagerFixture.h"
#include "ui/render/SkinRenderer.h"

namespace {

using platform::fake::RecordingCanvas;
using Vellum::CSkinRenderer;
using Vellum::Point;
using Vellum::Rect;
using TextCall = RecordingCanvas::TextCall;

constexpr Vellum::ArgbColor kWhite = 0xFFFFFFFF;

// Fixed-width fonts: every character 8 pixels wide; the control font "Fixed" 16 pixels high.
class MarkupTextTest : public test::ManagerTest {
 protected:
  struct Result {
    std::vector<TextCall> texts;
    int linkCount = 0;
  };

  Result Draw(std::wstring_view text, Rect& rect, unsigned style, Vellum::ArgbColor color = kWhite, int capacity = 8) {
    canvas_.Clear();
    int count = capacity;
    CSkinRenderer::DrawMarkupText(canvas_, manager_.get(), rect, text, color, linkRects_.data(), linkTexts_.data(),
                                  count, -1, style);
    return {canvas_.CallsOf<TextCall>(), count};
  }
  Result DrawAt(std::wstring_view text, Rect rect = {0, 0, 400, 100}, unsigned style = 0) {
    return Draw(text, rect, style);
  }

  static std::vector<std::wstring> Texts(const Result& result) {
    std::vector<std::wstring> texts;
    for (const TextCall& call : result.texts) texts.push_back(call.text);
    return texts;
  }

  RecordingCanvas canvas_;
  std::array<Rect, 8> linkRects_{};
  std::array<std::wstring, 8> linkTexts_{};
};

TEST_F(MarkupTextTest, PlainTextIsDrawnOnceAsOneRun) {
  const Result result = DrawAt(L"abc def", {10, 20, 400, 100});
  ASSERT_EQ(Texts(result), (std::vector<std::wstring>{L"abc def"}));
  EXPECT_EQ(result.texts[0].topLeft, (Point{10, 20}));
  EXPECT_EQ(result.texts[0].color, kWhite);
  EXPECT_EQ(result.linkCount, 0);
}

TEST_F(MarkupTextTest, ABlankAfterATagIsPrintedOnItsOwn) {
  const Result result = DrawAt(L"{b}x{/b} y", {10, 20, 400, 100});
  ASSERT_EQ(Texts(result), (std::vector<std::wstring>{L"x", L" ", L"y"}));
  EXPECT_EQ(result.texts[1].topLeft, (Point{18, 20}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{26, 20}));
}

TEST_F(MarkupTextTest, ALinkRecordsItsRectangleAndTextAndIsUnderlined) {
  const Result result = DrawAt(L"ab{a http://x/}cd{/a}ef");
  ASSERT_EQ(result.linkCount, 1);
  EXPECT_EQ(linkRects_[0], (Rect{16, 0, 32, 16}));
  EXPECT_EQ(linkTexts_[0], L"http://x/");
  ASSERT_EQ(Texts(result), (std::vector<std::wstring>{L"ab", L"cd", L"ef"}));
  EXPECT_TRUE(result.texts[1].font.underline);
  EXPECT_FALSE(result.texts[2].font.underline);
}

TEST_F(MarkupTextTest, ALinkWrappedOverTwoLinesGivesTwoRectanglesWithOneText) {
  Rect rect{0, 0, 80, 100};
  const Result result = Draw(L"abcdefgh{a L}ijklmn{/a}", rect, 0);
  ASSERT_EQ(result.linkCount, 2);
  EXPECT_EQ(linkRects_[0], (Rect{64, 0, 80, 16}));
  EXPECT_EQ(linkRects_[1], (Rect{0, 16, 32, 32}));
  EXPECT_EQ(linkTexts_[0], L"L");
  EXPECT_EQ(linkTexts_[1], L"L");
  EXPECT_EQ(Texts(result), (std::vector<std::wstring>{L"abcdefgh", L"ij", L"klmn"}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{0, 16}));
}

TEST_F(MarkupTextTest, WordBreakWrapsAWrappedLinkAtItsBlank) {
  Rect rect{0, 0, 80, 100};
  const Result result = Draw(L"see {a U}the terms{/a} now", rect, Vellum::DT_WORDBREAK);
  ASSERT_EQ(result.linkCount, 2);
  EXPECT_EQ(linkRects_[0], (Rect{32, 0, 64, 16}));
  EXPECT_EQ(linkRects_[1], (Rect{0, 16, 40, 32}));
  EXPECT_EQ(linkTexts_[1], L"U");
  EXPECT_EQ(Texts(result), (std::vector<std::wstring>{L"see ", L"the ", L"terms", L" ", L"now"}));
}

TEST_F(MarkupTextTest, LinksBeyondTheSlotsAreNotRecorded) {
  Rect rect{0, 0, 400, 100};
  const Result result = Draw(L"{a 1}a{/a} {a 2}b{/a} {a 3}c{/a}", rect, 0, kWhite, 2);
  EXPECT_EQ(result.linkCount, 2);
  EXPECT_EQ(linkTexts_[1], L"2");
  EXPECT_TRUE(linkTexts_[2].empty());
  EXPECT_EQ(Texts(result).size(), 5u);
}

TEST_F(MarkupTextTest, WithoutLinkArraysNothingIsRecorded) {
  Rect rect{0, 0, 400, 100};
  int count = 0;
  CSkinRenderer::DrawMarkupText(canvas_, manager_.get(), rect, L"{a x}y{/a}", kWhite, nullptr, nullptr, count, -1, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(canvas_.CallsOf<TextCall>().size(), 1u);
}

TEST_F(MarkupTextTest, ALinkIsDrawnInTheGivenColourOrElseTheLinkColourAndInTheHoverColourUnderTheMouse) {
  Rect rect{0, 0, 400, 100};
  Result result = Draw(L"{a one}first{/a} {a two}second{/a}", rect, 0, 0);
  ASSERT_EQ(result.texts.size(), 3u);
  EXPECT_EQ(result.texts[0].color, manager_->DefaultLinkColor());
  EXPECT_EQ(result.texts[1].color, 0xFF000000u);  // the base colour 0 draws black
  EXPECT_EQ(result.texts[2].color, manager_->DefaultLinkColor());
  // The mouse over the second link's rectangle of the previous paint.
  manager_->SetLastMousePosition({linkRects_[1].left + 1, linkRects_[1].top + 1});
  rect = {0, 0, 400, 100};
  result = Draw(L"{a one}first{/a} {a two}second{/a}", rect, 0, kWhite);
  EXPECT_EQ(result.texts[0].color, kWhite);
  EXPECT_EQ(result.texts[2].color, manager_->DefaultLinkHoverColor());
}

TEST_F(MarkupTextTest, RawModePrintsTagsAsText) {
  const Result result = DrawAt(L"{r}{b}x<n>{/r}{b}y");
  EXPECT_EQ(Texts(result), (std::vector<std::wstring>{L"{b}x<n>", L"y"}));
  EXPECT_FALSE(result.texts[0].font.bold);
  EXPECT_TRUE(result.texts[1].font.bold);
  EXPECT_EQ(Texts(DrawAt(L"{r}{/r}a")), (std::vector<std::wstring>{L"a"}));
  EXPECT_EQ(Texts(DrawAt(L"<r>a</r>{b}")), (std::vector<std::wstring>{L"a"}));
}

TEST_F(MarkupTextTest, EscapesPrintBracesAndAngleBrackets) {
  EXPECT_EQ(Texts(DrawAt(L"<{>x<}>")), (std::vector<std::wstring>{L"{", L"x", L"}"}));
  EXPECT_EQ(Texts(DrawAt(L"{<}b{>}")), (std::vector<std::wstring>{L"<", L"b", L">"}));
  // A brace that opens no tag is text.
  EXPECT_EQ(Texts(DrawAt(L"{1}")), (std::vector<std::wstring>{L"{1}"}));
}

TEST_F(MarkupTextTest, AMissingFontIndexGivesTheDefaultFont) {
  const Result result = DrawAt(L"{f 4}text{/f}");
  ASSERT_EQ(result.texts.size(), 1u);
  EXPECT_EQ(result.texts[0].font, manager_->DefaultFontInfo().font->spec());
}

TEST_F(MarkupTextTest, ALineIsMeasuredFirstSoEveryRunSitsOnTheSameBaseline) {
  manager_->AddFontById(1, L"Big", 32, false, false, false, false);
  const Result result = DrawAt(L"a{f 1}B{/f}c");
  ASSERT_EQ(Texts(result), (std::vector<std::wstring>{L"a", L"B", L"c"}));
  EXPECT_EQ(result.texts[0].topLeft, (Point{0, 16}));
  EXPECT_EQ(result.texts[1].topLeft, (Point{8, 0}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{16, 16}));
}

TEST_F(MarkupTextTest, StyleTagsMakeVariantsOfTheCurrentFontWithoutTakingTheSkinsIds) {
  manager_->AddFontById(0, L"Skin", 14, false, false, false, false);
  const Result result = DrawAt(L"{f 0}{b}b{i}bi{/i}{/b}{u}u{/u}{/f}");
  ASSERT_EQ(result.texts.size(), 3u);
  EXPECT_EQ(result.texts[0].font, (platform::FontSpec{L"Skin", 14, true, false, false}));
  EXPECT_EQ(result.texts[1].font, (platform::FontSpec{L"Skin", 14, true, false, true}));
  EXPECT_EQ(result.texts[2].font, (platform::FontSpec{L"Skin", 14, false, true, false}));
  EXPECT_EQ(manager_->FontInfoById(0).faceName, L"Skin");
  EXPECT_FALSE(manager_->FontInfoById(0).bold);
}

TEST_F(MarkupTextTest, AFontTagByNameSizeAndWords) {
  const Result result = DrawAt(L"{f Mono 20 Bold,ITALIC}x{/f}{f Other}y");
  ASSERT_EQ(result.texts.size(), 2u);
  EXPECT_EQ(result.texts[0].font, (platform::FontSpec{L"Mono", 20, true, false, true}));
  EXPECT_EQ(result.texts[1].font, (platform::FontSpec{L"Other", 10, false, false, false}));
}

TEST_F(MarkupTextTest, ColourTagsPushAndPop) {
  const Result result = DrawAt(L"{c #FFFF0000}r{c 00FF00}g{/c}r{/c}w", {0, 0, 400, 100}, 0);
  ASSERT_EQ(result.texts.size(), 4u);
  EXPECT_EQ(result.texts[0].color, 0xFFFF0000u);
  EXPECT_EQ(result.texts[1].color, 0xFF00FF00u);  // text takes no alpha
  EXPECT_EQ(result.texts[2].color, 0xFFFF0000u);
  EXPECT_EQ(result.texts[3].color, kWhite);
}

TEST_F(MarkupTextTest, LineBreaksParagraphsAndPositionTags) {
  Result result = DrawAt(L"a{n}b\nc");
  EXPECT_EQ(result.texts[1].topLeft, (Point{0, 16}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{0, 32}));
  result = DrawAt(L"a{x 10}b");
  EXPECT_EQ(result.texts[1].topLeft, (Point{18, 0}));
  result = DrawAt(L"a{y 30}b{n}c");
  EXPECT_EQ(result.texts[0].topLeft, (Point{0, 14}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{0, 30}));
  // A paragraph starts a line; its extra height goes above the text of its lines (and of the line
  // the tag ends).
  result = DrawAt(L"a{p 6}b{/p}c");
  ASSERT_EQ(Texts(result), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(result.texts[0].topLeft, (Point{0, 6}));
  EXPECT_EQ(result.texts[1].topLeft, (Point{0, 22 + 6}));
  EXPECT_EQ(result.texts[2].topLeft, (Point{0, 44}));
  // Single-line texts ignore {n}.
  Rect single{0, 0, 400, 100};
  result = Draw(L"a{n}b", single, Vellum::DT_SINGLELINE);
  EXPECT_EQ(result.texts[1].topLeft, (Point{8, 0}));
}

TEST_F(MarkupTextTest, LeavingItalicMovesOnByHalfTheBlanksRightBearing) {
  const Result result = DrawAt(L"{i}ab{/i}c");
  EXPECT_EQ(result.texts[1].topLeft, (Point{16 + 1, 0}));
}

TEST_F(MarkupTextTest, SelectionDrawsOnTheSelectedBackground) {
  const Result result = DrawAt(L"a{s}b{/s}c");
  ASSERT_EQ(result.texts.size(), 3u);
  EXPECT_FALSE(result.texts[0].opaque);
  EXPECT_TRUE(result.texts[1].opaque);
  EXPECT_EQ(result.texts[1].background, manager_->DefaultSelectedBkColor());
  EXPECT_FALSE(result.texts[2].opaque);
}

TEST_F(MarkupTextTest, ASingleLineCentredTextIsMeasuredFirstAndTheCallersRectangleNarrowed) {
  Rect rect{0, 0, 200, 20};
  const Result result = Draw(L"abcd", rect, Vellum::DT_SINGLELINE | Vellum::DT_CENTER | Vellum::DT_VCENTER);
  EXPECT_EQ(rect, (Rect{84, 2, 116, 18}));
  EXPECT_EQ(result.texts.at(0).topLeft, (Point{84, 2}));
  rect = {0, 0, 200, 20};
  Draw(L"abcd", rect, Vellum::DT_SINGLELINE | Vellum::DT_RIGHT | Vellum::DT_BOTTOM);
  EXPECT_EQ(rect, (Rect{168, 4, 200, 20}));
}

TEST_F(MarkupTextTest, MultiLineCentredRunsAreMovedInsideTheirLine) {
  Rect rect{0, 0, 100, 100};
  const Result result = Draw(L"ab", rect, Vellum::DT_CENTER);
  EXPECT_EQ(result.texts.at(0).topLeft, (Point{42, 0}));
  EXPECT_EQ(rect, (Rect{0, 0, 100, 100}));
}

TEST_F(MarkupTextTest, CalcRectDrawsNothingAndShrinksToTheWidestLine) {
  Rect rect{10, 10, 400, 500};
  const Result result = Draw(L"ab{n}abcdef{n}a", rect, Vellum::DT_CALCRECT);
  EXPECT_TRUE(canvas_.calls().empty());
  EXPECT_EQ(rect, (Rect{10, 10, 10 + 48, 10 + 48}));
  EXPECT_EQ(result.linkCount, 0);
}

TEST_F(MarkupTextTest, CalcRectRecordsLinksToo) {
  Rect rect{0, 0, 400, 500};
  const Result result = Draw(L"x{a t}y{/a}", rect, Vellum::DT_CALCRECT);
  EXPECT_EQ(result.linkCount, 1);
  EXPECT_EQ(linkRects_[0], (Rect{8, 0, 16, 16}));
}

TEST_F(MarkupTextTest, EndEllipsisCutsTheRunAndAddsDots) {
  Rect rect{0, 0, 64, 20};
  const Result result = Draw(L"abcdefghijkl", rect, Vellum::DT_SINGLELINE | Vellum::DT_END_ELLIPSIS);
  EXPECT_EQ(Texts(result), (std::vector<std::wstring>{L"abcdef", L"..."}));
  EXPECT_EQ(result.texts[1].topLeft, (Point{48, 0}));
}

TEST_F(MarkupTextTest, ALongWordWithoutBreaksWrapsWhereTheLineIsFull) {
  Rect rect{0, 0, 40, 100};
  const Result result = Draw(L"abcdefghijkl", rect, Vellum::DT_WORDBREAK);
  EXPECT_EQ(Texts(result), (std::vector<std::wstring>{L"abcde", L"fghij", L"kl"}));
}

TEST_F(MarkupTextTest, ScanningEndsHoweverNarrowTheRectangle) {
  for (const unsigned style : {0u, unsigned{Vellum::DT_END_ELLIPSIS}, unsigned{Vellum::DT_WORDBREAK},
                               Vellum::DT_END_ELLIPSIS | Vellum::DT_CALCRECT, unsigned{Vellum::DT_CALCRECT},
                               Vellum::DT_SINGLELINE | Vellum::DT_END_ELLIPSIS}) {
    Rect rect{0, 0, 3, 1000};
    Draw(L"narrow {a x}text{/a} {b}here{/b}", rect, style);
  }
  SUCCEED();
}

TEST_F(MarkupTextTest, HugeNumbersInTagsKeepTheLayoutInRange) {
  for (const unsigned style : {0u, unsigned{Vellum::DT_CALCRECT}}) {
    Rect rect{0, 0, 400, 1000};
    const Result result =
        Draw(L"{x -2147483647}{x -2147483647}a{y 2147483647}{p 2147483647}b{n}c{f Huge 2147483647}d", rect, style);
    EXPECT_LE(result.linkCount, 8);
    if (style & Vellum::DT_CALCRECT) {
      EXPECT_GT(rect.bottom, 1 << 28);
      EXPECT_LE(rect.bottom, 1 << 30);
    }
  }
}

TEST_F(MarkupTextTest, TheClipIsNarrowedToTheRectangleWhileDrawingAndRestored) {
  canvas_.IntersectClip({0, 0, 500, 500});
  DrawAt(L"x", {5, 5, 50, 50});
  const auto clips = canvas_.CallsOf<RecordingCanvas::ClipCall>();
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[0].region.Box(), (Rect{5, 5, 50, 50}));
  EXPECT_EQ(clips[1].region.Box(), (Rect{0, 0, 500, 500}));
}

TEST_F(MarkupTextTest, NothingWithoutTextOrManagerOrRoom) {
  Rect rect{0, 0, 0, 10};
  EXPECT_EQ(Draw(L"x", rect, 0, kWhite, 8).linkCount, 8);
  EXPECT_TRUE(canvas_.calls().empty());
  int count = 3;
  rect = {0, 0, 10, 10};
  CSkinRenderer::DrawMarkupText(canvas_, nullptr, rect, L"x", kWhite, nullptr, nullptr, count, -1, 0);
  EXPECT_EQ(count, 3);
}

}  // namespace
