#include <gtest/gtest.h>

#include <functional>

#include "platform/HeadlessWindow.h"
#include "tests/ui/ManagerFixture.h"

namespace {

using test::NamedControl;
using Vellum::CPaintManagerUI;
using Vellum::UiNotify;

// A window whose procedure hands the manager its asynchronous-work and timer messages, as the
// window's message handling does.
class NotificationsTest : public test::ManagerTest {
 protected:
  NotificationsTest() { manager_->BindWindow(&window_, L"main"); }
  ~NotificationsTest() override { manager_.reset(); }

  void Route(const platform::WindowMessage& m) {
    ++messages_;
    if (m.message == CPaintManagerUI::kAsyncNotifyMessage) manager_->HandleAsyncWork();
  }

  int messages_ = 0;
  platform::HeadlessWindow window_{[this](const platform::WindowMessage& m) { Route(m); }};
};

struct Recorder : Vellum::INotifyUI {
  explicit Recorder(std::vector<std::wstring>& into, std::wstring prefix = L"") : log(into), tag(std::move(prefix)) {}
  void HandleNotification(UiNotify& notify) override {
    log.push_back(tag + notify.Type);
    senders.push_back(notify.Sender);
    params.push_back(notify.wParam);
    if (onNotify) onNotify(notify);
  }
  std::vector<std::wstring>& log;
  std::wstring tag;
  std::vector<Vellum::CControlUI*> senders;
  std::vector<std::uintptr_t> params;
  std::function<void(UiNotify&)> onNotify;
};

TEST_F(NotificationsTest, ImmediateDeliveryRunsTheSendersListenersThenEveryListenerInOrder) {
  std::vector<std::wstring> log;
  Recorder first(log, L"1:");
  Recorder second(log, L"2:");
  EXPECT_TRUE(manager_->AddListener(&first));
  EXPECT_FALSE(manager_->AddListener(&first));
  manager_->AddListener(&second);
  NamedControl button(L"btnInstall");
  button.OnNotify.Add([&](UiNotify& n) {
    log.push_back(L"own:" + n.Type);
    return true;
  });
  manager_->SetLastMousePosition({600, 340});
  manager_->SendNotification(&button, Vellum::kNotifyClick, 7, 9);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"own:click", L"1:click", L"2:click"}));
  EXPECT_EQ(first.senders.back(), &button);
  EXPECT_EQ(first.params.back(), 7u);
  EXPECT_EQ(messages_, 0);
}

TEST_F(NotificationsTest, TheNotificationCarriesTheMousePositionAndTheTime) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  UiNotify seen;
  recorder.onNotify = [&](UiNotify& n) { seen = n; };
  manager_->AddListener(&recorder);
  manager_->SetLastMousePosition({12, 34});
  manager_->SendNotification(nullptr, Vellum::kNotifyWindowInit);
  EXPECT_EQ(seen.MousePoint, (Vellum::Point{12, 34}));
  EXPECT_NE(seen.Timestamp, 0u);
  EXPECT_TRUE(seen.VirtualWindow.empty());
}

TEST_F(NotificationsTest, AListenerRemovedDuringDeliveryIsNotCalledAnyMore) {
  std::vector<std::wstring> log;
  Recorder first(log, L"1:");
  Recorder second(log, L"2:");
  first.onNotify = [&](UiNotify&) { manager_->RemoveListener(&second); };
  manager_->AddListener(&first);
  manager_->AddListener(&second);
  manager_->SendNotification(nullptr, Vellum::kNotifyClick);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"1:click"}));
}

TEST_F(NotificationsTest, ANotificationQueuedFromAListenerComesAfterTheCurrentMessage) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  NamedControl root(L"_BG_");
  recorder.onNotify = [&](UiNotify& n) {
    if (n.Type == Vellum::kNotifyClick) manager_->SendNotification(&root, Vellum::kNotifyWindowSize, 0, 0, true);
    log.push_back(L"end of " + n.Type);
  };
  manager_->AddListener(&recorder);
  manager_->SendNotification(&root, Vellum::kNotifyClick);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"click", L"end of click"}));
  EXPECT_EQ(window_.PumpPending(), 1);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"click", L"end of click", L"windowsize", L"end of windowsize"}));
  EXPECT_EQ(recorder.senders.back(), &root);
}

TEST_F(NotificationsTest, QueuedNotificationsArriveInOrderBehindOnePostedMessage) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  manager_->AddListener(&recorder);
  manager_->SendNotification(nullptr, L"first", 0, 0, true);
  manager_->SendNotification(nullptr, L"second", 0, 0, true);
  manager_->SendNotification(nullptr, L"third", 0, 0, true);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(window_.PumpPending(), 1);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"first", L"second", L"third"}));
}

TEST_F(NotificationsTest, DeliveriesMayQueueMoreWhichFollowInTheSamePass) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  recorder.onNotify = [&](UiNotify& n) {
    if (n.Type == L"first") manager_->SendNotification(nullptr, L"follow-up", 0, 0, true);
  };
  manager_->AddListener(&recorder);
  manager_->SendNotification(nullptr, L"first", 0, 0, true);
  window_.PumpPending();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"first", L"follow-up"}));
}

TEST_F(NotificationsTest, AQueuedNotificationWhoseSenderWasDestroyedArrivesWithoutSender) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  manager_->AddListener(&recorder);
  {
    NamedControl sender(L"btnDone");
    sender.SetManager(manager_.get(), nullptr, false);
    manager_->SendNotification(&sender, Vellum::kNotifyClick, 0, 0, true);
  }
  window_.PumpPending();
  ASSERT_EQ(log, (std::vector<std::wstring>{L"click"}));
  EXPECT_EQ(recorder.senders[0], nullptr);
}

TEST_F(NotificationsTest, DeleteLaterDestroysTheControlFromTheAsynchronousWork) {
  bool destroyed = false;
  auto control = std::make_unique<NamedControl>(L"oldRoot");
  control->OnDestroy.Add([&](Vellum::CControlUI&) {
    destroyed = true;
    return true;
  });
  NamedControl* raw = control.get();
  manager_->DeleteLater(std::move(control));
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(raw->GetManager(), manager_.get());
  EXPECT_EQ(raw->GetParent(), nullptr);
  window_.PumpPending();
  EXPECT_TRUE(destroyed);
}

TEST_F(NotificationsTest, TheVirtualWindowIsFilledInOnceAControlUsesOne) {
  std::vector<std::wstring> log;
  Recorder recorder(log);
  UiNotify seen;
  recorder.onNotify = [&](UiNotify& n) { seen = n; };
  manager_->AddListener(&recorder);
  NamedControl page(L"begin");
  NamedControl child(L"btnDir");
  page.SetManager(manager_.get(), nullptr, false);
  child.SetManager(manager_.get(), &page, false);
  manager_->SendNotification(&child, Vellum::kNotifyClick);
  EXPECT_TRUE(seen.VirtualWindow.empty());
  page.SetVirtualWindow(L"pageBegin");
  EXPECT_TRUE(manager_->IsUsedVirtualWindow());
  manager_->SendNotification(&child, Vellum::kNotifyClick);
  EXPECT_EQ(seen.VirtualWindow, L"pageBegin");
}

TEST_F(NotificationsTest, WithoutAWindowQueuedWorkWaitsForTheNextPass) {
  CPaintManagerUI unbound(fonts_);
  std::vector<std::wstring> log;
  Recorder recorder(log);
  unbound.AddListener(&recorder);
  unbound.SendNotification(nullptr, L"later", 0, 0, true);
  EXPECT_TRUE(log.empty());
  unbound.HandleAsyncWork();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"later"}));
}

}  // namespace
