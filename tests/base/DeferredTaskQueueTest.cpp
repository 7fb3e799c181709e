#include "base/DeferredTaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(DeferredTaskQueueTest, TasksFromThreeProducersRunInTheOrderOfTheirPosts) {
  DeferredTaskQueue queue;
  constexpr int kProducers = 3;
  constexpr int kTasksEach = 2000;
  constexpr int kTotal = kProducers * kTasksEach;

  // Taking a ticket and posting happen together, so the tickets give the order of the Post calls.
  std::mutex postOrder;
  int nextTicket = 0;
  std::vector<int> ran;
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p) {
    producers.emplace_back([&] {
      for (int i = 0; i < kTasksEach; ++i) {
        std::lock_guard guard(postOrder);
        const int ticket = nextTicket++;
        queue.Post([&ran, ticket] { ran.push_back(ticket); });
      }
    });
  }
  // The drain runs while the producers post, as the timer does.
  while (ran.size() < static_cast<std::size_t>(kTotal)) queue.RunPending();
  for (auto& producer : producers) producer.join();

  std::vector<int> expected(kTotal);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(ran, expected);
}

TEST(DeferredTaskQueueTest, ATaskPostedDuringADrainRunsInTheNextDrain) {
  DeferredTaskQueue queue;
  std::vector<std::string> ran;
  queue.Post([&] {
    ran.push_back("first");
    queue.Post([&] { ran.push_back("posted by first"); });
  });
  queue.Post([&] { ran.push_back("second"); });

  queue.RunPending();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
  queue.RunPending();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "posted by first"}));
}

TEST(DeferredTaskQueueTest, PostNeverRunsTheTask) {
  DeferredTaskQueue queue;
  bool ran = false;
  queue.Post([&] { ran = true; });
  EXPECT_FALSE(ran);
  queue.RunPending();
  EXPECT_TRUE(ran);
}

// Without the lock the empty check is only observable as: nothing runs, nothing is lost, and
// empty drains racing with a producer stay correct (the sanitizer builds check the race).
TEST(DeferredTaskQueueTest, DrainingAnEmptyQueueDoesNothing) {
  DeferredTaskQueue queue;
  queue.RunPending();
  std::atomic<bool> posted{false};
  int ran = 0;
  std::thread producer([&] {
    queue.Post([&] { ++ran; });
    posted = true;
  });
  while (!posted) queue.RunPending();
  producer.join();
  queue.RunPending();
  queue.RunPending();
  EXPECT_EQ(ran, 1);
}

TEST(DeferredTaskQueueTest, ReleaseDestroysPendingTasksWithoutRunningThem) {
  DeferredTaskQueue queue;
  auto token = std::make_shared<int>(0);
  bool ran = false;
  queue.Post([&ran, token] { ran = true; });
  queue.Post([&ran, token] { ran = true; });
  EXPECT_EQ(token.use_count(), 3);

  queue.Release();
  EXPECT_EQ(token.use_count(), 1) << "pending tasks are destroyed by Release";
  queue.RunPending();
  EXPECT_FALSE(ran);

  queue.Post([&ran, token] { ran = true; });
  EXPECT_EQ(token.use_count(), 1) << "a late task is destroyed at once";
  queue.RunPending();
  EXPECT_FALSE(ran);
}

TEST(DeferredTaskQueueTest, ANestedDrainOnTheDrainingThreadIsRefused) {
  DeferredTaskQueue queue;
  DeferredTaskQueue other;
  std::vector<std::string> ran;
  queue.Post([&] {
    ran.push_back("modal start");
    queue.Post([&] { ran.push_back("posted inside"); });
    // A modal loop inside a task keeps ticking the drain; another queue still drains.
    other.Post([&] { ran.push_back("other queue"); });
    other.RunPending();
    queue.RunPending();
    ran.push_back("modal end");
  });
  queue.Post([&] { ran.push_back("behind the modal"); });

  queue.RunPending();
  EXPECT_EQ(ran, (std::vector<std::string>{"modal start", "other queue", "modal end", "behind the modal"}));
  queue.RunPending();
  EXPECT_EQ(ran.back(), "posted inside");
}

TEST(DeferredTaskQueueTest, ADrainOnAnotherThreadIsNotNested) {
  DeferredTaskQueue queue;
  std::vector<std::string> ran;
  queue.Post([&] {
    ran.push_back("outer");
    queue.Post([&] { ran.push_back("drained elsewhere"); });
    std::thread([&] { queue.RunPending(); }).join();
  });
  queue.RunPending();
  EXPECT_EQ(ran, (std::vector<std::string>{"outer", "drained elsewhere"}));
}

TEST(DeferredTaskQueueTest, EveryThreadGetsTheSameInstance) {
  std::mutex lock;
  std::set<DeferredTaskQueue*> seen;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      DeferredTaskQueue* queue = &DeferredTaskQueue::Instance();
      std::lock_guard guard(lock);
      seen.insert(queue);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
