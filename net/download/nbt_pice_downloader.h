#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "base/TaskPoster.h"
#include "net/download/DownloadHandle.h"
#include "net/download/DownloadWaits.h"
#include "net/download/DownloaderStatus.h"
#include "net/download/LoadFileInfo.h"

namespace nbt {

struct DownloadJob;
struct PieceSlot;
class PieceTransfer;

struct PiceDownloaderSettings {
  // Certificate authorities for https. Unset: the build's bundle, or the system's when the build
  // names none.
  std::optional<std::string> caBundle;
  // Unset: the real waits (1000 ms between attempts, 100 ms periods).
  std::shared_ptr<DownloadWaits> waits;
  // Where reports are posted; it must outlive the downloader. Unset: the process's deferred task
  // queue.
  TaskPoster* poster = nullptr;
};

// Downloads one file at a time over HTTP(S) into a local folder, in 1 MiB pieces, four at a time.
//
// A download runs on its own threads: a control thread that learns the size (a HEAD request when
// the file info gives none) and creates the file at its full size, four piece threads that claim
// the lowest free piece and fetch its range, a writer that puts each received piece at its offset,
// and a monitor that declares the download finished and reports progress.
//
// Guarantees:
// - Every report runs on the thread that runs the poster's tasks, never inside Download.
// - Progress reports (DOWNLOADING) come at most once per 100 ms; a download that ends FINISHED or
//   FAILED gets exactly one final report after them.
// - After Cancel, and after the downloader is destroyed, the download's callback is not called
//   again: a stopped download gets no final report, and reports still queued are dropped.
// - The writer takes a received piece at once (its period, 100 ms, is only the longest sleep), and
//   the monitor ends the download as soon as the last piece is in the file.
// - At most four pieces are in memory, one per piece thread: when the disk falls behind the line,
//   the transfers wait for the writer.
//
// Download, Cancel and destruction are called from one thread (the drain thread in the installer).
class PiceDownloader {
 public:
  PiceDownloader();
  explicit PiceDownloader(PiceDownloaderSettings settings);
  PiceDownloader(const PiceDownloader&) = delete;
  PiceDownloader& operator=(const PiceDownloader&) = delete;
  // Waits for the current download's threads.
  ~PiceDownloader();

  // Starts downloading info's file and returns 0 at once; waits first for an earlier download's
  // threads to end. Returns -1, starting nothing, when the callback is empty.
  int Download(loadFileInfo_t info, DownloadStatusCallback callback);
  // Stops the current download: every thread ends at its next check, the transfers at once.
  void Cancel();
  // Learns the size of the file at url with a HEAD request and stores it in the current file
  // info. The control thread calls it; false, with a log line, when the size is not usable.
  bool getFileSize(const std::string& url);

 private:
  void Run(const std::shared_ptr<DownloadJob>& job);
  bool Prepare(DownloadJob& job);
  bool CreateTarget(DownloadJob& job);
  void Transfer(const std::shared_ptr<DownloadJob>& job);
  void PieceWorker(DownloadJob& job, DownloadHandle handle);
  bool WaitForRoom(DownloadJob& job);
  bool FetchPiece(DownloadJob& job, PieceTransfer& transfer, PieceSlot& slot);
  void WriterLoop(DownloadJob& job);
  int WritePiece(DownloadJob& job, PieceSlot& slot);
  void MonitorLoop(const std::shared_ptr<DownloadJob>& job);
  std::chrono::milliseconds WaitLength(DownloadWait wait, std::chrono::milliseconds nominal) const;

  void PostProgress(const std::shared_ptr<DownloadJob>& job);
  void PostFinalReport(const std::shared_ptr<DownloadJob>& job);

  TaskPoster& poster_;
  std::string caBundle_;
  std::shared_ptr<DownloadWaits> waits_;
  std::shared_ptr<DownloadJob> job_;
  std::thread controlThread_;
};

}  // namespace nbt
