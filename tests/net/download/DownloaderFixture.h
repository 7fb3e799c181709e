#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/download/DownloadWaits.h"
#include "net/download/nbt_pice_downloader.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/TempHome.h"

namespace downloader_test {

inline constexpr std::uint32_t kMiB = 1u << 20;

// The downloader's waits, fifty times shorter than nominal, counted by kind.
class FastWaits final : public nbt::DownloadWaits {
 public:
  static constexpr int kSpeedUp = 50;

  std::chrono::milliseconds Length(nbt::DownloadWait wait, std::chrono::milliseconds nominal) override;

  int Count(nbt::DownloadWait wait) const;
  // The nominal lengths of every wait of this kind, added up.
  std::chrono::milliseconds NominalTotal(nbt::DownloadWait wait) const;
  // The longest and shortest nominal length asked for.
  std::chrono::milliseconds NominalMax(nbt::DownloadWait wait) const;
  std::chrono::milliseconds NominalMin(nbt::DownloadWait wait) const;

 private:
  struct Tally {
    int count = 0;
    std::chrono::milliseconds total{0};
    std::chrono::milliseconds max{0};
    std::chrono::milliseconds min{std::chrono::milliseconds::max()};
  };
  mutable std::mutex lock_;
  std::map<nbt::DownloadWait, Tally> tallies_;
};

struct Report {
  nbt::DownloaderStatus status;
  std::int64_t downloaded;
  std::int64_t total;
  nbt::loadFileInfo_t info;
  bool onDrainThread;  // the callback ran on the thread that drains the queue (the test's)
};

// Records every report of a download. The callback runs on the draining (test) thread.
class Reports {
 public:
  nbt::DownloadStatusCallback Callback();
  const std::vector<Report>& all() const { return reports_; }
  std::vector<Report> Finals() const;
  bool HasFinal() const { return !Finals().empty(); }
  std::size_t size() const { return reports_.size(); }

 private:
  std::vector<Report> reports_;
  std::thread::id drainThread_ = std::this_thread::get_id();
};

// Drains the task queue on this thread until done() holds or the limit has passed; true when
// done() holds. The limit only keeps a broken download from hanging the suite.
bool DrainUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30));
// Drains the task queue for a while.
void DrainFor(std::chrono::milliseconds duration);

// Deterministic bytes that differ at every offset of interest.
std::string PseudoRandomBytes(std::size_t size, unsigned seed);

// One release service per test, serving a release folder of test files, with a temp home for
// the setup log and the downloads.
class DownloaderServiceTest : public ::testing::Test {
 protected:
  enum class Scheme { Https, Http };

  // The files the service offers, by name.
  static const std::map<std::string, std::size_t>& FileSizes();

  void SetUp() override;
  void TearDown() override;

  std::string Url(const std::string& name, Scheme scheme = Scheme::Https) const;
  std::filesystem::path DownloadFolder() const { return home_.root() / "downloads"; }
  std::filesystem::path Target(const std::string& name) const { return DownloadFolder() / name; }
  const std::string& Content(const std::string& name) const { return contents_.at(name); }
  nbt::loadFileInfo_t InfoFor(const std::string& name, Scheme scheme = Scheme::Https) const;

  nbt::PiceDownloaderSettings FastSettings() const;
  // Runs one download with fast waits until its final report, draining on this thread.
  Reports DownloadToEnd(nbt::loadFileInfo_t info);
  Reports DownloadToEnd(nbt::PiceDownloader& downloader, nbt::loadFileInfo_t info);

  // The request log's lines for one file: "METHOD URL range=RANGE status=CODE faults=NAMES".
  std::vector<std::string> RequestsFor(const std::string& name);
  std::vector<std::string> RangesAskedFor(const std::string& name);
  int HeadRequestsFor(const std::string& name);
  // The setup log's messages so far.
  std::vector<std::string> LogMessages();
  bool LogHas(const std::string& fragment);

  test::TempHome home_;
  std::shared_ptr<FastWaits> waits_ = std::make_shared<FastWaits>();
  std::unique_ptr<test::ReleaseService> service_;

 private:
  std::map<std::string, std::string> contents_;
};

}  // namespace downloader_test
