#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "lumo/BuildSettings.h"
#include "platform/Text.h"
#include "skin/EmbeddedSkin.h"
#include "tests/support/Pictures.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinImage.h"
#include "ui/render/SkinRenderer.h"
#include "ui/xml/SkinXml.h"

namespace {

using Vellum::CPaintManagerUI;
using Vellum::CSkinRenderer;
using Vellum::Rect;

const std::wstring kLicenseUrl = platform::Utf8ToWideText(lumo::build::kAgreementLicenseUrl);
const std::wstring kPrivacyUrl = platform::Utf8ToWideText(lumo::build::kAgreementPrivacyUrl);
const std::wstring kChildrenPrivacyUrl = platform::Utf8ToWideText(lumo::build::kAgreementChildrenPrivacyUrl);

// The text control "lblAgreement" at 30,343, 550 by 20, text colour #FFFFFFFF, padding 2,0,2,0,
// wrapping text style; drawn here with its own top-left corner at 0,0.
constexpr Rect kItemInWindow{30, 343, 580, 363};
constexpr int kWidth = 550;
constexpr int kHeight = 20;
constexpr Rect kTextRect{2, 0, kWidth - 2, kHeight};
constexpr std::uint32_t kTextColor = 0xFFFFFFFF;

// The first element in document order whose name attribute is name.
Vellum::CSkinXmlNode FindByName(const Vellum::CSkinXmlNode& parent, std::wstring_view name) {
  for (Vellum::CSkinXmlNode child = parent.FirstChild(); child.IsValid(); child = child.NextSibling()) {
    wchar_t buffer[64] = {};
    if (child.FindAttribute(L"name", buffer, 63) && name == buffer) return child;
    if (const Vellum::CSkinXmlNode found = FindByName(child, name); found.IsValid()) return found;
  }
  return {};
}

// The installer's own skin: the text of lblAgreement and the page background behind it. The
// skin's fonts carry no ids, so {f 4} and every other font index give the default font.
class AgreementLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CPaintManagerUI::ReleaseSharedRegistries();
    CPaintManagerUI::OpenSkinArchiveInMemory(EmbeddedSkinArchive(), L"");
    Vellum::CSkinXml document;
    ASSERT_TRUE(document.ParseSkinFile(L"main.xml", Vellum::SkinTextEncoding::Utf8));
    const Vellum::CSkinXmlNode label = FindByName(document.Root(), L"lblAgreement");
    ASSERT_TRUE(label.IsValid());
    std::vector<wchar_t> text(4096, L'\0');
    ASSERT_TRUE(label.FindAttribute(L"text", text.data(), text.size() - 1));
    text_ = text.data();
    manager_ = std::make_unique<CPaintManagerUI>();
  }
  void TearDown() override {
    manager_.reset();
    CPaintManagerUI::ReleaseSharedRegistries();
    CPaintManagerUI::CloseSkinArchive();
  }

  // Paints the page background and the line as the text control does, and keeps the links.
  platform::Bitmap Paint() {
    platform::Bitmap picture(kWidth, kHeight);
    auto canvas = platform::CreateBitmapCanvas(picture);
    const Vellum::ImageInfo* background = manager_->FindOrLoadImage(L"picRes\\bg.png", L"", 0, false, nullptr);
    EXPECT_NE(background, nullptr);
    if (background) {
      canvas->Blit(background->bitmap, kItemInWindow, {0, 0, kWidth, kHeight}, platform::BlitMode::Copy, 255);
    }
    Rect rect = kTextRect;
    linkCount_ = static_cast<int>(linkRects_.size());
    CSkinRenderer::DrawMarkupText(*canvas, manager_.get(), rect, text_, kTextColor, linkRects_.data(),
                                  linkTexts_.data(), linkCount_, -1, Vellum::DT_WORDBREAK);
    return picture;
  }

  std::wstring text_;
  int Width(std::wstring_view text) const { return manager_->DefaultFontInfo().font->MeasureText(text).cx; }

  std::unique_ptr<CPaintManagerUI> manager_;
  std::array<Rect, 8> linkRects_{};
  std::array<std::wstring, 8> linkTexts_{};
  int linkCount_ = 0;
};

bool IsLight(std::uint32_t pixel) {
  const test::Argb p = test::Unpack(pixel);
  return p.r > 160 && p.g > 160 && p.b > 160;
}

bool IsHoverRed(std::uint32_t pixel) {
  const test::Argb p = test::Unpack(pixel);
  return p.r > 150 && p.g < 110 && p.b < 140;
}

int CountIn(const platform::Bitmap& picture, const Rect& area, bool (*test)(std::uint32_t)) {
  int count = 0;
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, picture.height()); ++y) {
    for (int x = std::max(area.left, 0); x < std::min(area.right, picture.width()); ++x)
      count += test(picture.at(x, y));
  }
  return count;
}

TEST_F(AgreementLineTest, ThreeLinksLieSideBySideOverTheirTexts) {
  EXPECT_EQ(text_, L"{f 4}我已仔细阅读并同意{a " + kLicenseUrl + L"}《用户使用许可及服务协议》{/a}、{a " + kPrivacyUrl +
                       L"}《隐私政策》{/a}和{a " + kChildrenPrivacyUrl + L"}《儿童隐私政策》{/a}{/f}");
  const platform::Bitmap picture = Paint();
  ASSERT_TRUE(test::WritePng(picture, test::ArtifactFolder() / "agreement_line.png"));

  ASSERT_EQ(linkCount_, 3);
  EXPECT_EQ(linkTexts_[0], kLicenseUrl);
  EXPECT_EQ(linkTexts_[1], kPrivacyUrl);
  EXPECT_EQ(linkTexts_[2], kChildrenPrivacyUrl);

  const Vellum::FontInfo& font = manager_->DefaultFontInfo();
  const int lineHeight = font.metrics().height + font.metrics().externalLeading;
  int x = kTextRect.left + Width(L"我已仔细阅读并同意");
  const std::wstring_view linkLabels[] = {L"《用户使用许可及服务协议》", L"《隐私政策》", L"《儿童隐私政策》"};
  const std::wstring_view between[] = {L"、", L"和", L""};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(linkRects_[i], (Rect{x, 0, x + Width(linkLabels[i]), lineHeight}));
    x = linkRects_[i].right + Width(between[i]);
  }
  EXPECT_LE(linkRects_[2].right, kTextRect.right);
  EXPECT_LE(lineHeight, kHeight);

  // White text over each link, with its underline just above the link's bottom; the plain text
  // before the links has no underline.
  for (int i = 0; i < 3; ++i) EXPECT_GT(CountIn(picture, linkRects_[i], IsLight), 20) << i;
  const Rect plain{kTextRect.left, 0, linkRects_[0].left, lineHeight};
  EXPECT_GT(CountIn(picture, plain, IsLight), 20);
  const auto underlineRow = [&](const Rect& area) {
    int best = 0;
    for (int y = area.top + lineHeight / 2; y < area.bottom; ++y) {
      best = std::max(best, CountIn(picture, {area.left, y, area.right, y + 1}, IsLight));
    }
    return best;
  };
  for (int i = 0; i < 3; ++i) EXPECT_GE(underlineRow(linkRects_[i]), linkRects_[i].width() * 8 / 10) << i;
  EXPECT_LT(underlineRow(plain), plain.width() / 2);
  // Nothing is drawn outside the control's text rectangle.
  EXPECT_EQ(CountIn(picture, {0, 0, kTextRect.left, kHeight}, IsLight), 0);
}

TEST_F(AgreementLineTest, TheLinkUnderTheMouseTurnsTheHoverColour) {
  Paint();
  ASSERT_EQ(linkCount_, 3);
  const Rect privacy = linkRects_[1];
  manager_->SetLastMousePosition({privacy.left + privacy.width() / 2, privacy.top + privacy.height() / 2});
  const platform::Bitmap picture = Paint();
  ASSERT_TRUE(test::WritePng(picture, test::ArtifactFolder() / "agreement_line_hover.png"));
  EXPECT_GT(CountIn(picture, privacy, IsHoverRed), 20);
  EXPECT_EQ(CountIn(picture, linkRects_[0], IsHoverRed), 0);
  EXPECT_EQ(CountIn(picture, linkRects_[2], IsHoverRed), 0);
}

}  // namespace
