#include "net/download/DownloaderStatus.h"

namespace nbt {

const char* DownloaderStatusName(DownloaderStatus status) {
  switch (status) {
    case DownloaderStatus::DOWNLOADING:
      return "DOWNLOADING";
    case DownloaderStatus::STOPPED:
      return "STOPPED";
    case DownloaderStatus::CANCELLED:
      return "CANCELLED";
    case DownloaderStatus::FINISHED:
      return "FINISHED";
    case DownloaderStatus::FAILED:
      return "FAILED";
  }
  return "UNKNOWN";
}

}  // namespace nbt
