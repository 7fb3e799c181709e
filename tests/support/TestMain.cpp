#include <gtest/gtest.h>

#include "platform/Process.h"
#include "platform/Text.h"

int main(int argc, char** argv) {
  platform::InitProcessLocale();
  platform::IgnoreBrokenPipes();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
