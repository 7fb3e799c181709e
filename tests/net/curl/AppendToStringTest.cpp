#include "net/curl/AppendToString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AppendToStringTest, AppendsEveryByteAndReportsThem) {
  std::string target = "ab";
  char data[] = {'c', '\0', 'd'};
  EXPECT_EQ(nbt::AppendToString(data, 1, 3, &target), 3u);
  EXPECT_EQ(target, std::string("abc\0d", 5));
}

TEST(AppendToStringTest, MissingTargetOrDataIsRefused) {
  std::string target;
  char data[] = "x";
  const auto refused = static_cast<std::size_t>(-1);
  EXPECT_EQ(nbt::AppendToString(data, 1, 1, nullptr), refused);
  EXPECT_EQ(nbt::AppendToString(nullptr, 1, 1, &target), refused);
  EXPECT_TRUE(target.empty());
}

}  // namespace
