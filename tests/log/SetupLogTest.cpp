#include "log/SetupLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Text.h"
#include "tests/support/LogFiles.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLogSource[] = "SetupLogTest";

class SetupLogTest : public testing::Test {
 protected:
  ~SetupLogTest() override { CloseLog(); }

  fs::path Folder() const { return test::LogFolder(home_.config()); }
  fs::path Today() const { return test::TodaysLog(home_.config()); }

  // An old log file whose last write lies the given number of days back.
  void MakeOldLog(const std::string& name, int daysAgo) {
    test::WriteFile(Folder() / name, "old\r\n");
    fs::last_write_time(Folder() / name, fs::file_time_type::clock::now() - std::chrono::hours(24 * daysAgo));
  }

  std::set<std::string> FileNames() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder())) names.insert(entry.path().filename().string());
    return names;
  }

  test::TempHome home_;
};

TEST_F(SetupLogTest, FirstWriteCreatesTheFolderAndTodaysFileInTheLineFormat) {
  LGC_LOG(" lumogc_setup Start");
  WriteLog("plain %d %s", 42, "text");
  WriteLogW(L"wide %ls %s %d", L"安装", "narrow", 7);
  CloseLog();

  const std::string content = test::ReadFile(Today());
  const std::string expectedPid = "[LGC_SETUP:" + std::to_string(platform::CurrentProcessId()) + "] ";
  EXPECT_NE(content.find(expectedPid), std::string::npos) << content;
  const auto messages = test::LogMessages(Today());
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_TRUE(std::regex_match(messages[0], std::regex(R"(\[SetupLogTest:\d+\] lumogc_setup Start)"))) << messages[0];
  EXPECT_EQ(messages[1], "plain 42 text");
  EXPECT_EQ(messages[2], "wide 安装 narrow 7");
}

TEST_F(SetupLogTest, TodaysFileIsAppendedTo) {
  test::WriteFile(Today(), "earlier line\r\n");
  WriteLog("later line");
  CloseLog();
  const std::string content = test::ReadFile(Today());
  EXPECT_EQ(content.rfind("earlier line\r\n", 0), 0u) << content;
  EXPECT_NE(content.find("later line\r\n"), std::string::npos);
}

TEST_F(SetupLogTest, RotationKeepsTheSevenNewestLogFiles) {
  for (int i = 1; i <= 9; ++i) MakeOldLog("setup_log_2024010" + std::to_string(i) + ".log", 20 - i);
  fs::create_directories(Folder() / "x.log");
  fs::last_write_time(Folder() / "x.log", fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  MakeOldLog("notes.txt", 300);

  WriteLog("after rotation");

  auto names = FileNames();
  EXPECT_FALSE(names.count("setup_log_20240101.log"));
  EXPECT_FALSE(names.count("setup_log_20240102.log"));
  for (int i = 3; i <= 9; ++i) EXPECT_TRUE(names.count("setup_log_2024010" + std::to_string(i) + ".log")) << i;
  EXPECT_TRUE(names.count("x.log")) << "a folder named like a log is neither counted nor deleted";
  EXPECT_TRUE(names.count("notes.txt"));
  EXPECT_TRUE(names.count(Today().filename().string()));
  EXPECT_EQ(names.size(), 8u + 2u);
}

TEST_F(SetupLogTest, SevenOldFilesAreAllKept) {
  for (int i = 1; i <= 7; ++i) MakeOldLog("old" + std::to_string(i) + ".log", i);
  WriteLog("line");
  EXPECT_EQ(FileNames().size(), 8u);
}

TEST_F(SetupLogTest, FilesOfEqualAgeAreDeletedInListingOrder) {
  for (int i = 0; i < 9; ++i) MakeOldLog("same" + std::to_string(i) + ".LOG", 5);
  std::vector<std::wstring> listed;
  const auto entries = platform::ListDirectory(Folder().wstring());
  ASSERT_TRUE(entries);
  for (const auto& entry : *entries) listed.push_back(entry.name);

  WriteLog("line");

  const auto names = FileNames();
  EXPECT_FALSE(names.count(fs::path(listed[0]).string()));
  EXPECT_FALSE(names.count(fs::path(listed[1]).string()));
  for (size_t i = 2; i < listed.size(); ++i) EXPECT_TRUE(names.count(fs::path(listed[i]).string()));
}

TEST_F(SetupLogTest, WriteAfterCloseOpensAndRotatesAgain) {
  for (int i = 1; i <= 7; ++i) MakeOldLog("old" + std::to_string(i) + ".log", 10 + i);
  WriteLog("first run");
  CloseLog();
  MakeOldLog("older.log", 30);  // nine .log files now, today's among them

  WriteLog("second run");
  CloseLog();

  const auto names = FileNames();
  EXPECT_EQ(names.size(), 7u);
  EXPECT_FALSE(names.count("older.log"));
  EXPECT_FALSE(names.count("old7.log"));
  const auto messages = test::LogMessages(Today());
  EXPECT_EQ(messages, (std::vector<std::string>{"first run", "second run"}));
}

TEST_F(SetupLogTest, UnopenableLogDropsLinesAndRetriesOnEveryWrite) {
  // The settings folder is a file, so the log folder cannot exist.
  test::WriteFile(home_.config(), "not a folder");
  WriteLog("dropped");
  WriteLogW(L"dropped too");
  fs::remove(home_.config());

  WriteLog("kept");
  CloseLog();
  EXPECT_EQ(test::LogMessages(Today()), std::vector<std::string>{"kept"});
}

TEST_F(SetupLogTest, ConcurrentWritersNeverInterleaveLines) {
  constexpr int kThreads = 8;
  constexpr int kLinesPerThread = 400;
  const std::string payload(700, 'p');
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t, &payload] {
      for (int i = 0; i < kLinesPerThread; ++i) {
        if (i % 2 == 0) {
          WriteLog("t%d-%d %s", t, i, payload.c_str());
        } else {
          WriteLogW(L"t%d-%d %s", t, i, payload.c_str());
        }
        if (t == 0 && i % 100 == 99) CloseLog();
      }
    });
  }
  for (auto& writer : writers) writer.join();
  CloseLog();

  const auto messages = test::LogMessages(Today());
  ASSERT_EQ(messages.size(), size_t{kThreads * kLinesPerThread});
  std::set<std::string> seen;
  for (const auto& message : messages) {
    const auto blank = message.find(' ');
    ASSERT_NE(blank, std::string::npos) << message;
    EXPECT_EQ(message.substr(blank + 1), payload);
    seen.insert(message.substr(0, blank));
  }
  EXPECT_EQ(seen.size(), size_t{kThreads * kLinesPerThread});
}

TEST_F(SetupLogTest, OverlongMessagesAreCutAtACharacterAndTheLineStillEnds) {
  const std::string narrow = "n" + std::string(5000, 'x');
  WriteLog("%s", narrow.c_str());
  std::wstring wide(5000, L'中');
  WriteLogW(L"%ls", wide.c_str());
  std::string mixed(4090, 'a');
  mixed += "中中中";  // the cut falls inside these
  WriteLog("%s", mixed.c_str());
  CloseLog();

  const std::string content = test::ReadFile(Today());
  size_t start = 0;
  int lines = 0;
  for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
    ++lines;
    EXPECT_LE(end + 2 - start, 4095u) << "line " << lines;
  }
  EXPECT_EQ(start, content.size());
  EXPECT_EQ(lines, 3);
  const auto messages = test::LogMessages(Today());
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].find_first_not_of('x', 1), std::string::npos);
  EXPECT_EQ(messages[1].size() % 3, 0u) << "a wide character was split";
  EXPECT_EQ(messages[1].substr(0, 3), "中");
  EXPECT_EQ(platform::MultiByteCharacterBoundary(messages[2], messages[2].size()), messages[2].size());
}

}  // namespace
