#include "platform/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using platform::HeadlessWindow;
using platform::WindowMessage;

constexpr auto kGenerousLimit = 10s;

TEST(HeadlessWindowTest, PostedMessagesArriveInOrderAndNeverInsidePost) {
  std::vector<platform::MessageId> seen;
  HeadlessWindow window([&](const WindowMessage& m) { seen.push_back(m.message); });
  EXPECT_TRUE(window.PostMessage({0x8001, 1, 2}));
  EXPECT_TRUE(window.PostMessage({0x8002, 0, 0}));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(window.PumpPending(), 2);
  EXPECT_EQ(seen, (std::vector<platform::MessageId>{0x8001, 0x8002}));
}

TEST(HeadlessWindowTest, MessagesPostedFromOtherThreadsWakeTheLoop) {
  int received = 0;
  HeadlessWindow window([&](const WindowMessage&) { ++received; });
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i) window.PostMessage({0x8001, 0, 0});
  });
  EXPECT_TRUE(window.PumpUntil([&] { return received == 100; }, kGenerousLimit));
  poster.join();
}

TEST(HeadlessWindowTest, ATimerReallyFiresUntilItIsKilled) {
  int ticks = 0;
  HeadlessWindow* self = nullptr;
  HeadlessWindow window([&](const WindowMessage& m) {
    ASSERT_EQ(m.message, platform::kTimerMessage);
    EXPECT_EQ(m.wParam, 17u);
    if (++ticks == 3) self->KillTimer(17);
  });
  self = &window;
  ASSERT_TRUE(window.SetTimer(17, 1));
  EXPECT_TRUE(window.PumpUntil([&] { return ticks == 3; }, kGenerousLimit));
  EXPECT_FALSE(window.KillTimer(17));
  EXPECT_EQ(window.PumpPending(), 0);
}

TEST(HeadlessWindowTest, TimersFollowTheGivenClockAndDoNotMakeUpMissedTicks) {
  auto now = std::chrono::steady_clock::time_point{};
  std::vector<std::uintptr_t> ticks;
  HeadlessWindow window([&](const WindowMessage& m) { ticks.push_back(m.wParam); }, [&] { return now; });
  window.SetTimer(5, 50);
  window.SetTimer(6, 20);
  EXPECT_EQ(window.PumpPending(), 0);
  now += 25ms;
  EXPECT_EQ(window.PumpPending(), 1);
  now += 500ms;
  // Both are overdue by many periods; each ticks once, the longer overdue first.
  EXPECT_EQ(window.PumpPending(), 2);
  EXPECT_EQ(ticks, (std::vector<std::uintptr_t>{6, 6, 5}));
}

TEST(HeadlessWindowTest, PostedMessagesGoBeforeDueTimers) {
  auto now = std::chrono::steady_clock::time_point{};
  std::vector<platform::MessageId> seen;
  HeadlessWindow window([&](const WindowMessage& m) { seen.push_back(m.message); }, [&] { return now; });
  window.SetTimer(1, 10);
  now += 10ms;
  window.PostMessage({0x8001, 0, 0});
  window.PumpPending();
  EXPECT_EQ(seen, (std::vector<platform::MessageId>{0x8001, platform::kTimerMessage}));
}

TEST(HeadlessWindowTest, ADestroyedWindowTakesNothingMore) {
  int received = 0;
  HeadlessWindow window([&](const WindowMessage&) { ++received; });
  window.PostMessage({0x8001, 0, 0});
  window.SetTimer(1, 1);
  window.Destroy();
  EXPECT_FALSE(window.IsAlive());
  EXPECT_FALSE(window.PostMessage({0x8001, 0, 0}));
  EXPECT_FALSE(window.SetTimer(2, 1));
  EXPECT_EQ(window.PumpPending(), 0);
  EXPECT_EQ(received, 0);
}

}  // namespace
