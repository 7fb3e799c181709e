#include "tests/net/download/DownloaderFixture.h"

#include <algorithm>
#include <random>

#include "base/DeferredTaskQueue.h"
#include "log/SetupLog.h"
#include "platform/Text.h"
#include "tests/support/LogFiles.h"

namespace downloader_test {

using namespace std::chrono_literals;

std::chrono::milliseconds FastWaits::Length(nbt::DownloadWait wait, std::chrono::milliseconds nominal) {
  {
    std::lock_guard guard(lock_);
    Tally& tally = tallies_[wait];
    ++tally.count;
    tally.total += nominal;
    tally.max = std::max(tally.max, nominal);
    tally.min = std::min(tally.min, nominal);
  }
  return std::max<std::chrono::milliseconds>(1ms, nominal / kSpeedUp);
}

int FastWaits::Count(nbt::DownloadWait wait) const {
  std::lock_guard guard(lock_);
  const auto found = tallies_.find(wait);
  return found == tallies_.end() ? 0 : found->second.count;
}

std::chrono::milliseconds FastWaits::NominalTotal(nbt::DownloadWait wait) const {
  std::lock_guard guard(lock_);
  const auto found = tallies_.find(wait);
  return found == tallies_.end() ? 0ms : found->second.total;
}

std::chrono::milliseconds FastWaits::NominalMax(nbt::DownloadWait wait) const {
  std::lock_guard guard(lock_);
  const auto found = tallies_.find(wait);
  return found == tallies_.end() ? 0ms : found->second.max;
}

std::chrono::milliseconds FastWaits::NominalMin(nbt::DownloadWait wait) const {
  std::lock_guard guard(lock_);
  const auto found = tallies_.find(wait);
  return found == tallies_.end() ? 0ms : found->second.min;
}

nbt::DownloadStatusCallback Reports::Callback() {
  return [this](nbt::DownloaderStatus status, std::int64_t downloaded, std::int64_t total, nbt::loadFileInfo_t* info) {
    reports_.push_back(
        {status, downloaded, total, info ? *info : nbt::loadFileInfo_t{}, std::this_thread::get_id() == drainThread_});
  };
}

std::vector<Report> Reports::Finals() const {
  std::vector<Report> finals;
  for (const auto& report : reports_) {
    if (report.status != nbt::DownloaderStatus::DOWNLOADING) finals.push_back(report);
  }
  return finals;
}

bool DrainUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (true) {
    DeferredTaskQueue::Instance().RunPending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
}

void DrainFor(std::chrono::milliseconds duration) {
  DrainUntil([] { return false; }, duration);
}

std::string PseudoRandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(generator() & 0xff);
  return bytes;
}

const std::map<std::string, std::size_t>& DownloaderServiceTest::FileSizes() {
  static const std::map<std::string, std::size_t> sizes = {
      {"package.bin", 2'500'000},  // three pieces, the last one short
      {"two-mib.bin", 2'097'152},  // two whole pieces
      {"small.bin", 700'000},      // one short piece
      {"empty.bin", 0},
  };
  return sizes;
}

void DownloaderServiceTest::SetUp() {
  const std::filesystem::path release = home_.root() / "release";
  unsigned seed = 1;
  for (const auto& [name, size] : FileSizes()) {
    contents_[name] = PseudoRandomBytes(size, seed++);
    test::WriteFile(release / name, contents_[name]);
  }
  test::WriteFile(release / "latest.yml", "version: 1.0.0\nfiles:\n  - url: package.bin\n    size: 2500000\n");
  service_ = std::make_unique<test::ReleaseService>(std::vector<std::string>{"--release", release.string()});
  ASSERT_TRUE(service_->ready()) << "the release service did not start";
}

void DownloaderServiceTest::TearDown() {
  CloseLog();
}

std::string DownloaderServiceTest::Url(const std::string& name, Scheme scheme) const {
  return service_->Value(scheme == Scheme::Https ? "release-base" : "release-base-http") + name;
}

nbt::loadFileInfo_t DownloaderServiceTest::InfoFor(const std::string& name, Scheme scheme) const {
  nbt::loadFileInfo_t info;
  info.url = Url(name, scheme);
  info.folder = platform::PathFromNative(DownloadFolder().string()) + L"/";
  info.fileName = platform::PathFromNative(name);
  return info;
}

nbt::PiceDownloaderSettings DownloaderServiceTest::FastSettings() const {
  nbt::PiceDownloaderSettings settings;
  settings.waits = waits_;
  return settings;
}

Reports DownloaderServiceTest::DownloadToEnd(nbt::loadFileInfo_t info) {
  nbt::PiceDownloader downloader(FastSettings());
  return DownloadToEnd(downloader, std::move(info));
}

Reports DownloaderServiceTest::DownloadToEnd(nbt::PiceDownloader& downloader, nbt::loadFileInfo_t info) {
  Reports reports;
  EXPECT_EQ(downloader.Download(std::move(info), reports.Callback()), 0);
  EXPECT_TRUE(DrainUntil([&] { return reports.HasFinal(); })) << "no final report";
  return reports;
}

std::vector<std::string> DownloaderServiceTest::RequestsFor(const std::string& name) {
  std::vector<std::string> lines;
  for (const auto& line : service_->Requests()) {
    if (line.find("/release/" + name + " ") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> DownloaderServiceTest::RangesAskedFor(const std::string& name) {
  std::vector<std::string> ranges;
  for (const auto& line : RequestsFor(name)) {
    if (!line.starts_with("GET ")) continue;
    const auto start = line.find(" range=") + 7;
    ranges.push_back(line.substr(start, line.find(' ', start) - start));
  }
  std::sort(ranges.begin(), ranges.end());
  return ranges;
}

int DownloaderServiceTest::HeadRequestsFor(const std::string& name) {
  const auto lines = RequestsFor(name);
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.starts_with("HEAD "); }));
}

std::vector<std::string> DownloaderServiceTest::LogMessages() {
  CloseLog();
  return test::LogMessages(test::TodaysLog(home_.config()));
}

bool DownloaderServiceTest::LogHas(const std::string& fragment) {
  const auto messages = LogMessages();
  return std::any_of(messages.begin(), messages.end(),
                     [&](const auto& m) { return m.find(fragment) != std::string::npos; });
}

}  // namespace downloader_test
