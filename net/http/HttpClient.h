#pragma once

#include <memory>

#include "base/TaskPoster.h"
#include "net/http/HttpRequest.h"
#include "net/http/HttpResponse.h"

namespace nbt {

struct HttpWorkerState;

// Runs small HTTP requests one after another on one detached worker thread and hands each result
// to the request's callback through a task poster (the process's deferred task queue by default).
//
// Guarantees:
// - Send returns at once; requests are transferred in the order they were sent, and their
//   callbacks run in that order, each at most once, on the thread that runs the poster's tasks.
// - A request that fails with the system resolver is tried again once per backup DNS entry.
// - Destroying the client does not wait for the worker. A transfer still running finishes on
//   memory the worker shares with nobody else; its response and every queued request are then
//   discarded without their callbacks, and nothing is posted to the poster after the destructor.
class HttpClient {
 public:
  static constexpr long kConnectTimeoutSeconds = 5;
  static constexpr long kTransferTimeoutSeconds = 10;

  // A client of its own that posts its deliveries to poster, which must outlive the client.
  explicit HttpClient(TaskPoster& poster);

  // The process's client, made on the first call; it posts to the process's deferred task queue.
  static HttpClient* Instance();
  // Destroys the process's client if one was made; a later Instance call makes a new one.
  static void DestroyInstance();

  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;
  virtual ~HttpClient();

  // Starts the worker on first use and queues the request; the client owns it from here on.
  void Send(std::unique_ptr<HttpRequest> request);

  // Appends the built-in backup DNS servers to the list tried after the system resolver. Every
  // call appends them again.
  void AddDefaultDnsServers();

 private:
  static void Run(std::shared_ptr<HttpWorkerState> state);
  static void DeliverOne(const std::shared_ptr<HttpWorkerState>& state);
  static void PostDelivery(const std::shared_ptr<HttpWorkerState>& state);
  static void FailQueuedRequests(const std::shared_ptr<HttpWorkerState>& state, const char* why);
  static void DiscardPending(HttpWorkerState& state);

  std::shared_ptr<HttpWorkerState> state_;
};

}  // namespace nbt
