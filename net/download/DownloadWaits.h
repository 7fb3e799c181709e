#pragma once

#include <chrono>
#include <memory>

namespace nbt {

enum class DownloadWait {
  Retry,    // between the attempts of a piece transfer
  Writer,   // the writer's longest sleep between passes
  Monitor,  // the monitor's period between progress reports
};

// How long the downloader's waits last. The real one keeps the nominal lengths; tests shorten
// them and count them, so that retries and periods need not take seconds.
class DownloadWaits {
 public:
  virtual ~DownloadWaits() = default;
  // Called once for every wait, from any of the download's threads.
  virtual std::chrono::milliseconds Length(DownloadWait wait, std::chrono::milliseconds nominal) = 0;
};

std::shared_ptr<DownloadWaits> RealDownloadWaits();

}  // namespace nbt
