#pragma once

#include <cstdint>
#include <functional>

#include "net/download/LoadFileInfo.h"

namespace nbt {

// The state of the current download; every progress report carries DOWNLOADING.
enum class DownloaderStatus : std::int32_t {
  DOWNLOADING = 0,
  STOPPED = 1,    // stop request: every thread ends, no final report
  CANCELLED = 2,  // the close button's stop request; same effect as STOPPED
  FINISHED = 3,   // every byte of the file has been written
  FAILED = 4,     // size unknown or unusable, file not creatable, a piece not transferred or not written
};

const char* DownloaderStatusName(DownloaderStatus status);

// Receives the download's reports on the thread that drains the deferred task queue.
using DownloadStatusCallback =
    std::function<void(DownloaderStatus status, std::int64_t downloaded, std::int64_t total, loadFileInfo_t* info)>;

}  // namespace nbt
