#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/ProgramResources.h"
#include "lumo/BuildSettings.h"
#include "platform/Text.h"
#include "tests/ui/SkinTestSupport.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinImage.h"
#include "ui/xml/SkinXml.h"

namespace {

using Vellum::CSkinXml;
using Vellum::CSkinXmlNode;

std::wstring Attribute(const CSkinXmlNode& node, std::wstring_view name) {
  std::vector<wchar_t> buffer(1024, L'\0');
  if (!node.FindAttribute(name, buffer.data(), buffer.size() - 1)) return L"<missing>";
  return buffer.data();
}

std::wstring Wide(const char* text) {
  return platform::Utf8ToWideText(text);
}

// Every control, layout and page of the document by its name, with its parent's name.
struct Control {
  CSkinXmlNode node;
  std::wstring type;
  std::wstring parent;
};

void Collect(const CSkinXmlNode& parent, std::map<std::wstring, Control>& controls) {
  for (CSkinXmlNode child = parent.FirstChild(); child.IsValid(); child = child.NextSibling()) {
    const std::wstring name = Attribute(child, L"name");
    if (name != L"<missing>" && std::wstring(child.Name()) != L"Font")
      controls[name] = {child, child.Name(), Attribute(parent, L"name")};
    Collect(child, controls);
  }
}

class EmbeddedSkinTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto archive = ProgramModule().FindResource(kSkinArchiveType, kSkinArchiveId);
    ASSERT_TRUE(archive) << "the program carries resource ZIPRES/130";
    ASSERT_FALSE(archive->empty());
    Vellum::CPaintManagerUI::OpenSkinArchiveInMemory(*archive, L"");
    ASSERT_TRUE(document_.ParseSkinFile(L"main.xml", Vellum::SkinTextEncoding::Utf8))
        << platform::WideToUtf8(document_.ErrorMessage()) << " at " << platform::WideToUtf8(document_.ErrorLocation());
    Collect(document_.Root(), controls_);
  }

  const CSkinXmlNode& NodeOf(const std::wstring& name) { return controls_.at(name).node; }

  test::SkinSourceReset reset_;
  CSkinXml document_;
  std::map<std::wstring, Control> controls_;
};

TEST_F(EmbeddedSkinTest, WindowHasItsSizeCaptionAndTwoFontsWithoutId) {
  const CSkinXmlNode window = document_.Root();
  EXPECT_EQ(std::wstring(window.Name()), L"Window");
  EXPECT_EQ(Attribute(window, L"size"), L"690,380");
  EXPECT_EQ(Attribute(window, L"caption"), L"0,0,0,172");
  const CSkinXmlNode first = window.FirstChild();
  const CSkinXmlNode second = first.NextSibling();
  for (const auto& [font, size] : {std::pair{first, L"16"}, std::pair{second, L"14"}}) {
    EXPECT_EQ(std::wstring(font.Name()), L"Font");
    EXPECT_EQ(Attribute(font, L"name"), L"微软雅黑");
    EXPECT_EQ(Attribute(font, L"size"), size);
    EXPECT_EQ(Attribute(font, L"bold"), L"false");
    EXPECT_EQ(Attribute(font, L"italic"), L"false");
    EXPECT_EQ(Attribute(font, L"id"), L"<missing>") << "so that the fonts register nothing";
  }
  const CSkinXmlNode root = second.NextSibling();
  EXPECT_EQ(std::wstring(root.Name()), L"VerticalLayout");
  EXPECT_FALSE(root.NextSibling().IsValid());
}

TEST_F(EmbeddedSkinTest, TheTreeHoldsTheLayoutsAndPagesInOrder) {
  const CSkinXmlNode background = NodeOf(L"_BG_");
  EXPECT_EQ(Attribute(background, L"width"), L"690");
  EXPECT_EQ(Attribute(background, L"height"), L"380");
  EXPECT_EQ(Attribute(background, L"bkimage"), L"picRes\\bg.png");
  const CSkinXmlNode tab = background.FirstChild();
  EXPECT_EQ(std::wstring(tab.Name()), L"TabLayout");
  EXPECT_EQ(Attribute(tab, L"name"), L"tab");
  EXPECT_EQ(Attribute(tab, L"width"), L"690");
  EXPECT_EQ(Attribute(tab, L"height"), L"380");
  EXPECT_EQ(Attribute(tab.NextSibling(), L"name"), L"lblTitle");
  EXPECT_EQ(Attribute(tab.NextSibling().NextSibling(), L"name"), L"btnClose");
  std::vector<std::wstring> pages;
  for (CSkinXmlNode page = tab.FirstChild(); page.IsValid(); page = page.NextSibling()) {
    EXPECT_EQ(std::wstring(page.Name()), L"Container");
    pages.push_back(Attribute(page, L"name"));
  }
  EXPECT_EQ(pages, (std::vector<std::wstring>{L"begin", L"installing", L"end"}));
}

struct ExpectedControl {
  const char* parent;
  const char* type;
  const char* name;
  const char* pos;
  const char* width;
  const char* height;
  const char* text;  // null: no text attribute
  std::vector<std::pair<const char*, const char*>> others;
};

TEST_F(EmbeddedSkinTest, EveryControlHasItsPlaceSizeTextAndLook) {
  const std::vector<ExpectedControl> expected = {
      {"begin",
       "Label",
       "lbl1",
       "40,133,0,0",
       "80",
       "20",
       "安装位置",
       {{"textcolor", "#FFFFFFFF"}, {"disabledtextcolor", "#FFA7A6AA"}, {"font", "2"}}},
      {"begin",
       "Label",
       "lblDir",
       "40,161,0,0",
       "300",
       "20",
       "C:/Progam Files(x86)/lumogame",
       {{"textcolor", "#FF999999"}, {"disabledtextcolor", "#FFA7A6AA"}, {"font", "2"}}},
      {"begin",
       "Label",
       "lblSize",
       "40,183,0,0",
       "300",
       "18",
       "安装大约需要XXXMB,当前可用空间XXXGB",
       {{"textcolor", "#FF999999"}, {"disabledtextcolor", "#FFA7A6AA"}, {"font", "2"}}},
      {"begin",
       "Button",
       "btnDir",
       "597,171,0,0",
       "54",
       "25",
       "更改",
       {{"textcolor", "#FFFFFFFF"}, {"disabledtextcolor", "#FFA7A6AA"}, {"font", "2"}, {"align", "center"}}},
      {"begin", "Option", "optAgreement", "10,341,0,0", "20", "16", nullptr, {{"selected", "false"}}},
      {"begin",
       "Text",
       "lblAgreement",
       "30,343,0,0",
       "550",
       "20",
       nullptr,
       {{"textpadding", "2,0,2,0"},
        {"textcolor", "#FFFFFFFF"},
        {"disabledtextcolor", "#FFA7A6AA"},
        {"showhtml", "true"}}},
      {"begin",
       "Button",
       "btnInstall",
       "555,329,0,0",
       "115",
       "36",
       "继续",
       {{"textcolor", "#FFFFFFFF"}, {"disabledtextcolor", "#FF666666"}, {"font", "2"}, {"align", "center"}}},
      {"installing",
       "Label",
       "lblPercent",
       "40,133,0,0",
       "200",
       "20",
       "正在安装...(5%)",
       {{"textcolor", "#FFFFFFFF"}, {"font", "2"}}},
      {"installing",
       "Label",
       "lbl2",
       "40,161,0,0",
       "300",
       "20",
       "正在安装露摩游戏中心",
       {{"textcolor", "#FF999999"}, {"font", "2"}}},
      {"installing",
       "Progress",
       "progressBar",
       "40,187,0,0",
       "610",
       "18",
       nullptr,
       {{"bkimage", "picRes\\progress_bg.png"},
        {"foreimage", "picRes\\progress_bar.png"},
        {"align", "center"},
        {"min", "0"},
        {"max", "100"},
        {"value", "50"},
        {"hor", "true"},
        {"isstretchfore", "false"}}},
      {"end", "Label", "lbl3", "40,133,0,0", "80", "20", "安装完成", {{"textcolor", "#FFFFFFFF"}, {"font", "2"}}},
      {"end",
       "Option",
       "optPowerBoot",
       "41,163,0,0",
       "100",
       "16",
       "开机自动启动",
       {{"textpadding", "20,1,0,0"}, {"textcolor", "#FF999999"}, {"selected", "true"}}},
      {"end",
       "Option",
       "optQuietUpdater",
       "41,188,0,0",
       "100",
       "16",
       "开启静默更新",
       {{"textpadding", "20,1,0,0"}, {"textcolor", "#FF999999"}, {"selected", "true"}}},
      {"end",
       "Button",
       "btnDone",
       "555,329,0,0",
       "115",
       "36",
       "完成",
       {{"textcolor", "#FFFFFFFF"}, {"font", "2"}, {"align", "center"}}},
      {"_BG_",
       "Label",
       "lblTitle",
       "10,8,0,0",
       "160",
       "30",
       "露摩游戏中心安装",
       {{"textcolor", "#FFFFFFFF"}, {"disabledtextcolor", "#FFA7A6AA"}, {"font", "1"}}},
      {"_BG_",
       "Button",
       "btnClose",
       "656,17,0,0",
       "15",
       "15",
       nullptr,
       {{"textcolor", "#FF000000"}, {"disabledtextcolor", "#FFA7A6AA"}, {"align", "center"}}},
  };
  for (const ExpectedControl& e : expected) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(controls_.count(Wide(e.name))) << "missing control";
    const Control& control = controls_.at(Wide(e.name));
    EXPECT_EQ(control.type, Wide(e.type));
    EXPECT_EQ(control.parent, Wide(e.parent));
    EXPECT_EQ(Attribute(control.node, L"float"), L"true");
    EXPECT_EQ(Attribute(control.node, L"pos"), Wide(e.pos));
    EXPECT_EQ(Attribute(control.node, L"width"), Wide(e.width));
    EXPECT_EQ(Attribute(control.node, L"height"), Wide(e.height));
    if (e.text != nullptr) {
      EXPECT_EQ(Attribute(control.node, L"text"), Wide(e.text));
    }
    for (const auto& [attribute, value] : e.others) {
      EXPECT_EQ(Attribute(control.node, Wide(attribute)), Wide(value)) << attribute;
    }
  }
  EXPECT_EQ(controls_.size(), expected.size() + 5) << "the controls, the two layouts and the three pages";
}

std::wstring Strip(const char* file, int width, int height, int state) {
  const auto n = [](int v) { return std::to_wstring(v); };
  return L"file='picRes\\" + Wide(file) + L"' source='0," + n(state * height) + L"," + n(width) + L"," +
         n((state + 1) * height) + L"' dest='0,0," + n(width) + L"," + n(height) + L"'";
}

TEST_F(EmbeddedSkinTest, ButtonsCutTheirStatesFromVerticalStrips) {
  const struct {
    const char* name;
    const char* file;
    int width, height;
  } buttons[] = {{"btnDir", "btn_change.png", 54, 25},
                 {"btnInstall", "btn_blue.png", 115, 36},
                 {"btnDone", "btn_blue.png", 115, 36},
                 {"btnClose", "btn_close.png", 15, 15}};
  const wchar_t* states[] = {L"normalimage", L"hotimage", L"pushedimage", L"disabledimage"};
  for (const auto& b : buttons) {
    for (int state = 0; state < 4; ++state) {
      EXPECT_EQ(Attribute(NodeOf(Wide(b.name)), states[state]), Strip(b.file, b.width, b.height, state))
          << b.name << " " << platform::WideToUtf8(states[state]);
    }
  }
}

TEST_F(EmbeddedSkinTest, OptionsUseTheCheckBoxPictures) {
  for (const wchar_t* name : {L"optAgreement", L"optPowerBoot", L"optQuietUpdater"}) {
    const CSkinXmlNode option = NodeOf(name);
    EXPECT_EQ(Attribute(option, L"normalimage"), L"file='picRes\\ChoseBox_None_Normal.png' dest='0,0,16,16'");
    EXPECT_EQ(Attribute(option, L"hotimage"), L"file='picRes\\ChoseBox_None_Hover.png' dest='0,0,16,16'");
    EXPECT_EQ(Attribute(option, L"pushedimage"), L"file='picRes\\ChoseBox_None_Push.png' dest='0,0,16,16'");
    EXPECT_EQ(Attribute(option, L"selectedimage"), L"file='picRes\\ChoseBox_Normal.png' dest='0,0,16,16'");
  }
}

TEST_F(EmbeddedSkinTest, TheAgreementTextLinksTheThreeDocuments) {
  const std::wstring expected = L"{f 4}我已仔细阅读并同意{a " + Wide(lumo::build::kAgreementLicenseUrl) +
                                L"}《用户使用许可及服务协议》{/a}、{a " + Wide(lumo::build::kAgreementPrivacyUrl) +
                                L"}《隐私政策》{/a}和{a " + Wide(lumo::build::kAgreementChildrenPrivacyUrl) +
                                L"}《儿童隐私政策》{/a}{/f}";
  EXPECT_EQ(Attribute(NodeOf(L"lblAgreement"), L"text"), expected);
}

TEST_F(EmbeddedSkinTest, EveryPictureLoadsAtItsSize) {
  const struct {
    const wchar_t* name;
    int width, height;
  } pictures[] = {
      {L"picRes\\bg.png", 690, 380},
      {L"picRes\\btn_change.png", 54, 100},
      {L"picRes\\btn_blue.png", 115, 144},
      {L"picRes\\btn_close.png", 30, 60},
      {L"picRes\\ChoseBox_None_Normal.png", 16, 16},
      {L"picRes\\ChoseBox_None_Hover.png", 16, 16},
      {L"picRes\\ChoseBox_None_Push.png", 16, 16},
      {L"picRes\\ChoseBox_Normal.png", 16, 16},
      {L"picRes\\progress_bg.png", 610, 16},
      {L"picRes\\progress_bar.png", 610, 16},
  };
  for (const auto& p : pictures) {
    const auto image = Vellum::LoadSkinImage(p.name, 0);
    ASSERT_NE(image, nullptr) << platform::WideToUtf8(p.name);
    EXPECT_EQ(image->width, p.width) << platform::WideToUtf8(p.name);
    EXPECT_EQ(image->height, p.height) << platform::WideToUtf8(p.name);
  }
  EXPECT_FALSE(Vellum::LoadSkinImage(L"picRes\\bg.png", 0)->hasAlpha) << "the background is opaque";
}

}  // namespace
