// Answers and conditions that a careless downloader turns into a download that never ends or a
// file with the wrong bytes; each must end FAILED with one final report, or be retried.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "net/download/nbt_pice_downloader.h"
#include "tests/net/download/DownloaderFixture.h"
#include "tests/support/TempHome.h"

namespace downloader_test {
namespace {

using namespace std::chrono_literals;
using nbt::DownloaderStatus;
using nbt::DownloadWait;

using DownloaderFaultsTest = DownloaderServiceTest;

// Checks that a download ended with exactly one final report of the given status.
void ExpectOneFinal(const Reports& reports, DownloaderStatus status) {
  const auto finals = reports.Finals();
  ASSERT_EQ(finals.size(), 1u);
  EXPECT_EQ(finals.front().status, status);
  EXPECT_EQ(reports.all().back().status, status) << "the final report comes last";
}

TEST_F(DownloaderFaultsTest, AnUnusableSizeFromTheHeadRequestFailsWithALogLine) {
  struct Case {
    const char* file;
    const char* fault;  // none when empty
    const char* contentLen;
  };
  const Case cases[] = {
      {"empty.bin", "", "0.000000"},
      {"package.bin", "file:package.bin:head-no-length", "-1.000000"},
      {"package.bin", "file:package.bin:head-length=2147483648", "2147483648.000000"},
      // Cut to 32 bits these would become 0 and 1 bytes.
      {"package.bin", "file:package.bin:head-length=4294967296", "4294967296.000000"},
      {"package.bin", "file:package.bin:head-length=4294967297", "4294967297.000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(service_->ClearFaults());
    if (*c.fault) {
      ASSERT_TRUE(service_->AddFault(c.fault));
    }
    const Reports reports = DownloadToEnd(InfoFor(c.file));
    ExpectOneFinal(reports, DownloaderStatus::FAILED);
    EXPECT_TRUE(LogHas("] getFileSize Failed url:" + Url(c.file) + " contentLen:" + c.contentLen +
                       " not between 1 and 2147483647 bytes"));
    EXPECT_TRUE(RangesAskedFor(c.file).empty());
    EXPECT_FALSE(std::filesystem::exists(Target(c.file)));
  }
}

TEST_F(DownloaderFaultsTest, AGivenSizeOfTwoGibibytesOrMoreFails) {
  auto info = InfoFor("package.bin");
  info.fileSize = 0x80000000u;
  const Reports reports = DownloadToEnd(info);
  ExpectOneFinal(reports, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas("] Download Failed url:" + Url("package.bin") + " fileSize:2147483648 not below 2 GiB"));
  EXPECT_TRUE(RequestsFor("package.bin").empty());
}

TEST_F(DownloaderFaultsTest, AServerThatIgnoresRangesFailsAFileOfSeveralPieces) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:ignore-range"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ExpectOneFinal(reports, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas(" http code:200 the answer holds other bytes"));
  EXPECT_NE(test::ReadFile(Target("package.bin")), Content("package.bin"));
  EXPECT_EQ(waits_->Count(DownloadWait::Retry), 0) << "not worth another attempt";
}

TEST_F(DownloaderFaultsTest, AWholeFileAnswerIsRightForAFileOfOnePiece) {
  ASSERT_TRUE(service_->AddFault("file:small.bin:ignore-range"));
  const Reports reports = DownloadToEnd(InfoFor("small.bin"));
  ExpectOneFinal(reports, DownloaderStatus::FINISHED);
  EXPECT_EQ(test::ReadFile(Target("small.bin")), Content("small.bin"));
}

TEST_F(DownloaderFaultsTest, AShortPieceIsRetriedLikeAFailedTransfer) {
  struct Case {
    const char* fault;
    DownloaderStatus status;
    int retryWaits;
  };
  const Case cases[] = {
      // A 206 that names only the first half of the range.
      {"file:package.bin:short-range,first=1048576,count=1", DownloaderStatus::FINISHED, 1},
      {"file:package.bin:short-range=1000,first=2097152,count=2", DownloaderStatus::FINISHED, 2},
      {"file:package.bin:short-range,first=1048576", DownloaderStatus::FAILED, 2},
      // A body that ends before its announced length.
      {"file:package.bin:cut,first=0,count=1", DownloaderStatus::FINISHED, 1},
      {"file:package.bin:cut=1000,first=2097152", DownloaderStatus::FAILED, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(service_->ClearFaults());
    ASSERT_TRUE(service_->AddFault(c.fault));
    waits_ = std::make_shared<FastWaits>();
    std::filesystem::remove(Target("package.bin"));
    const Reports reports = DownloadToEnd(InfoFor("package.bin"));
    ExpectOneFinal(reports, c.status);
    EXPECT_EQ(waits_->Count(DownloadWait::Retry), c.retryWaits);
    if (c.status == DownloaderStatus::FINISHED) {
      EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
    } else {
      EXPECT_LT(reports.Finals().front().downloaded, 2'500'000);
    }
  }
}

TEST_F(DownloaderFaultsTest, ASizeThatDisagreesWithTheServedFileFailsInsteadOfNeverEnding) {
  struct Case {
    const char* fault;        // the HEAD request's length
    std::uint32_t givenSize;  // or the caller's; 0: learnt
  };
  const Case cases[] = {
      {"file:package.bin:head-length=2000000", 0},
      {"file:package.bin:head-length=3000000", 0},
      {"", 2'400'000},
      {"", 2'600'000},
      {"", 3'200'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fault) + " " + std::to_string(c.givenSize));
    ASSERT_TRUE(service_->ClearFaults());
    if (*c.fault) {
      ASSERT_TRUE(service_->AddFault(c.fault));
    }
    auto info = InfoFor("package.bin");
    info.fileSize = c.givenSize;
    const Reports reports = DownloadToEnd(info);
    ExpectOneFinal(reports, DownloaderStatus::FAILED);
  }
}

TEST_F(DownloaderFaultsTest, AnotherStatusForAPieceFailsAtOnce) {
  ASSERT_TRUE(service_->AddFault("file:package.bin:status=500,method=GET,first=1048576"));
  const Reports reports = DownloadToEnd(InfoFor("package.bin"));
  ExpectOneFinal(reports, DownloaderStatus::FAILED);
  const auto ranges = RangesAskedFor("package.bin");
  EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=1048576-2097151"), 1);
  EXPECT_EQ(waits_->Count(DownloadWait::Retry), 0);
}

// Lowers the largest file size this process may write, as a full disk would refuse writes; the
// signal that the kernel sends for it is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(DownloaderFaultsTest, WritesThatKeepFailingEndTheDownloadAfterAFewTries) {
  // A file of the full size is already there, so that reserving its space needs no growth; every
  // write from 1 MiB on is then refused.
  test::WriteFile(Target("package.bin"), std::string(2'500'000, 'x'));
  Reports reports;
  {
    FileSizeLimit limit(kMiB);
    reports = DownloadToEnd(InfoFor("package.bin"));
  }
  ExpectOneFinal(reports, DownloaderStatus::FAILED);
  EXPECT_TRUE(LogHas("] WritePiece Failed filePath=" + Target("package.bin").string() + " index=1 lastErrCode = 27") ||
              LogHas("] WritePiece Failed filePath=" + Target("package.bin").string() + " index=2 lastErrCode = 27"));
  // Each piece was fetched once: the writer retries, not the transfers.
  EXPECT_EQ(RangesAskedFor("package.bin").size(), 3u);
  EXPECT_GE(waits_->Count(DownloadWait::Writer), 2);
}

TEST_F(DownloaderFaultsTest, ALongerFileLeftFromBeforeIsCutToTheSize) {
  test::WriteFile(Target("small.bin"), std::string(3 * kMiB, 'x'));
  const Reports reports = DownloadToEnd(InfoFor("small.bin"));
  ExpectOneFinal(reports, DownloaderStatus::FINISHED);
  EXPECT_EQ(test::ReadFile(Target("small.bin")), Content("small.bin"));
}

TEST_F(DownloaderFaultsTest, TextsLongerThanTheirFieldsFail) {
  struct Case {
    const char* what;
    std::size_t urlPadding, folderChars, nameChars;
  };
  const Case cases[] = {
      {"url of 1024 bytes", 1024, 0, 0},
      {"folder of 260 characters", 0, 260, 0},
      {"name of 512 characters", 0, 0, 512},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto info = InfoFor("small.bin");
    if (c.urlPadding) info.url += "?" + std::string(c.urlPadding - info.url.size() - 1, 'q');
    if (c.folderChars) info.folder += std::wstring(c.folderChars - info.folder.size() - 1, L'f') + L"/";
    if (c.nameChars) info.fileName = std::wstring(c.nameChars, L'n');
    const Reports reports = DownloadToEnd(info);
    ExpectOneFinal(reports, DownloaderStatus::FAILED);
    EXPECT_TRUE(LogHas("] Download Failed url, folder or file name too long"));
    EXPECT_TRUE(RequestsFor("small.bin").empty());
  }
  // One less fits.
  auto info = InfoFor("small.bin");
  info.url += "?" + std::string(1023 - info.url.size() - 1, 'q');
  ExpectOneFinal(DownloadToEnd(info), DownloaderStatus::FINISHED);
}

}  // namespace
}  // namespace downloader_test
