#include "platform/ClipRegion.h"

#include <gtest/gtest.h>

namespace {

using platform::ClipRegion;
using platform::Rect;
using platform::RoundedRect;

TEST(ClipRegionTest, NarrowsByRectanglesAndRoundedRectangles) {
  const ClipRegion whole(Rect{0, 0, 100, 100});
  const ClipRegion narrowed = whole.Intersect(Rect{10, 10, 60, 200});
  EXPECT_EQ(narrowed.Box(), (Rect{10, 10, 60, 100}));
  const ClipRegion rounded = narrowed.Intersect(RoundedRect{{0, 0, 50, 50}, 8, 8});
  EXPECT_EQ(rounded.Box(), (Rect{10, 10, 50, 50}));
  ASSERT_EQ(rounded.rounded().size(), 1u);
  // The region it came from is a value and stays as it was.
  EXPECT_EQ(narrowed.rounded().size(), 0u);
}

TEST(ClipRegionTest, DisjointPartsLeaveNothing) {
  const ClipRegion region = ClipRegion(Rect{0, 0, 10, 10}).Intersect(Rect{20, 20, 30, 30});
  EXPECT_TRUE(region.IsEmpty());
  EXPECT_TRUE(region.Intersect(RoundedRect{{0, 0, 10, 10}, 4, 4}).rounded().empty());
}

TEST(ClipRegionTest, CornersWithoutSizeAreAPlainRectangle) {
  const ClipRegion region = ClipRegion(Rect{0, 0, 10, 10}).Intersect(RoundedRect{{2, 2, 8, 8}, 0, 5});
  EXPECT_EQ(region.Box(), (Rect{2, 2, 8, 8}));
  EXPECT_TRUE(region.rounded().empty());
}

}  // namespace
