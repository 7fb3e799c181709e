#include <gtest/gtest.h>

#include "tests/ui/ManagerFixture.h"

namespace {

class ImageCacheTest : public test::ManagerTest {};

TEST_F(ImageCacheTest, ANameThatCannotBeLoadedGivesNothingAndIsNotRemembered) {
  EXPECT_EQ(manager_->FindOrLoadImage(L"picRes\\missing.png", L"", 0, false, nullptr), nullptr);
  EXPECT_EQ(manager_->FindImage(L"picRes\\missing.png"), nullptr);
  EXPECT_EQ(manager_->RegisterImage(L"", L"", 0, false, false, nullptr), nullptr);
}

}  // namespace
