#include <gtest/gtest.h>

#include "tests/ui/ManagerFixture.h"
#include "ui/render/SkinRenderer.h"

namespace {

using Vellum::CSkinRenderer;
using Vellum::Rect;
using Vellum::SkinImageSpec;

SkinImageSpec Parse(std::wstring_view image, std::wstring_view modify = L"") {
  return CSkinRenderer::ParseImageSpec(image, modify, nullptr);
}

TEST(ImageSpecTest, ABareFileNameIsTheImageName) {
  const SkinImageSpec spec = Parse(L"picRes\\bg.png");
  EXPECT_EQ(spec.imageName, L"picRes\\bg.png");
  EXPECT_EQ(spec.drawText, L"picRes\\bg.png");
  EXPECT_TRUE(spec.dest.IsZero());
  EXPECT_TRUE(spec.source.IsZero());
  EXPECT_EQ(spec.fade, 255);
  EXPECT_FALSE(spec.hole || spec.xtiled || spec.ytiled || spec.hsl);
}

TEST(ImageSpecTest, ReadsTheButtonStateImagesOfTheSkin) {
  const SkinImageSpec spec = Parse(L"file='picRes\\btn_blue.png' dest='0,0,115,36' source='0,36,115,72'");
  EXPECT_EQ(spec.imageName, L"picRes\\btn_blue.png");
  EXPECT_EQ(spec.dest, (Rect{0, 0, 115, 36}));
  EXPECT_EQ(spec.source, (Rect{0, 36, 115, 72}));
}

TEST(ImageSpecTest, EveryKeywordSetsItsField) {
  const SkinImageSpec spec = Parse(
      L"res='107' restype='PNG' corner='4,5,6,7' mask='#FFFF00FF' fade='300' hole='TRUE' xtiled='true' "
      L"ytiled='yes' hsl='True' size='16,16' align='center,vcenter' padding='1,2,3,4' other='ignored'");
  EXPECT_EQ(spec.imageName, L"107");
  EXPECT_EQ(spec.resourceType, L"PNG");
  EXPECT_EQ(spec.corner, (Rect{4, 5, 6, 7}));
  EXPECT_EQ(spec.mask, 0xFFFF00FFu);
  EXPECT_EQ(spec.fade, 300 & 0xFF);
  EXPECT_TRUE(spec.hole);
  EXPECT_TRUE(spec.xtiled);
  EXPECT_FALSE(spec.ytiled);
  EXPECT_TRUE(spec.hsl);
  EXPECT_EQ(spec.size, (Vellum::Size{16, 16}));
  EXPECT_EQ(spec.align, L"center,vcenter");
  EXPECT_EQ(spec.padding, (Rect{1, 2, 3, 4}));
}

TEST(ImageSpecTest, TheModifyTextWins) {
  const SkinImageSpec spec = Parse(L"file='a.png' fade='100' dest='1,1,2,2'", L"fade='200' file='b.png'");
  EXPECT_EQ(spec.imageName, L"b.png");
  EXPECT_EQ(spec.fade, 200);
  EXPECT_EQ(spec.dest, (Rect{1, 1, 2, 2}));
  EXPECT_EQ(spec.modifyText, L"fade='200' file='b.png'");
}

TEST(ImageSpecTest, MalformedTextsAreReadAsFarAsTheyAreWellFormed) {
  struct Case {
    const wchar_t* text;
    const wchar_t* name;
    Rect dest;
  };
  const Case cases[] = {
      {L"file='a.png' dest=''", L"a.png", {}},  // an empty value changes nothing
      {L"file='' dest='1,2,3,4'", L"file='' dest='1,2,3,4'", {1, 2, 3, 4}},
      {L"file='a.png' dest='1,2,3,4", L"a.png", {}},                      // no closing quote
      {L"file='a.png'dest='1,2,3,4'", L"a.png", {}},                      // no blank after the quote
      {L"file='a.png' junk dest='1,2,3,4'", L"a.png", {}},                // no "=" after a keyword
      {L"file='a.png' dest=1,2,3,4", L"a.png", {}},                       // no opening quote
      {L"  file = 'a.png'   dest =  '1,2,3,4'", L"a.png", {1, 2, 3, 4}},  // blanks around "=" are fine
      {L"file='a.png' dest='1,2'", L"a.png", {1, 2, 0, 0}},               // missing numbers read as 0
      {L"file='a.png' dest='x,-2,+3,4'", L"a.png", {0, 0, -2, 3}},        // a bad number shifts the rest
      {L"file='a.png' ", L"a.png", {}},
      {L"file='a.png' dest='99999999999,0,0,-99999999999'", L"a.png", {1 << 24, 0, 0, -(1 << 24)}},
  };
  for (const Case& c : cases) {
    const SkinImageSpec spec = Parse(c.text);
    EXPECT_EQ(spec.imageName, c.name) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(spec.dest, c.dest) << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(ImageSpecTest, MasksReadAsHexadecimalWithOrWithoutPrefix) {
  EXPECT_EQ(Parse(L"mask='#ff00ff'").mask, 0x00FF00FFu);
  EXPECT_EQ(Parse(L"mask='0xFFFF00FF'").mask, 0xFFFF00FFu);
  EXPECT_EQ(Parse(L"mask='FFFFFFFFFF'").mask, 0xFFFFFFFFu);
  EXPECT_EQ(Parse(L"mask='zz'").mask, 0u);
}

class ScaledImageSpecTest : public test::ManagerTest {};

TEST_F(ScaledImageSpecTest, AtAnotherScaleRectanglesGrowAndTheNameNamesThePictureForThatScale) {
  manager_->SetScalePercent(150);
  const SkinImageSpec spec = CSkinRenderer::ParseImageSpec(
      L"file='picRes\\btn_blue.png' dest='0,0,10,10' source='2,2,4,4' size='16,16'", L"", manager_.get());
  EXPECT_EQ(spec.imageName, L"picRes\\btn_blue@150.png");
  EXPECT_EQ(spec.dest, (Rect{0, 0, 15, 15}));
  EXPECT_EQ(spec.source, (Rect{3, 3, 6, 6}));
  EXPECT_EQ(spec.size, (Vellum::Size{16, 16}));
}

TEST_F(ScaledImageSpecTest, AtTheNormalScaleNothingChanges) {
  const SkinImageSpec spec = CSkinRenderer::ParseImageSpec(L"file='a.b.png' dest='0,0,10,10'", L"", manager_.get());
  EXPECT_EQ(spec.imageName, L"a.b.png");
  EXPECT_EQ(spec.dest, (Rect{0, 0, 10, 10}));
}

}  // namespace
