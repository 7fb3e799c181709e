#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "net/download/DownloaderStatus.h"

namespace nbt {

// The status of one download, read by every thread without a lock. A download ends once: the
// first of FINISHED and FAILED wins over DOWNLOADING, and a stop request wins over everything.
class StatusCell {
 public:
  DownloaderStatus Load() const { return status_.load(std::memory_order_acquire); }
  bool IsDownloading() const { return Load() == DownloaderStatus::DOWNLOADING; }
  bool IsStopRequested() const;

  // Moves DOWNLOADING to status (FINISHED or FAILED); false when the download had already ended.
  bool End(DownloaderStatus status);
  // STOPPED or CANCELLED, whatever the status was.
  void Stop(DownloaderStatus status);

  // Sleeps for duration or until the download ends; true when it is still downloading.
  bool SleepWhileDownloading(std::chrono::milliseconds duration);

 private:
  void WakeSleepers();

  std::atomic<DownloaderStatus> status_{DownloaderStatus::DOWNLOADING};
  std::mutex sleepLock_;
  std::condition_variable sleepers_;
};

}  // namespace nbt
