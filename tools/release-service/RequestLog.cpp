#include "tools/release-service/RequestLog.h"

namespace release_service {

void RequestLog::Add(std::string line) {
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}

void RequestLog::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

std::vector<std::string> RequestLog::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

}  // namespace release_service
