// pice_get: downloads one URL to one file with the installer's piece downloader and prints what
// it took. Used by the download benchmark; exit status 0 only when the download finished.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "base/DeferredTaskQueue.h"
#include "log/SetupLog.h"
#include "net/download/nbt_pice_downloader.h"
#include "platform/Process.h"
#include "platform/Text.h"

namespace {

// How often the main thread drains the task queue; short, so that the end is seen at once.
constexpr std::chrono::milliseconds kDrainInterval{1};

struct Arguments {
  std::optional<std::string> caBundle;
  std::string url;
  std::filesystem::path outFile;
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
  Arguments arguments;
  int position = 1;
  if (position + 1 < argc && std::strcmp(argv[position], "--cacert") == 0) {
    arguments.caBundle = argv[position + 1];
    position += 2;
  }
  if (argc - position != 2) return std::nullopt;
  arguments.url = argv[position];
  arguments.outFile = std::filesystem::absolute(argv[position + 1]);
  if (!arguments.outFile.has_filename()) return std::nullopt;
  return arguments;
}

nbt::loadFileInfo_t FileInfoFor(const Arguments& arguments) {
  nbt::loadFileInfo_t info;
  info.url = arguments.url;
  info.folder = platform::PathFromNative(arguments.outFile.parent_path().native()) + L"/";
  info.fileName = platform::PathFromNative(arguments.outFile.filename().native());
  return info;
}

}  // namespace

int main(int argc, char** argv) {
  platform::InitProcessLocale();
  platform::IgnoreBrokenPipes();
  const auto arguments = ParseArguments(argc, argv);
  if (!arguments) {
    std::fprintf(stderr, "usage: pice_get [--cacert FILE] URL OUTFILE\n");
    return 2;
  }

  nbt::PiceDownloaderSettings settings;
  settings.caBundle = arguments->caBundle;
  nbt::PiceDownloader downloader(settings);

  std::optional<nbt::DownloaderStatus> finalStatus;
  std::int64_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  downloader.Download(FileInfoFor(*arguments),
                      [&](nbt::DownloaderStatus status, std::int64_t downloaded, std::int64_t, nbt::loadFileInfo_t*) {
                        bytes = downloaded;
                        if (status != nbt::DownloaderStatus::DOWNLOADING) finalStatus = status;
                      });
  while (!finalStatus) {
    DeferredTaskQueue::Instance().RunPending();
    if (!finalStatus) std::this_thread::sleep_for(kDrainInterval);
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

  std::printf("bytes=%lld seconds=%.3f status=%s\n", static_cast<long long>(bytes), seconds.count(),
              nbt::DownloaderStatusName(*finalStatus));
  CloseLog();
  return *finalStatus == nbt::DownloaderStatus::FINISHED ? 0 : 1;
}
