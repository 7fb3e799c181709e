#include "app/EntryPoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/SingleInstance.h"
#include "tests/support/LogFiles.h"
#include "tests/support/Subprocess.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

TEST(EntryPointTest, RunWritesTheStartAndExitLinesAndReturnsZero) {
  test::TempHome home;
  EXPECT_EQ(test::RunProgram(LUMOGC_SETUP_PATH), 0);

  const auto log = test::TodaysLog(home.config());
  const auto messages = test::LogMessages(log);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_TRUE(std::regex_match(messages.front(), std::regex(R"(\[main:\d+\] lumogc_setup Start)"))) << messages.front();
  EXPECT_TRUE(std::regex_match(messages.back(), std::regex(R"(\[main:\d+\]installer Exit )"))) << messages.back();
  const std::string content = test::ReadFile(log);
  EXPECT_EQ(content.substr(content.size() - 11), "Exit \r\n\r\n\r\n") << "the exit line ends in two CR LF pairs";
}

TEST(EntryPointTest, SecondInstanceExitsAtOnceAndWritesNothing) {
  test::TempHome home;
  // This test process plays the running installer by holding the token.
  platform::SingleInstanceLock running(L"LUMO_GAME_CENTER_INSTALLER");
  ASSERT_EQ(running.state(), platform::SingleInstanceLock::State::Acquired);

  EXPECT_EQ(test::RunProgram(LUMOGC_SETUP_PATH), 0);
  EXPECT_FALSE(fs::exists(test::LogFolder(home.config())));
  EXPECT_FALSE(fs::exists(home.cache()));
}

class FailingComRuntime final : public platform::ComRuntime {
 public:
  bool Initialize() override { return false; }
  void Uninitialize() override { ++uninitializeCalls; }
  int uninitializeCalls = 0;
};

TEST(EntryPointTest, ComFailureIsLoggedAndTheRunStillEndsWithTheExitLine) {
  test::TempHome home;
  FailingComRuntime com;
  const platform::Module program(L"/nowhere/lumogc_setup", {}, {});
  EXPECT_EQ(RunInstaller(program, com), 0);
  EXPECT_EQ(com.uninitializeCalls, 0);

  const auto messages = test::LogMessages(test::TodaysLog(home.config()));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[1], "EventReport:DLR_STR");
  EXPECT_TRUE(std::regex_match(messages[2], std::regex(R"(\[main:\d+\] ::CoInitialize failed)"))) << messages[2];
  EXPECT_EQ(messages[3], "EventReport:DLR_ERR");
  EXPECT_TRUE(std::regex_match(messages[4], std::regex(R"(\[main:\d+\]installer Exit )"))) << messages[4];
}

// Looks at the setup log at the moment COM is brought up.
class LogReadingComRuntime final : public platform::ComRuntime {
 public:
  explicit LogReadingComRuntime(std::filesystem::path log) : log_(std::move(log)) {}
  bool Initialize() override {
    messagesAtInitialize = test::LogMessages(log_);
    return true;
  }
  void Uninitialize() override {}
  std::vector<std::string> messagesAtInitialize;

 private:
  std::filesystem::path log_;
};

TEST(EntryPointTest, StartIsReportedBeforeComIsInitialisedAndOnlyOnce) {
  test::TempHome home;
  LogReadingComRuntime com(test::TodaysLog(home.config()));
  const platform::Module program(L"/nowhere/lumogc_setup", {}, {});
  EXPECT_EQ(RunInstaller(program, com), 0);

  ASSERT_FALSE(com.messagesAtInitialize.empty());
  EXPECT_EQ(com.messagesAtInitialize.back(), "EventReport:DLR_STR");
  const auto messages = test::LogMessages(test::TodaysLog(home.config()));
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "EventReport:DLR_STR"), 1);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "EventReport:DLR_ERR"), 0);
}

}  // namespace
