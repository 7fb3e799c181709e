#include <gtest/gtest.h>

#include "tests/ui/ManagerFixture.h"

namespace {

using test::NamedControl;
using Vellum::CPaintManagerUI;

class RegistriesTest : public test::ManagerTest {};

TEST_F(RegistriesTest, FindsControlsByExactNameAndALaterControlOfTheNameWins) {
  NamedControl first(L"btnInstall");
  NamedControl second(L"btnInstall");
  NamedControl other(L"lblDir");
  manager_->AddNamedControl(first);
  manager_->AddNamedControl(other);
  EXPECT_EQ(manager_->FindControlByName(L"btnInstall"), &first);
  EXPECT_EQ(manager_->FindControlByName(L"btninstall"), nullptr);
  manager_->AddNamedControl(second);
  EXPECT_EQ(manager_->FindControlByName(L"btnInstall"), &second);
  EXPECT_EQ(manager_->FindControlByName(L"lblDir"), &other);
}

TEST_F(RegistriesTest, ControlsWithoutNameAreNotEntered) {
  NamedControl anonymous;
  manager_->AddNamedControl(anonymous);
  EXPECT_EQ(manager_->FindControlByName(L""), nullptr);
}

TEST_F(RegistriesTest, ADestroyedControlLeavesTheNameMapOnlyWhenTheEntryIsItsOwn) {
  NamedControl kept(L"tab");
  {
    NamedControl replaced(L"tab");
    replaced.SetManager(manager_.get(), nullptr, false);
    manager_->AddNamedControl(replaced);
    manager_->AddNamedControl(kept);
  }
  EXPECT_EQ(manager_->FindControlByName(L"tab"), &kept);
  {
    NamedControl gone(L"progressBar");
    gone.SetManager(manager_.get(), nullptr, false);
    manager_->AddNamedControl(gone);
  }
  EXPECT_EQ(manager_->FindControlByName(L"progressBar"), nullptr);
}

TEST_F(RegistriesTest, DefaultAttributeListsAreReplacedAndLookedUpWindowFirst) {
  EXPECT_EQ(manager_->DefaultAttributesFor(L"Button"), nullptr);
  manager_->SetDefaultAttributes(L"Button", L"textcolor=\"#FF000000\"", true);
  EXPECT_EQ(*manager_->DefaultAttributesFor(L"Button"), L"textcolor=\"#FF000000\"");
  manager_->SetDefaultAttributes(L"Button", L"font=\"1\"", false);
  EXPECT_EQ(*manager_->DefaultAttributesFor(L"Button"), L"font=\"1\"");
  manager_->SetDefaultAttributes(L"Button", L"font=\"0\"", false);
  EXPECT_EQ(*manager_->DefaultAttributesFor(L"Button"), L"font=\"0\"");
  // Another window sees only the shared list.
  CPaintManagerUI other(fonts_);
  EXPECT_EQ(*other.DefaultAttributesFor(L"Button"), L"textcolor=\"#FF000000\"");
}

TEST_F(RegistriesTest, TheFirstStyleTextOfANameStays) {
  manager_->AddStyleText(L"white", L"textcolor=\"#FFFFFFFF\"", false);
  manager_->AddStyleText(L"white", L"textcolor=\"#FF000000\"", false);
  EXPECT_EQ(*manager_->StyleText(L"white"), L"textcolor=\"#FFFFFFFF\"");
  manager_->AddStyleText(L"grey", L"textcolor=\"#FF999999\"", true);
  EXPECT_EQ(*manager_->StyleText(L"grey"), L"textcolor=\"#FF999999\"");
  EXPECT_EQ(manager_->StyleText(L"missing"), nullptr);
}

TEST_F(RegistriesTest, OptionGroupsKeepEachMemberOnceAndGoWithTheirLastMember) {
  NamedControl a;
  NamedControl b;
  EXPECT_EQ(manager_->OptionGroupMembers(L"pages"), nullptr);
  EXPECT_TRUE(manager_->JoinOptionGroup(L"pages", &a));
  EXPECT_FALSE(manager_->JoinOptionGroup(L"pages", &a));
  EXPECT_TRUE(manager_->JoinOptionGroup(L"pages", &b));
  EXPECT_EQ(*manager_->OptionGroupMembers(L"pages"), (std::vector<Vellum::CControlUI*>{&a, &b}));
  manager_->LeaveOptionGroup(L"pages", &a);
  EXPECT_EQ(*manager_->OptionGroupMembers(L"pages"), (std::vector<Vellum::CControlUI*>{&b}));
  manager_->LeaveOptionGroup(L"pages", &b);
  EXPECT_EQ(manager_->OptionGroupMembers(L"pages"), nullptr);
}

TEST_F(RegistriesTest, ADestroyedControlLeavesItsGroupsAndThePostPaintList) {
  NamedControl stays;
  {
    NamedControl gone;
    gone.SetManager(manager_.get(), nullptr, false);
    manager_->JoinOptionGroup(L"solo", &gone);
    manager_->JoinOptionGroup(L"pair", &gone);
    manager_->JoinOptionGroup(L"pair", &stays);
    manager_->AddPostPaintControl(&gone);
  }
  EXPECT_EQ(manager_->OptionGroupMembers(L"solo"), nullptr);
  EXPECT_EQ(*manager_->OptionGroupMembers(L"pair"), (std::vector<Vellum::CControlUI*>{&stays}));
  EXPECT_TRUE(manager_->PostPaintControls().empty());
}

TEST_F(RegistriesTest, ListenersPreFiltersAndPostPaintControlsAreKeptOnceInOrder) {
  struct Filter : Vellum::IMessageFilterUI {
    std::intptr_t FilterMessage(platform::MessageId, std::uintptr_t, std::intptr_t, bool&) override { return 0; }
  } f1, f2;
  EXPECT_TRUE(manager_->AddPreFilter(&f1));
  EXPECT_FALSE(manager_->AddPreFilter(&f1));
  EXPECT_TRUE(manager_->AddPreFilter(&f2));
  EXPECT_EQ(manager_->PreFilters(), (std::vector<Vellum::IMessageFilterUI*>{&f1, &f2}));
  EXPECT_TRUE(manager_->RemovePreFilter(&f1));
  EXPECT_FALSE(manager_->RemovePreFilter(&f1));
  NamedControl c;
  EXPECT_TRUE(manager_->AddPostPaintControl(&c));
  EXPECT_FALSE(manager_->AddPostPaintControl(&c));
  EXPECT_TRUE(manager_->RemovePostPaintControl(&c));
}

TEST_F(RegistriesTest, TheFiveDefaultColoursStartAsTheFrameworkSetsThem) {
  EXPECT_EQ(manager_->DefaultDisabledTextColor(), 0xFFA7A6AAu);
  EXPECT_EQ(manager_->DefaultTextColor(), 0xFF000000u);
  EXPECT_EQ(manager_->DefaultLinkColor(), 0xFF0000FFu);
  EXPECT_EQ(manager_->DefaultLinkHoverColor(), 0xFFD3215Fu);
  EXPECT_EQ(manager_->DefaultSelectedBkColor(), 0xFFBAE4FFu);
}

TEST_F(RegistriesTest, ASharedColourMovesAWindowColourOnlyWhenItWasTheSharedOne) {
  CPaintManagerUI other(fonts_);
  other.SetDefaultTextColor(0xFF123456, false);
  manager_->SetDefaultTextColor(0xFFFFFFFF, true);
  EXPECT_EQ(manager_->DefaultTextColor(), 0xFFFFFFFFu);
  EXPECT_EQ(other.DefaultTextColor(), 0xFF123456u);
  // A new window starts with the shared colour.
  EXPECT_EQ(CPaintManagerUI(fonts_).DefaultTextColor(), 0xFFFFFFFFu);
  manager_->SetDefaultLinkColor(0xFF00FF00, false);
  EXPECT_EQ(manager_->DefaultLinkColor(), 0xFF00FF00u);
  EXPECT_EQ(other.DefaultLinkColor(), 0xFF0000FFu);
}

TEST_F(RegistriesTest, WindowSettingsAreKept) {
  EXPECT_EQ(manager_->Opacity(), 255);
  EXPECT_EQ(manager_->HoverTime(), 400u);
  EXPECT_FALSE(manager_->IsLayered());
  manager_->SetInitialSize(690, 380);
  manager_->SetCaptionArea({0, 0, 0, 172});
  manager_->SetRoundCorner(4, 4);
  manager_->SetMinTrackSize(100, 50);
  manager_->SetMaxTrackSize(1000, 800);
  EXPECT_EQ(manager_->InitialSize(), (Vellum::Size{690, 380}));
  EXPECT_EQ(manager_->CaptionArea(), (Vellum::Rect{0, 0, 0, 172}));
  EXPECT_EQ(manager_->RoundCorner(), (Vellum::Size{4, 4}));
  EXPECT_EQ(manager_->MinTrackSize(), (Vellum::Size{100, 50}));
  EXPECT_EQ(manager_->MaxTrackSize(), (Vellum::Size{1000, 800}));
}

TEST_F(RegistriesTest, ScaleRoundsToTheNearestAndKeepsRectangleSizes) {
  EXPECT_EQ(manager_->Scale(37), 37);
  manager_->SetScalePercent(150);
  EXPECT_EQ(manager_->Scale(3), 5);  // 4.5 rounds away from zero
  EXPECT_EQ(manager_->Scale(-3), -5);
  EXPECT_EQ(manager_->Scale(10), 15);
  EXPECT_EQ(manager_->Scale(Vellum::Rect{1, 1, 4, 4}), (Vellum::Rect{2, 2, 7, 7}));
}

TEST_F(RegistriesTest, BindingAWindowClearsItsRegistries) {
  NamedControl named(L"lblTitle");
  manager_->AddNamedControl(named);
  manager_->AddStyleText(L"s", L"x", false);
  manager_->AddStyleText(L"shared", L"y", true);
  manager_->SetDefaultAttributes(L"Label", L"z", false);
  manager_->JoinOptionGroup(L"g", &named);
  manager_->AddFontById(1, L"Fixed", 14, false, false, false, false);
  manager_->BindWindow(nullptr, L"main");
  EXPECT_EQ(manager_->GetName(), L"main");
  EXPECT_EQ(manager_->FindControlByName(L"lblTitle"), nullptr);
  EXPECT_EQ(manager_->StyleText(L"s"), nullptr);
  EXPECT_NE(manager_->StyleText(L"shared"), nullptr);
  EXPECT_EQ(manager_->DefaultAttributesFor(L"Label"), nullptr);
  EXPECT_EQ(manager_->OptionGroupMembers(L"g"), nullptr);
  EXPECT_EQ(manager_->FontById(1), manager_->DefaultFontInfo().handle());
}

TEST_F(RegistriesTest, ImageSpecsAreParsedOncePerPairOfTexts) {
  const Vellum::SkinImageSpec* spec = manager_->ImageSpecFor(L"file='a.png'", L"dest='0,0,1,1'");
  ASSERT_NE(spec, nullptr);
  EXPECT_EQ(spec->imageName, L"a.png");
  EXPECT_EQ(manager_->ImageSpecFor(L"file='a.png'", L"dest='0,0,1,1'"), spec);
  EXPECT_NE(manager_->ImageSpecFor(L"file='a.png' dest='0,0,1,1'", L""), spec);
  EXPECT_EQ(manager_->ImageSpecFor(L"", L""), nullptr);
  // Pairs that join to the same text are parsed apart.
  EXPECT_EQ(manager_->ImageSpecFor(L"ab", L"c")->imageName, L"ab");
  EXPECT_EQ(manager_->ImageSpecFor(L"a", L"bc")->imageName, L"a");
}

}  // namespace
