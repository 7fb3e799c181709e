#include "net/http/HttpClient.h"

#include <openssl/crypto.h>

#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "base/DeferredTaskQueue.h"
#include "lumo/BuildSettings.h"
#include "net/curl/CurlGlobal.h"
#include "net/http/HttpPerform.h"
#include "net/http/HttpWorkerState.h"

namespace nbt {
namespace {

constexpr std::size_t kServerListCapacity = 512;

constexpr bool EveryEntryFits(std::string_view list) {
  std::size_t entry = 0;
  for (const char c : list) {
    entry = c == ',' ? 0 : entry + 1;
    if (entry >= HttpRequest::kDnsServersCapacity) return false;
  }
  return true;
}

static_assert(sizeof(lumo::build::kBackupDnsServers) <= kServerListCapacity, "backup DNS list too long");
static_assert(EveryEntryFits(lumo::build::kBackupDnsServers), "a backup DNS entry does not fit a request");

// The parts of a list split at ","; empty parts are skipped.
std::vector<std::string> SplitServerList(std::string_view list) {
  std::vector<std::string> parts;
  while (!list.empty()) {
    const auto comma = list.find(',');
    const auto part = list.substr(0, comma);
    if (!part.empty()) parts.emplace_back(part);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return parts;
}

std::mutex instanceLock;
HttpClient* instance = nullptr;  // guarded by instanceLock

std::vector<std::string> CopyBackupDnsServers(HttpWorkerState& state) {
  std::lock_guard guard(state.dnsLock);
  return state.backupDnsServers;
}

HttpDelivery PerformOne(HttpWorkerState& state, std::unique_ptr<HttpRequest> request) {
  HttpDelivery delivery{std::move(request), {}};
  delivery.response.request = delivery.request.get();
  const AttemptSettings settings{state.connectTimeoutSeconds, state.transferTimeoutSeconds, state.errorBuffer,
                                 lumo::build::kCaBundle};
  Perform(settings, CopyBackupDnsServers(state), *delivery.request, delivery.response);
  // Frees this thread's TLS library state now, before the response is handed over: the detached
  // worker's thread may end while the process exits, and its exit must not touch the TLS library.
  OPENSSL_thread_stop();
  return delivery;
}

}  // namespace

HttpClient* HttpClient::Instance() {
  std::lock_guard guard(instanceLock);
  if (instance == nullptr) instance = new HttpClient(DeferredTaskQueue::Instance());
  return instance;
}

void HttpClient::DestroyInstance() {
  HttpClient* existing = nullptr;
  {
    std::lock_guard guard(instanceLock);
    existing = instance;
  }
  // The destructor forgets the instance itself, under the same lock.
  delete existing;
}

HttpClient::HttpClient(TaskPoster& poster)
    : state_(std::make_shared<HttpWorkerState>(poster, kConnectTimeoutSeconds, kTransferTimeoutSeconds)) {
  EnsureCurlGlobalInit();
}

HttpClient::~HttpClient() {
  {
    std::lock_guard guard(state_->requestLock);
    state_->stop = true;
  }
  state_->wakeUp.notify_all();
  {
    std::lock_guard guard(state_->posterLock);
    state_->poster = nullptr;
  }
  {
    std::lock_guard guard(instanceLock);
    if (instance == this) instance = nullptr;
  }
  std::lock_guard guard(state_->dnsLock);
  state_->backupDnsServers.clear();
}

void HttpClient::Send(std::unique_ptr<HttpRequest> request) {
  bool running = true;
  {
    std::lock_guard guard(state_->requestLock);
    if (!state_->workerStarted) {
      try {
        std::thread(&HttpClient::Run, state_).detach();
        state_->workerStarted = true;
      } catch (const std::system_error&) {
        running = false;
      }
    }
    if (request) state_->requests.push_back(std::move(request));
  }
  if (!running) {
    FailQueuedRequests(state_, "the HTTP worker thread could not be started");
    return;
  }
  state_->wakeUp.notify_one();
}

void HttpClient::AddDefaultDnsServers() {
  const auto servers = SplitServerList(lumo::build::kBackupDnsServers);
  std::lock_guard guard(state_->dnsLock);
  state_->backupDnsServers.insert(state_->backupDnsServers.end(), servers.begin(), servers.end());
}

void HttpClient::Run(std::shared_ptr<HttpWorkerState> state) {
  for (;;) {
    std::unique_ptr<HttpRequest> request;
    {
      std::unique_lock lock(state->requestLock);
      state->wakeUp.wait(lock, [&] { return state->stop || !state->requests.empty(); });
      if (state->stop) break;
      request = std::move(state->requests.front());
      state->requests.pop_front();
    }
    HttpDelivery delivery = PerformOne(*state, std::move(request));
    {
      std::lock_guard guard(state->responseLock);
      state->responses.push_back(std::move(delivery));
    }
    if (!state->stop) PostDelivery(state);
  }
  DiscardPending(*state);
}

void HttpClient::PostDelivery(const std::shared_ptr<HttpWorkerState>& state) {
  std::lock_guard guard(state->posterLock);
  if (state->poster != nullptr) state->poster->Post([state] { DeliverOne(state); });
}

void HttpClient::DeliverOne(const std::shared_ptr<HttpWorkerState>& state) {
  // Once the client is gone its responses are discarded, not delivered.
  if (state->stop) return;
  HttpDelivery delivery;
  {
    std::lock_guard guard(state->responseLock);
    if (state->responses.empty()) return;
    delivery = std::move(state->responses.front());
    state->responses.pop_front();
  }
  if (delivery.request->callback) delivery.request->callback(&delivery.response);
}

void HttpClient::FailQueuedRequests(const std::shared_ptr<HttpWorkerState>& state, const char* why) {
  std::deque<std::unique_ptr<HttpRequest>> failed;
  {
    std::lock_guard guard(state->requestLock);
    failed.swap(state->requests);
  }
  for (auto& request : failed) {
    HttpDelivery delivery{std::move(request), {}};
    delivery.response.request = delivery.request.get();
    delivery.response.errorText = why;
    {
      std::lock_guard guard(state->responseLock);
      state->responses.push_back(std::move(delivery));
    }
    PostDelivery(state);
  }
}

void HttpClient::DiscardPending(HttpWorkerState& state) {
  // Taken out under the locks, destroyed outside them: a request's callback may own objects whose
  // destruction calls back into the client.
  std::deque<std::unique_ptr<HttpRequest>> requests;
  std::deque<HttpDelivery> responses;
  {
    std::lock_guard guard(state.requestLock);
    requests.swap(state.requests);
  }
  {
    std::lock_guard guard(state.responseLock);
    responses.swap(state.responses);
  }
}

}  // namespace nbt
