#pragma once

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/TaskPoster.h"
#include "net/http/HttpRequest.h"
#include "net/http/HttpResponse.h"

namespace nbt {

// A finished request waiting for its callback. The response goes first, then its request.
struct HttpDelivery {
  std::unique_ptr<HttpRequest> request;
  HttpResponse response;
};

// Everything the worker thread touches. The client and the worker share it, so it lives until both
// are done with it: destroying the client while a transfer runs leaves the worker safe memory.
struct HttpWorkerState {
  HttpWorkerState(TaskPoster& taskPoster, long connectTimeout, long transferTimeout)
      : connectTimeoutSeconds(connectTimeout), transferTimeoutSeconds(transferTimeout), poster(&taskPoster) {}

  const long connectTimeoutSeconds;
  const long transferTimeoutSeconds;

  std::mutex requestLock;
  std::condition_variable wakeUp;                     // paired with requestLock
  std::deque<std::unique_ptr<HttpRequest>> requests;  // guarded by requestLock
  bool workerStarted = false;                         // guarded by requestLock
  // Set under requestLock so that a waiting worker cannot miss it; read anywhere.
  std::atomic<bool> stop{false};

  std::mutex responseLock;
  std::deque<HttpDelivery> responses;  // guarded by responseLock

  // Where deliveries are posted; cleared by the client's destructor, so that a worker still running
  // never posts to a poster that may be gone.
  std::mutex posterLock;
  TaskPoster* poster;  // guarded by posterLock

  std::mutex dnsLock;
  std::vector<std::string> backupDnsServers;  // guarded by dnsLock

  // Written only by the worker, one transfer at a time.
  char errorBuffer[CURL_ERROR_SIZE] = {};
};

}  // namespace nbt
