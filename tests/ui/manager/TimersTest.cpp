#include <gtest/gtest.h>

#include <map>

#include "platform/HeadlessWindow.h"
#include "tests/ui/ManagerFixture.h"

namespace {

using namespace std::chrono_literals;
using test::NamedControl;
using Vellum::CPaintManagerUI;

// A window that records its timers instead of running them.
class TimerLog final : public platform::NativeWindow {
 public:
  bool IsAlive() const override { return alive; }
  bool PostMessage(const platform::WindowMessage&) override { return alive; }
  bool SetTimer(unsigned id, unsigned intervalMs) override {
    if (!alive || refuse) return false;
    running[id] = intervalMs;
    started.push_back(id);
    return true;
  }
  bool KillTimer(unsigned id) override { return running.erase(id) > 0; }

  bool alive = true;
  bool refuse = false;
  std::map<unsigned, unsigned> running;
  std::vector<unsigned> started;
};

class TimersTest : public test::ManagerTest {
 protected:
  TimersTest() { manager_->BindWindow(&window_, L"main"); }
  ~TimersTest() override { manager_.reset(); }

  TimerLog window_;
};

TEST_F(TimersTest, TheFirstTimersGetWindowIds17And18And19) {
  NamedControl a;
  NamedControl b;
  EXPECT_TRUE(manager_->SetControlTimer(&a, 1, 100));
  EXPECT_TRUE(manager_->SetControlTimer(&a, 2, 200));
  EXPECT_TRUE(manager_->SetControlTimer(&b, 1, 300));
  EXPECT_EQ(window_.started, (std::vector<unsigned>{17, 18, 19}));
  EXPECT_EQ(window_.running.at(18), 200u);
  manager_->KillControlTimers(&a);
  manager_->KillControlTimers(&b);
}

TEST_F(TimersTest, WindowIdsWrapToZeroAfter239) {
  std::vector<std::unique_ptr<NamedControl>> controls;
  for (int i = 0; i < 224; ++i) {
    controls.push_back(std::make_unique<NamedControl>());
    ASSERT_TRUE(manager_->SetControlTimer(controls.back().get(), 1, 10));
  }
  EXPECT_EQ(window_.started[222], 239u);
  EXPECT_EQ(window_.started[223], 0u);
  for (auto& c : controls) manager_->KillControlTimers(c.get());
}

TEST_F(TimersTest, AnIdStillHeldByATimerIsPassedOver) {
  std::vector<std::unique_ptr<NamedControl>> controls;
  NamedControl longLived;
  ASSERT_TRUE(manager_->SetControlTimer(&longLived, 1, 10));  // 17
  // Start and stop enough timers for the counter to come round to 17 again.
  for (int i = 0; i < 239; ++i) {
    NamedControl passing;
    ASSERT_TRUE(manager_->SetControlTimer(&passing, 1, 10));
    manager_->KillControlTimers(&passing);
  }
  NamedControl next;
  ASSERT_TRUE(manager_->SetControlTimer(&next, 1, 10));
  EXPECT_EQ(window_.started.back(), 18u);
  EXPECT_EQ(window_.running.count(17), 1u);
  manager_->KillControlTimers(&longLived);
  manager_->KillControlTimers(&next);
}

TEST_F(TimersTest, AKilledTimerRestartsWithItsOldIdAndALiveOneIsNotStartedTwice) {
  NamedControl c;
  ASSERT_TRUE(manager_->SetControlTimer(&c, 5, 100));
  EXPECT_FALSE(manager_->SetControlTimer(&c, 5, 100));
  EXPECT_TRUE(manager_->KillControlTimer(&c, 5));
  EXPECT_FALSE(manager_->KillControlTimer(&c, 5));
  EXPECT_TRUE(window_.running.empty());
  EXPECT_TRUE(manager_->SetControlTimer(&c, 5, 250));
  EXPECT_EQ(window_.started, (std::vector<unsigned>{17, 17}));
  EXPECT_EQ(window_.running.at(17), 250u);
  // KillControlTimers deletes the records: a new start takes a new id.
  manager_->KillControlTimers(&c);
  EXPECT_TRUE(window_.running.empty());
  EXPECT_TRUE(manager_->SetControlTimer(&c, 5, 100));
  EXPECT_EQ(window_.started.back(), 18u);
  manager_->KillControlTimers(&c);
}

TEST_F(TimersTest, ATimerTheWindowRefusesIsNotRecorded) {
  NamedControl c;
  window_.refuse = true;
  EXPECT_FALSE(manager_->SetControlTimer(&c, 1, 100));
  window_.refuse = false;
  EXPECT_FALSE(manager_->KillControlTimer(&c, 1));
  EXPECT_FALSE(manager_->HandleTimerMessage(17, 0));
}

TEST_F(TimersTest, WithoutAWindowNoTimerStarts) {
  CPaintManagerUI unbound(fonts_);
  NamedControl c;
  EXPECT_FALSE(unbound.SetControlTimer(&c, 1, 100));
}

TEST_F(TimersTest, ADestroyedControlTakesItsTimersWithIt) {
  {
    NamedControl c;
    c.SetManager(manager_.get(), nullptr, false);
    manager_->SetControlTimer(&c, 1, 100);
    manager_->SetControlTimer(&c, 2, 100);
  }
  EXPECT_TRUE(window_.running.empty());
  EXPECT_FALSE(manager_->HandleTimerMessage(17, 0));
}

TEST_F(TimersTest, ATickReachesItsControlAsATimerEventAndBecomesATimerNotification) {
  NamedControl c(L"progress");
  c.SetManager(manager_.get(), nullptr, false);
  struct Listener : Vellum::INotifyUI {
    void HandleNotification(Vellum::UiNotify& n) override { seen.push_back(n); }
    std::vector<Vellum::UiNotify> seen;
  } listener;
  manager_->AddListener(&listener);
  manager_->SetControlTimer(&c, 42, 50);
  EXPECT_TRUE(manager_->HandleTimerMessage(17, 99));
  ASSERT_EQ(c.events.size(), 1u);
  EXPECT_EQ(c.events[0].Type, Vellum::EVENT_TIMER);
  EXPECT_EQ(c.events[0].Sender, &c);
  EXPECT_EQ(c.events[0].wParam, 42u);
  EXPECT_EQ(c.events[0].lParam, 99);
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].Type, Vellum::kNotifyTimer);
  EXPECT_EQ(listener.seen[0].wParam, 42u);
  manager_->KillControlTimer(&c, 42);
  EXPECT_FALSE(manager_->HandleTimerMessage(17, 0));
}

TEST(HeadlessTimersTest, ControlTimersReallyFireThroughTheWindowLoop) {
  Vellum::CPaintManagerUI::ReleaseSharedRegistries();
  platform::fake::FixedWidthFonts fonts;
  auto manager = std::make_unique<CPaintManagerUI>(fonts);
  platform::HeadlessWindow window([&](const platform::WindowMessage& m) {
    if (m.message == platform::kTimerMessage) manager->HandleTimerMessage(m.wParam, m.lParam);
  });
  manager->BindWindow(&window, L"main");
  NamedControl c;
  c.SetManager(manager.get(), nullptr, false);
  ASSERT_TRUE(manager->SetControlTimer(&c, 3, 1));
  EXPECT_TRUE(window.PumpUntil([&] { return c.events.size() >= 3; }, 10s));
  EXPECT_EQ(c.events[2].wParam, 3u);
  manager->KillControlTimers(&c);
  c.SetManager(nullptr, nullptr, false);
  manager.reset();
  Vellum::CPaintManagerUI::ReleaseSharedRegistries();
}

}  // namespace
