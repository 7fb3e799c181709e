#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/download/DownloadHandle.h"
#include "net/download/DownloaderStatus.h"
#include "net/download/LoadFileInfo.h"
#include "net/download/PieceTable.h"
#include "net/download/StatusCell.h"
#include "net/download/Wakeup.h"
#include "platform/Files.h"

namespace nbt {

// Everything one download's threads share. Reports posted to the task queue hold the job, so it
// outlives the downloader when a report is still waiting.
struct DownloadJob {
  DownloadJob(loadFileInfo_t info, DownloadStatusCallback statusCallback)
      : fileInfo(std::move(info)), callback(std::move(statusCallback)) {}

  // Ends the download with FINISHED or FAILED unless it has ended already, and wakes every thread
  // that waits, so that each sees the change at once.
  bool End(DownloaderStatus ending) {
    if (!status.End(ending)) return false;
    WakeAll();
    return true;
  }
  void Stop(DownloaderStatus stop) {
    status.Stop(stop);
    WakeAll();
  }
  void WakeAll() {
    writerWake.Notify();
    monitorWake.Notify();
  }
  // A report runs only while its download is not stopped and its downloader still exists.
  bool ReportsWanted() const { return !detached.load(std::memory_order_acquire) && !status.IsStopRequested(); }

  loadFileInfo_t fileInfo;
  DownloadStatusCallback callback;
  StatusCell status;
  std::atomic<std::int64_t> downloaded{0};     // bytes of the written pieces
  std::atomic<std::uint32_t> totalWritten{0};  // bytes the writer has put into the file
  std::atomic<bool> detached{false};
  std::unique_ptr<PieceTable> pieces;
  std::optional<platform::File> file;
  std::wstring filePath;
  // The HEAD request's handle, still connected, for the first piece thread.
  DownloadHandle sizeHandle;
  Wakeup writerWake;   // a piece has been received
  Wakeup monitorWake;  // the last piece has been written
};

}  // namespace nbt
