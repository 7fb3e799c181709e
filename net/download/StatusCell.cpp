#include "net/download/StatusCell.h"

namespace nbt {

bool StatusCell::IsStopRequested() const {
  const DownloaderStatus status = Load();
  return status == DownloaderStatus::STOPPED || status == DownloaderStatus::CANCELLED;
}

bool StatusCell::End(DownloaderStatus status) {
  DownloaderStatus expected = DownloaderStatus::DOWNLOADING;
  const bool ended = status_.compare_exchange_strong(expected, status, std::memory_order_acq_rel);
  if (ended) WakeSleepers();
  return ended;
}

void StatusCell::Stop(DownloaderStatus status) {
  status_.store(status, std::memory_order_release);
  WakeSleepers();
}

bool StatusCell::SleepWhileDownloading(std::chrono::milliseconds duration) {
  std::unique_lock guard(sleepLock_);
  sleepers_.wait_for(guard, duration, [this] { return !IsDownloading(); });
  return IsDownloading();
}

void StatusCell::WakeSleepers() {
  // Taking the lock orders the change before a sleeper's check, so no sleeper misses it.
  { std::lock_guard guard(sleepLock_); }
  sleepers_.notify_all();
}

}  // namespace nbt
