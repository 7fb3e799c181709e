#include "net/download/nbt_pice_downloader.h"

#include <curl/curl.h>

#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/DeferredTaskQueue.h"
#include "base/SystemUtilities.h"
#include "log/SetupLog.h"
#include "lumo/BuildSettings.h"
#include "net/download/DownloadHandle.h"
#include "net/download/DownloadJob.h"
#include "net/download/PieceLayout.h"
#include "net/download/PieceTable.h"
#include "net/download/PieceTransfer.h"
#include "platform/LastError.h"

namespace nbt {
namespace {

constexpr char kLogSource[] = "nbt_pice_downloader";

constexpr int kPieceThreads = 4;
constexpr int kPieceAttempts = 3;
constexpr int kWriteAttempts = 3;
// Pieces held in memory at once, one buffer per piece thread: a thread whose piece still waits for
// the writer claims the next one only when the writer has put a piece into the file, so a disk
// slower than the line holds the transfers back instead of piling pieces up in memory.
constexpr std::uint32_t kMaxPiecesInMemory = kPieceThreads;
constexpr std::chrono::milliseconds kRetryDelay{1000};
constexpr std::chrono::milliseconds kWriterPeriod{100};
constexpr std::chrono::milliseconds kMonitorPeriod{100};
constexpr long kHttpOk = 200;
constexpr long kHttpPartialContent = 206;

using Clock = std::chrono::steady_clock;

// Starts a thread; false when the system has none to give.
template <typename Body>
bool StartThread(std::thread& thread, Body&& body) {
  try {
    thread = std::thread(std::forward<Body>(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void JoinIfStarted(std::thread& thread) {
  if (thread.joinable()) thread.join();
}

}  // namespace

PiceDownloader::PiceDownloader() : PiceDownloader(PiceDownloaderSettings{}) {}

PiceDownloader::PiceDownloader(PiceDownloaderSettings settings)
    : poster_(settings.poster != nullptr ? *settings.poster : DeferredTaskQueue::Instance()),
      caBundle_(settings.caBundle.value_or(lumo::build::kCaBundle)),
      waits_(settings.waits ? std::move(settings.waits) : RealDownloadWaits()),
      job_(std::make_shared<DownloadJob>(loadFileInfo_t{}, DownloadStatusCallback{})) {}

PiceDownloader::~PiceDownloader() {
  JoinIfStarted(controlThread_);
  job_->detached.store(true, std::memory_order_release);
  job_.reset();
}

int PiceDownloader::Download(loadFileInfo_t info, DownloadStatusCallback callback) {
  if (!callback) return -1;
  JoinIfStarted(controlThread_);
  job_ = std::make_shared<DownloadJob>(std::move(info), std::move(callback));
  if (!StartThread(controlThread_, [this, job = job_] { Run(job); })) {
    LGC_LOG(" Download Failed url:%s cannot start its thread", job_->fileInfo.url.c_str());
    job_->End(DownloaderStatus::FAILED);
    PostFinalReport(job_);
  }
  return 0;
}

void PiceDownloader::Cancel() {
  job_->Stop(DownloaderStatus::CANCELLED);
}

bool PiceDownloader::getFileSize(const std::string& url) {
  DownloadJob& job = *job_;
  DownloadHandle handle = MakeDownloadHandle(url, caBundle_, job.status);
  if (!handle) {
    LGC_LOG(" getFileSize Failed curl_easy_init failed");
    return false;
  }
  CURL* easy = handle.get();
  curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  CURLcode res = curl_easy_perform(easy);
  if (res != CURLE_OK) {
    LGC_LOG(" getFileSize Failed url:%s res = %d ErrStr:%s", url.c_str(), static_cast<int>(res),
            curl_easy_strerror(res));
    return false;
  }
  long code = 0;
  res = curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
  if (res != CURLE_OK || (code != kHttpOk && code != kHttpPartialContent)) {
    LGC_LOG(" getFileSize Failed url:%s res=%d ErrStr:%s http code:%ld", url.c_str(), static_cast<int>(res),
            curl_easy_strerror(res), code);
    return false;
  }
  curl_off_t length = 0;
  res = curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  const auto contentLen = static_cast<double>(length);
  if (res != CURLE_OK) {
    LGC_LOG(" getFileSize Failed url:%s res = %d ErrStr:%s contentLen:%02f", url.c_str(), static_cast<int>(res),
            curl_easy_strerror(res), contentLen);
    return false;
  }
  // libcurl gives -1 when the answer names no length; the counters hold less than 2 GiB.
  if (length < 1 || static_cast<std::uint64_t>(length) > kMaxFileSize) {
    LGC_LOG(" getFileSize Failed url:%s contentLen:%02f not between 1 and %llu bytes", url.c_str(), contentLen,
            static_cast<unsigned long long>(kMaxFileSize));
    return false;
  }
  job.fileInfo.fileSize = static_cast<std::uint32_t>(length);
  // Its connection (and TLS session) serves the first piece thread.
  if (url == job.fileInfo.url) job.sizeHandle = std::move(handle);
  return true;
}

std::chrono::milliseconds PiceDownloader::WaitLength(DownloadWait wait, std::chrono::milliseconds nominal) const {
  return waits_->Length(wait, nominal);
}

void PiceDownloader::Run(const std::shared_ptr<DownloadJob>& job) {
  if (Prepare(*job)) Transfer(job);
  job->file.reset();
  job->pieces.reset();
  PostFinalReport(job);
}

bool PiceDownloader::Prepare(DownloadJob& job) {
  loadFileInfo_t& info = job.fileInfo;
  if (!info.TextsFit()) {
    LGC_LOG(" Download Failed url, folder or file name too long (url %zu bytes, folder %zu, name %zu characters)",
            info.url.size(), info.folder.size(), info.fileName.size());
    job.End(DownloaderStatus::FAILED);
    return false;
  }
  if (info.fileSize == 0 && !getFileSize(info.url)) {
    job.End(DownloaderStatus::FAILED);
    return false;
  }
  if (info.fileSize > kMaxFileSize) {
    LGC_LOG(" Download Failed url:%s fileSize:%u not below 2 GiB", info.url.c_str(), info.fileSize);
    job.End(DownloaderStatus::FAILED);
    return false;
  }
  if (!job.status.IsDownloading()) return false;

  const PieceLayout layout = LayoutFor(info.fileSize);
  info.pieceCount = layout.pieceCount;
  info.pieceSize = layout.pieceSize;
  info.lastPieceSize = layout.lastPieceSize;
  job.pieces = std::make_unique<PieceTable>(layout.pieceCount);
  return CreateTarget(job);
}

bool PiceDownloader::CreateTarget(DownloadJob& job) {
  const loadFileInfo_t& info = job.fileInfo;
  CreateDirectoryTree(info.folder);
  job.filePath = info.folder + info.fileName;
  job.file = platform::File::Open(job.filePath, platform::FileOpen::OpenAlways);
  if (!job.file) {
    LGC_LOGW(L" CreateFile Failed filePath=%ls lastErrCode = %ld", job.filePath.c_str(),
             static_cast<long>(platform::LastErrorCode()));
    job.End(DownloaderStatus::FAILED);
    return false;
  }
  // Reserving the space makes the file read as zeros up to its size and fails early on a full
  // disk, without writing the zeros. A longer file left from before is cut to the size.
  if (!job.file->Reserve(info.fileSize) || !job.file->Truncate(info.fileSize)) {
    LGC_LOGW(L" Reserve Failed filePath=%ls size=%u lastErrCode = %ld", job.filePath.c_str(), info.fileSize,
             static_cast<long>(platform::LastErrorCode()));
    job.End(DownloaderStatus::FAILED);
    return false;
  }
  return true;
}

void PiceDownloader::Transfer(const std::shared_ptr<DownloadJob>& job) {
  job->downloaded.store(0);
  job->totalWritten.store(0);
  std::thread writer;
  std::thread monitor;
  std::thread pieceThreads[kPieceThreads];
  bool started = StartThread(writer, [this, &job] { WriterLoop(*job); }) &&
                 StartThread(monitor, [this, &job] { MonitorLoop(job); });
  for (auto& thread : pieceThreads) {
    started = started && StartThread(thread, [this, &job, handle = std::move(job->sizeHandle)]() mutable {
                PieceWorker(*job, std::move(handle));
              });
  }
  if (!started) {
    LGC_LOG(" Download Failed url:%s cannot start its threads", job->fileInfo.url.c_str());
    job->End(DownloaderStatus::FAILED);
  }
  for (auto& thread : pieceThreads) JoinIfStarted(thread);
  JoinIfStarted(writer);
  JoinIfStarted(monitor);
}

void PiceDownloader::PieceWorker(DownloadJob& job, DownloadHandle handle) {
  if (handle) {
    curl_easy_setopt(handle.get(), CURLOPT_HTTPGET, 1L);
  } else {
    handle = MakeDownloadHandle(job.fileInfo.url, caBundle_, job.status);
  }
  if (!handle) {
    LGC_LOG(" PieceWorker Failed curl_easy_init failed");
    job.End(DownloaderStatus::FAILED);
    return;
  }
  PieceTransfer transfer(std::move(handle), job.status);
  while (WaitForRoom(job)) {
    PieceSlot* slot = job.pieces->ClaimPiece();
    if (slot == nullptr) return;
    if (!FetchPiece(job, transfer, *slot)) return;
  }
}

// True when a piece may be claimed; false when the download has ended meanwhile.
bool PiceDownloader::WaitForRoom(DownloadJob& job) {
  while (job.status.IsDownloading()) {
    const auto deadline = Clock::now() + WaitLength(DownloadWait::Writer, kWriterPeriod);
    if (job.pieces->WaitForRoom(kMaxPiecesInMemory, deadline)) return job.status.IsDownloading();
  }
  return false;
}

// True when the piece has been received; false when the thread is to end, the piece given back.
bool PiceDownloader::FetchPiece(DownloadJob& job, PieceTransfer& transfer, PieceSlot& slot) {
  PieceTable& pieces = *job.pieces;
  for (int attempt = 1; attempt <= kPieceAttempts && job.status.IsDownloading(); ++attempt) {
    const PieceAttempt result = transfer.Fetch(slot, job.fileInfo.fileSize);
    switch (result.outcome) {
      case PieceAttempt::Received:
        pieces.MarkReceived(slot);
        job.writerWake.Notify();
        return true;
      case PieceAttempt::Ended:
        pieces.ReleasePiece(slot);
        return false;
      case PieceAttempt::BadStatus:
        pieces.ReleasePiece(slot);
        job.End(DownloaderStatus::FAILED);
        return false;
      case PieceAttempt::WrongRange:
        LGC_LOG(" PieceWorker Failed url:%s range:%s http code:%ld the answer holds other bytes",
                job.fileInfo.url.c_str(), RangeText(slot.index).c_str(), result.responseCode);
        pieces.ReleasePiece(slot);
        job.End(DownloaderStatus::FAILED);
        return false;
      case PieceAttempt::TransferFailed:
      case PieceAttempt::ShortAnswer:
        if (attempt < kPieceAttempts) job.status.SleepWhileDownloading(WaitLength(DownloadWait::Retry, kRetryDelay));
        break;
    }
  }
  pieces.ReleasePiece(slot);
  job.End(DownloaderStatus::FAILED);
  return false;
}

void PiceDownloader::WriterLoop(DownloadJob& job) {
  PieceTable& pieces = *job.pieces;
  const std::uint32_t fileSize = job.fileInfo.fileSize;
  std::vector<int> failedWrites(pieces.Count(), 0);
  while (job.status.IsDownloading()) {
    std::int64_t sum = 0;
    std::uint32_t done = 0;
    bool writeFailed = false;
    for (std::uint32_t index = 0; index < pieces.Count(); ++index) {
      if (!job.status.IsDownloading()) return;
      PieceSlot& slot = pieces[index];
      PieceState state = slot.state.load(std::memory_order_acquire);
      if (state == PIECE_RECEIVED) {
        const int error = WritePiece(job, slot);
        if (error == 0) {
          pieces.MarkWritten(slot);
          state = PIECE_WRITTEN;
        } else if (++failedWrites[index] >= kWriteAttempts) {
          LGC_LOGW(L" WritePiece Failed filePath=%ls index=%u lastErrCode = %ld", job.filePath.c_str(), index,
                   static_cast<long>(error));
          job.End(DownloaderStatus::FAILED);
          return;
        } else {
          writeFailed = true;
        }
      }
      if (state == PIECE_WRITTEN) {
        sum += slot.received;
        ++done;
      }
    }
    const bool allWritten = done == pieces.Count();
    // Every piece in the file with another byte count than the size can never finish.
    if (allWritten && (sum != fileSize || job.totalWritten.load() != fileSize)) {
      LGC_LOGW(L" WriterLoop Failed filePath=%ls pieces hold %lld bytes, %u written, fileSize:%u", job.filePath.c_str(),
               static_cast<long long>(sum), job.totalWritten.load(), fileSize);
      job.End(DownloaderStatus::FAILED);
      return;
    }
    job.downloaded.store(sum, std::memory_order_release);
    if (allWritten) {
      job.monitorWake.Notify();
      return;
    }
    const auto period = WaitLength(DownloadWait::Writer, kWriterPeriod);
    // After a failed write the next try waits a whole period; otherwise a received piece wakes the
    // writer at once.
    if (writeFailed) {
      job.status.SleepWhileDownloading(period);
    } else {
      job.writerWake.WaitUntil(Clock::now() + period);
    }
  }
}

// 0 when the piece is in the file; otherwise the system's error code, the file flushed.
int PiceDownloader::WritePiece(DownloadJob& job, PieceSlot& slot) {
  const std::uint32_t fileSize = job.fileInfo.fileSize;
  const std::uint32_t written = job.totalWritten.load();
  std::uint32_t length = slot.received;
  if (length > fileSize - written) length = fileSize - written;
  const std::string_view bytes(reinterpret_cast<const char*>(slot.buffer.get()), length);
  if (!job.file->WriteAt(PieceOffset(slot.index), bytes)) {
    const int error = platform::LastErrorCode();
    job.file->Sync();
    return error != 0 ? error : -1;
  }
  job.totalWritten.fetch_add(length);
  return 0;
}

void PiceDownloader::MonitorLoop(const std::shared_ptr<DownloadJob>& job) {
  const std::int64_t fileSize = job->fileInfo.fileSize;
  auto nextReport = Clock::now();
  while (job->status.IsDownloading()) {
    if (fileSize == 0) return;
    if (job->downloaded.load(std::memory_order_acquire) == fileSize) {
      job->End(DownloaderStatus::FINISHED);
      return;
    }
    const auto now = Clock::now();
    if (now >= nextReport) {
      if (job->callback && job->status.IsDownloading()) PostProgress(job);
      nextReport = now + WaitLength(DownloadWait::Monitor, kMonitorPeriod);
    }
    // The writer wakes the monitor early when the last piece is in the file.
    job->monitorWake.WaitUntil(nextReport);
  }
}

void PiceDownloader::PostProgress(const std::shared_ptr<DownloadJob>& job) {
  poster_.Post([job] {
    if (!job->ReportsWanted()) return;
    job->callback(DownloaderStatus::DOWNLOADING, job->downloaded.load(std::memory_order_acquire),
                  job->fileInfo.fileSize, &job->fileInfo);
  });
}

void PiceDownloader::PostFinalReport(const std::shared_ptr<DownloadJob>& job) {
  const DownloaderStatus status = job->status.Load();
  if (status != DownloaderStatus::FINISHED && status != DownloaderStatus::FAILED) return;
  poster_.Post(
      [job, status, downloaded = job->downloaded.load(), info = job->fileInfo]() mutable {
        if (!job->ReportsWanted()) return;
        job->callback(status, downloaded, info.fileSize, &info);
      });
}

}  // namespace nbt
