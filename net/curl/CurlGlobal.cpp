#include "net/curl/CurlGlobal.h"

#include <curl/curl.h>
#include <openssl/crypto.h>

#include <mutex>

namespace nbt {

void EnsureCurlGlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] {
    // OpenSSL, libcurl's TLS library, would free its locks in an exit handler while the detached
    // HTTP worker may still be ending a transfer or its thread; the process frees them instead.
    // This must come before libcurl initialises OpenSSL.
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
    curl_global_init(CURL_GLOBAL_ALL);
  });
}

}  // namespace nbt
