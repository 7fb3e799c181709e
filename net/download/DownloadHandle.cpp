#include "net/download/DownloadHandle.h"

#include "net/curl/CurlGlobal.h"
#include "net/download/StatusCell.h"

namespace nbt {
namespace {

constexpr long kConnectTimeoutSeconds = 30;
constexpr long kTransferTimeoutSeconds = 30;
constexpr long kMaxRedirects = 5;
constexpr char kProtocols[] = "http,https";
// libcurl's usual receive buffer. Larger ones cost memory in every transfer and gained nothing
// measurable on loopback, where the disk and the copies dominate.
constexpr long kReceiveBufferBytes = 16 * 1024;

int AbortWhenStopped(void* status, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const StatusCell*>(status)->IsDownloading() ? 0 : 1;
}

}  // namespace

DownloadHandle MakeDownloadHandle(const std::string& url, const std::string& caBundle, const StatusCell& status) {
  EnsureCurlGlobalInit();
  DownloadHandle handle(curl_easy_init());
  if (!handle) return handle;
  CURL* easy = handle.get();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_TIMEOUT, kTransferTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!caBundle.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, caBundle.c_str());
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, AbortWhenStopped);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, const_cast<StatusCell*>(&status));
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  return handle;
}

}  // namespace nbt
