#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/DeferredTaskQueue.h"
#include "net/download/nbt_pice_downloader.h"
#include "tests/net/download/DownloaderFixture.h"
#include "tests/support/TempHome.h"
#include "tools/testca/TestCa.h"

namespace downloader_test {
namespace {

using namespace std::chrono_literals;
using nbt::DownloaderStatus;
using nbt::DownloadWait;

using DownloaderTest = DownloaderServiceTest;

struct PieceCase {
  const char* name;
  std::uint32_t pieceCount;
  std::uint32_t lastPieceSize;
  std::vector<std::string> ranges;  // sorted
};

TEST_F(DownloaderTest, DownloadsEachFileInWholePiecesWithTheExactRanges) {
  const PieceCase cases[] = {
      {"package.bin", 3, 402'848, {"bytes=0-1048575", "bytes=1048576-2097151", "bytes=2097152-3145727"}},
      {"two-mib.bin", 2, 0, {"bytes=0-1048575", "bytes=1048576-2097151"}},
      {"small.bin", 1, 700'000, {"bytes=0-1048575"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t size = Content(c.name).size();
    const Reports reports = DownloadToEnd(InfoFor(c.name));

    const auto finals = reports.Finals();
    ASSERT_EQ(finals.size(), 1u);
    const Report& final = finals.front();
    EXPECT_EQ(final.status, DownloaderStatus::FINISHED);
    EXPECT_EQ(final.downloaded, static_cast<std::int64_t>(size));
    EXPECT_EQ(final.total, static_cast<std::int64_t>(size));
    EXPECT_EQ(final.info.fileSize, size);
    EXPECT_EQ(final.info.pieceCount, c.pieceCount);
    EXPECT_EQ(final.info.pieceSize, kMiB);
    EXPECT_EQ(final.info.lastPieceSize, c.lastPieceSize);
    EXPECT_EQ(final.info.url, Url(c.name));
    EXPECT_TRUE(final.onDrainThread);
    // The final report is the last one; every earlier one is progress in whole pieces.
    EXPECT_EQ(reports.all().back().status, DownloaderStatus::FINISHED);
    for (const auto& report : reports.all()) {
      EXPECT_TRUE(report.onDrainThread);
      if (report.status != DownloaderStatus::DOWNLOADING) continue;
      EXPECT_EQ(report.total, static_cast<std::int64_t>(size));
      // Whole written pieces, the short last one perhaps among them.
      EXPECT_TRUE(report.downloaded % kMiB == 0 || report.downloaded % kMiB == c.lastPieceSize) << report.downloaded;
    }

    EXPECT_EQ(HeadRequestsFor(c.name), 1);
    EXPECT_EQ(RangesAskedFor(c.name), c.ranges);
    EXPECT_EQ(test::ReadFile(Target(c.name)), Content(c.name));
  }
}

TEST_F(DownloaderTest, DownloadsOverPlainHttpToo) {
  const Reports reports = DownloadToEnd(InfoFor("package.bin", Scheme::Http));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
}

TEST_F(DownloaderTest, ProgressComesFromTheMonitorAtItsPeriodAndNeverAfterTheFinalReport) {
  // Slow pieces keep the download going for several monitor periods.
  ASSERT_TRUE(service_->AddFault("file:package.bin:slow=200,method=GET"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ASSERT_TRUE(reports.HasFinal());
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_GE(reports.size(), 2u) << "at least one progress report before the final one";
  EXPECT_EQ(reports.all().front().status, DownloaderStatus::DOWNLOADING);
  EXPECT_EQ(reports.all().front().downloaded, 0);
  EXPECT_GE(waits_->Count(DownloadWait::Monitor), 1);
  EXPECT_EQ(waits_->NominalMin(DownloadWait::Monitor), 100ms);
  EXPECT_EQ(waits_->NominalMax(DownloadWait::Monitor), 100ms);
  EXPECT_EQ(waits_->NominalMax(DownloadWait::Writer), 100ms);
  std::int64_t previous = 0;
  for (const auto& report : reports.all()) {
    EXPECT_GE(report.downloaded, previous);
    previous = report.downloaded;
  }
}

TEST_F(DownloaderTest, AKnownSizeSkipsTheHeadRequest) {
  auto info = InfoFor("package.bin");
  info.fileSize = 2'500'000;
  const Reports reports = DownloadToEnd(info);
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_EQ(HeadRequestsFor("package.bin"), 0);
  EXPECT_EQ(RangesAskedFor("package.bin").size(), 3u);
  EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
}

TEST_F(DownloaderTest, ReportsGoToTheGivenPosterAndNotToTheProcesssQueue) {
  DeferredTaskQueue queue;
  auto settings = FastSettings();
  settings.poster = &queue;
  nbt::PiceDownloader downloader(settings);
  std::vector<DownloaderStatus> statuses;
  ASSERT_EQ(downloader.Download(InfoFor("small.bin"),
                                [&statuses](DownloaderStatus status, std::int64_t, std::int64_t,
                                            nbt::loadFileInfo_t*) { statuses.push_back(status); }),
            0);
  const auto giveUp = std::chrono::steady_clock::now() + 30s;
  while ((statuses.empty() || statuses.back() == DownloaderStatus::DOWNLOADING) &&
         std::chrono::steady_clock::now() < giveUp) {
    queue.RunPending();
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), DownloaderStatus::FINISHED);
  // Nothing went to the process's queue.
  DeferredTaskQueue::Instance().RunPending();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), DownloaderStatus::FINISHED), 1);
}

TEST_F(DownloaderTest, AHeadAnsweredWithNotFoundFailsWithTheResponseCodeLine) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:status=404,method=HEAD"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FAILED);
  EXPECT_TRUE(RangesAskedFor("package.bin").empty());
  const std::string line = "getFileSize Failed url:" + Url("package.bin") + " res=0 ErrStr:No error http code:404";
  const auto messages = LogMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("[nbt_pice_downloader:")) << messages[0];
  EXPECT_TRUE(messages[0].ends_with("] " + line)) << messages[0];
}

TEST_F(DownloaderTest, APieceThatFailsTwiceIsFetchedOnTheThirdAttempt) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:reset,first=1048576,count=2"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
  const auto ranges = RangesAskedFor("package.bin");
  EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=1048576-2097151"), 3);
  // Two waits of 1000 ms between the three attempts.
  EXPECT_EQ(waits_->Count(DownloadWait::Retry), 2);
  EXPECT_EQ(waits_->NominalTotal(DownloadWait::Retry), 2000ms);
}

TEST_F(DownloaderTest, APieceThatFailsThreeTimesFailsTheDownload) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:reset,first=2097152"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FAILED);
  const auto ranges = RangesAskedFor("package.bin");
  EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=2097152-3145727"), 3);
  EXPECT_EQ(waits_->Count(DownloadWait::Retry), 2);
}

TEST_F(DownloaderTest, CancelEndsEveryThreadWithoutAFinalReportAndStopsTheProgress) {
  // The last piece never arrives, so the download stays in progress until it is cancelled.
  ASSERT_TRUE(service_->AddFault("file:package.bin:stall=1000,first=2097152"));
  Reports reports;
  {
    nbt::PiceDownloader downloader(FastSettings());
    ASSERT_EQ(downloader.Download(InfoFor("package.bin"), reports.Callback()), 0);
    ASSERT_TRUE(DrainUntil([&] { return !reports.all().empty() && reports.all().back().downloaded == 2 * kMiB; }));
    // Several monitor periods without a drain leave progress reports queued; Cancel drops them.
    std::this_thread::sleep_for(std::chrono::milliseconds(100) / FastWaits::kSpeedUp * 10);
    downloader.Cancel();
    const std::size_t reportsAtCancel = reports.size();
    DrainFor(200ms);
    EXPECT_EQ(reports.size(), reportsAtCancel) << "no report after Cancel";
    // Destruction joins every thread; the stalled transfer does not hold it for its time-out.
  }
  DrainFor(50ms);
  EXPECT_FALSE(reports.HasFinal());
  for (const auto& report : reports.all()) EXPECT_EQ(report.status, DownloaderStatus::DOWNLOADING);
  // The partly written file stays.
  EXPECT_TRUE(std::filesystem::exists(Target("package.bin")));
}

TEST_F(DownloaderTest, ASecondDownloadWaitsForTheFirstToEnd) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:slow=300,method=GET"));
  nbt::PiceDownloader downloader(FastSettings());
  Reports first;
  Reports second;
  ASSERT_EQ(downloader.Download(InfoFor("package.bin"), first.Callback()), 0);
  ASSERT_EQ(downloader.Download(InfoFor("small.bin"), second.Callback()), 0);
  // The second call returned only after the first download's threads had ended: its file is
  // complete and its final report is already waiting in the queue.
  EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
  DeferredTaskQueue::Instance().RunPending();
  ASSERT_TRUE(first.HasFinal());
  EXPECT_EQ(first.Finals().front().status, DownloaderStatus::FINISHED);
  ASSERT_TRUE(DrainUntil([&] { return second.HasFinal(); }));
  EXPECT_EQ(second.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_EQ(first.Finals().size(), 1u);
  EXPECT_EQ(second.Finals().size(), 1u);
  EXPECT_EQ(test::ReadFile(Target("small.bin")), Content("small.bin"));
}

TEST_F(DownloaderTest, OneDownloaderServesDownloadsOneAfterTheOther) {
  nbt::PiceDownloader downloader(FastSettings());
  for (const char* name : {"small.bin", "package.bin", "two-mib.bin"}) {
    const Reports reports = DownloadToEnd(downloader, InfoFor(name));
    ASSERT_EQ(reports.Finals().size(), 1u) << name;
    EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED) << name;
    EXPECT_EQ(test::ReadFile(Target(name)), Content(name)) << name;
  }
}

TEST_F(DownloaderTest, ReportsStillQueuedWhenTheDownloaderGoesAreDropped) {
  Reports reports;
  {
    nbt::PiceDownloader downloader(FastSettings());
    ASSERT_EQ(downloader.Download(InfoFor("small.bin"), reports.Callback()), 0);
    // The destructor waits for the download, whose reports are then queued but not drained.
  }
  EXPECT_EQ(test::ReadFile(Target("small.bin")), Content("small.bin"));
  DrainFor(50ms);
  EXPECT_EQ(reports.size(), 0u);
}

TEST_F(DownloaderTest, AnEmptyCallbackStartsNothing) {
  nbt::PiceDownloader downloader(FastSettings());
  EXPECT_EQ(downloader.Download(InfoFor("small.bin"), {}), -1);
  DrainFor(50ms);
  EXPECT_FALSE(std::filesystem::exists(Target("small.bin")));
  EXPECT_TRUE(RequestsFor("small.bin").empty());
}

TEST_F(DownloaderTest, TheBuildsAuthorityIsTrustedAndAnotherOneIsNot) {
  // The default settings trust the build's bundle, which the service's certificate comes from.
  {
    nbt::PiceDownloader downloader;
    Reports reports;
    ASSERT_EQ(downloader.Download(InfoFor("small.bin"), reports.Callback()), 0);
    ASSERT_TRUE(DrainUntil([&] { return reports.HasFinal(); }));
    EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  }
  const auto other = testca::EnsureAuthority(home_.root() / "other-ca");
  ASSERT_TRUE(other);
  nbt::PiceDownloaderSettings settings = FastSettings();
  settings.caBundle = other->certificateFile.string();
  nbt::PiceDownloader untrusting(settings);
  const Reports reports = DownloadToEnd(untrusting, InfoFor("package.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas("getFileSize Failed url:" + Url("package.bin") + " res = 60 "));
  EXPECT_TRUE(RangesAskedFor("package.bin").empty());
}

TEST_F(DownloaderTest, FollowsFiveRedirectsButNotSix) {
  ASSERT_TRUE(service_->AddFault("file:small.bin:redirect=5"));
  Reports reports = DownloadToEnd(InfoFor("small.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FINISHED);
  EXPECT_EQ(test::ReadFile(Target("small.bin")), Content("small.bin"));

  ASSERT_TRUE(service_->ClearFaults());
  ASSERT_TRUE(service_->AddFault("file:package.bin:redirect=6"));
  reports = DownloadToEnd(InfoFor("package.bin"));
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas("getFileSize Failed url:" + Url("package.bin") + " res = 47"));
}

TEST_F(DownloaderTest, ATargetThatCannotBeCreatedFailsWithTheCreateFileLine) {
  // An empty file name makes the target the folder itself.
  auto info = InfoFor("small.bin");
  info.fileName.clear();
  const Reports reports = DownloadToEnd(info);
  ASSERT_EQ(reports.Finals().size(), 1u);
  EXPECT_EQ(reports.Finals().front().status, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas("] CreateFile Failed filePath=" + DownloadFolder().string() + "/ lastErrCode = 21"));
  EXPECT_TRUE(RangesAskedFor("small.bin").empty());
}

}  // namespace
}  // namespace downloader_test
