#pragma once

#include <functional>

namespace nbt {

struct HttpResponse;

// Called once with the finished request's response, on the thread that drains the deferred task
// queue. The response and its request are destroyed right after it returns: keep neither pointer.
using HttpCallback = std::function<void(HttpResponse* response)>;

}  // namespace nbt
