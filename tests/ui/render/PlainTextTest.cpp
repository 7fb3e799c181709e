#include <gtest/gtest.h>

#include "platform/fake/RecordingCanvas.h"
#include "tests/ui/ManagerFixture.h"
#include "ui/render/SkinRenderer.h"

namespace {

using platform::fake::RecordingCanvas;
using Vellum::CSkinRenderer;
using Vellum::Rect;

class PlainTextTest : public test::ManagerTest {
 protected:
  RecordingCanvas canvas_;
};

TEST_F(PlainTextTest, DrawsInTheFontOfTheIndexWithTheStyleAndAnOpaqueColour) {
  manager_->AddFontById(2, L"Label", 14, false, false, false, false);
  Rect rect{40, 133, 120, 153};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), rect, L"安装位置", 0x00FFFFFF, 2,
                               Vellum::DT_VCENTER | Vellum::DT_SINGLELINE);
  const auto texts = canvas_.CallsOf<RecordingCanvas::DrawTextCall>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font.faceName, L"Label");
  EXPECT_EQ(texts[0].rect, (Rect{40, 133, 120, 153}));
  EXPECT_EQ(texts[0].text, L"安装位置");
  EXPECT_EQ(texts[0].color, 0xFFFFFFFFu);
  EXPECT_EQ(texts[0].format, Vellum::DT_VCENTER | Vellum::DT_SINGLELINE);
}

TEST_F(PlainTextTest, AnUnknownFontIndexDrawsInTheDefaultFont) {
  Rect rect{0, 0, 100, 20};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), rect, L"x", 0xFF000000, 7, 0);
  EXPECT_EQ(canvas_.CallsOf<RecordingCanvas::DrawTextCall>().at(0).font, manager_->DefaultFontInfo().font->spec());
}

TEST_F(PlainTextTest, ACharacterReferenceDrawsJustThatCharacter) {
  struct Case {
    const wchar_t* text;
    const wchar_t* drawn;
  };
  const Case cases[] = {
      {L"&#xe601;", L"\xe601"}, {L"&#x41;", L"A"},         {L"icon &#x41 ;", L"A"},
      {L"&#x4; ", L"\x4"},      {L"&#x4E2D2;", L"\x4E2D"},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    Rect rect{0, 0, 20, 20};
    CSkinRenderer::DrawPlainText(canvas, manager_.get(), rect, c.text, 0xFF000000, -1, 0);
    const auto texts = canvas.CallsOf<RecordingCanvas::DrawTextCall>();
    ASSERT_EQ(texts.size(), 1u) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(texts[0].text, c.drawn) << testing::PrintToString(std::wstring(c.text));
  }
}

TEST_F(PlainTextTest, NothingWithoutTextOrManager) {
  Rect rect{0, 0, 10, 10};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), rect, L"", 0xFF000000, -1, 0);
  CSkinRenderer::DrawPlainText(canvas_, nullptr, rect, L"x", 0xFF000000, -1, 0);
  EXPECT_TRUE(canvas_.calls().empty());
}

TEST_F(PlainTextTest, CalcRectChangesTheRectangleAndDrawsNothing) {
  Rect rect{10, 10, 500, 500};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), rect, L"abcd", 0xFF000000, -1,
                               Vellum::DT_SINGLELINE | Vellum::DT_CALCRECT);
  EXPECT_EQ(rect, (Rect{10, 10, 42, 26}));
  EXPECT_TRUE(canvas_.calls().empty());
}

TEST_F(PlainTextTest, TheTypographicPathWrapsUnlessSingleLineAndMeasuresOneMore) {
  manager_->SetUseGdiplusText(true);
  Rect rect{0, 0, 100, 40};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), rect, L"ab", 0xFF102030, -1,
                               Vellum::DT_CENTER | Vellum::DT_VCENTER | Vellum::DT_END_ELLIPSIS);
  const auto texts = canvas_.CallsOf<RecordingCanvas::DrawTextCall>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].color, 0xFE102030u);
  EXPECT_EQ(texts[0].format, Vellum::DT_NOPREFIX | Vellum::DT_WORDBREAK | Vellum::DT_CENTER | Vellum::DT_VCENTER |
                                 Vellum::DT_END_ELLIPSIS);
  Rect measured{5, 5, 100, 100};
  CSkinRenderer::DrawPlainText(canvas_, manager_.get(), measured, L"abc", 0xFF102030, -1,
                               Vellum::DT_SINGLELINE | Vellum::DT_CALCRECT);
  EXPECT_EQ(measured, (Rect{5, 5, 5 + 24 + 1, 5 + 16 + 1}));
}

TEST_F(PlainTextTest, GetTextSizeIsTheExtentOfTheWholeText) {
  EXPECT_EQ(CSkinRenderer::GetTextSize(manager_.get(), L"abc", -1), (Vellum::Size{24, 16}));
  EXPECT_EQ(CSkinRenderer::GetTextSize(manager_.get(), L"", -1), (Vellum::Size{}));
  EXPECT_EQ(CSkinRenderer::GetTextSize(nullptr, L"abc", -1), (Vellum::Size{}));
}

}  // namespace
